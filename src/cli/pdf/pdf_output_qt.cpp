#include "cli/pdf_output.h"

#include "gui/report_pdf.h"

namespace zrm {

bool WritePagePdf(const ConfigurationPage& page, const std::string& path, std::string& error) {
  return RenderConfigurationPagePdf(page, path, error);
}

}  // namespace zrm
