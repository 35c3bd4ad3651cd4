#include <cerrno>
#include <cstdio>

#include "app/session.h"
#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/command_session.h"
#include "cli/interrupt_as_esc.h"
#include "cli/unfinished_write_notice.h"
#include "editor/editor_binding.h"
#include "platform/file_kind.h"
#include "platform/system_reason.h"
#include "report/configuration_page.h"
#include "report_render/report_pdf.h"
#include "report_render/report_render_texts.h"

namespace zrm {

namespace {

// `--pdf -`: the PDF goes to stdout, in place of the page's text lines.
constexpr const char* kStandardOutput = "-";

void PrintPage(const ConfigurationPage& page, std::FILE* out) {
  std::fprintf(out, "%s\n%s\n", page.date_line.c_str(), page.device_line.c_str());
  for (const std::string& line : page.body) std::fprintf(out, "%s\n", line.c_str());
  if (!page.last_write_line.empty()) std::fprintf(out, "\n%s\n", page.last_write_line.c_str());
  std::fflush(out);
}

// The PDF of `page` written to `out` as it is, for a pipe or a redirection.
int SendPdf(const ConfigurationPage& page, CliOperator& op, std::FILE* out) {
  std::string pdf;
  std::string reason;
  if (RenderConfigurationPagePdfBytes(page, pdf, reason)) {
    errno = 0;
    const bool written = std::fwrite(pdf.data(), 1, pdf.size(), out) == pdf.size();
    if (std::fflush(out) == 0 && written) return 0;
    reason = SystemReason(errno ? errno : EIO);
  }
  op.Tell(cli_texts::kCannotSendPdf + reason);
  return static_cast<int>(result::kFile);
}

int WritePdf(const ConfigurationPage& page, const std::string& path, CliOperator& op) {
  std::string error;
  if (RenderConfigurationPagePdf(page, path, error)) return 0;
  op.Tell(error);
  return static_cast<int>(result::kFile);
}

}  // namespace

int RunReport(const CliOptions& options, CliOperator& op, std::FILE* out) {
  // A device, pipe or folder named for the PDF is refused before the
  // instrument is read for nothing.
  const bool to_output = options.pdf == kStandardOutput;
  const std::string not_regular = to_output ? std::string() : NotRegularFileAt(options.pdf);
  if (!not_regular.empty()) {
    op.Tell(report_render_texts::kCannotWritePdf + options.pdf + ": " + not_regular);
    return static_cast<int>(result::kFile);
  }

  TreatInterruptAsEsc();
  Session session(options.dir);
  if (!StartCommandSession(session, op, options)) return kDeviceNotOpenedExit;

  // The page "Конфигурация" chosen, then "Сформировать страницу".
  PageChange(session.form, session.settings, op, session.PortNumber());
  ConfigurationPage page;
  if (ExchangeResult r = session.Report(session.form, session.settings, op, page))
    return static_cast<int>(r);
  TellUnfinishedWrite(session.Backups().working_dir, session.settings, op);
  if (to_output) return SendPdf(page, op, out);
  PrintPage(page, out);
  if (options.pdf.empty()) return 0;
  return WritePdf(page, options.pdf, op);
}

}  // namespace zrm
