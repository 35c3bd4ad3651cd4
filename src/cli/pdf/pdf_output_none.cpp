#include "cli/pdf_output.h"

namespace zrm {

bool WritePagePdf(const ConfigurationPage&, const std::string&, std::string& error) {
  error = "zrm48ctl: --pdf: PDF output is not available in this build (built without Qt)";
  return false;
}

}  // namespace zrm
