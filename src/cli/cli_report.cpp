#include <cstdio>

#include "app/session.h"
#include "cli/cli_commands.h"
#include "cli/interrupt_as_esc.h"
#include "editor/editor_binding.h"
#include "report/configuration_page.h"
#include "report_render/report_pdf.h"

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
  Session session(options.dir);
  session.StartWithoutWindow(op, options.device);

  // The page "Конфигурация" chosen, then "Сформировать страницу".
  PageChange(session.form, session.settings, op, session.PortNumber());
  ConfigurationPage page;
  if (ExchangeResult r = session.Report(session.form, session.settings, op, page))
    return static_cast<int>(r);
  PrintPage(page, out);
  if (options.pdf.empty()) return 0;
  std::string error;
  if (RenderConfigurationPagePdf(page, options.pdf, error)) return 0;
  op.Tell(error);
  return static_cast<int>(result::kFile);
}

}  // namespace zrm
