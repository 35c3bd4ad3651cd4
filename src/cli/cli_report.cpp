#include <cstdio>

#include "app/report_command.h"
#include "cli/cli_commands.h"
#include "cli/editor_start.h"
#include "cli/interrupt_as_esc.h"
#include "cli/pdf_output.h"
#include "cli/workstation.h"
#include "editor/editor_binding.h"
#include "report/configuration_page.h"

namespace zrm {

namespace {

void PrintPage(const ConfigurationPage& page, std::FILE* out) {
  std::fprintf(out, "%s\n%s\n", page.date_line.c_str(), page.device_line.c_str());
  for (const std::string& line : page.body) std::fprintf(out, "%s\n", line.c_str());
  std::fflush(out);
}

}  // namespace

int RunReport(const CliOptions& options, CliOperator& op, std::FILE* out) {
  TreatInterruptAsEsc();
  Workstation station(options.dir, op);
  StartedWindow window;
  if (ExchangeResult r = StartWindow(station, options.device, window, op))
    return static_cast<int>(r);
  DeviceSettings& s = window.settings;
  EditorForm& form = window.form;
  const int port_number = window.port_number;

  // The page "Конфигурация" chosen, then "Сформировать страницу".
  PageChange(form, s, op, port_number);
  if (ExchangeResult r = ReportReadCommand(station.InstrumentLink(), s, op))
    return static_cast<int>(r);
  SettingsToEditor(s, form, port_number);
  const ConfigurationPage page = BuildConfigurationPage(s, LocalDateToday());
  PrintPage(page, out);
  if (options.pdf.empty()) return 0;
  std::string error;
  if (WritePagePdf(page, options.pdf, error)) return 0;
  op.Tell(error);
  return static_cast<int>(result::kFile);
}

}  // namespace zrm
