// The PDF writer of a build without Qt Gui: there is no page renderer, so
// every call refuses with a message that says so.

#include "report_render/report_pdf.h"
#include "report_render/report_render_texts.h"

namespace zrm {

bool RenderConfigurationPagePdf(const ConfigurationPage&, const std::string&, std::string& error) {
  error = report_render_texts::kNoPdfInThisBuild;
  return false;
}

bool RenderConfigurationPagePdfBytes(const ConfigurationPage&, std::string&, std::string& error) {
  error = report_render_texts::kNoPdfInThisBuild;
  return false;
}

}  // namespace zrm
