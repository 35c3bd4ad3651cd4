#pragma once
// The PDF of the configuration page for `zrm48ctl report --pdf`. A build
// without Qt has no renderer; there the call reports that and fails.

#include <string>

#include "report/configuration_page.h"

namespace zrm {

// Renders the page into the PDF file `path`; on failure false and a complete
// message in `error`.
bool WritePagePdf(const ConfigurationPage& page, const std::string& path, std::string& error);

}  // namespace zrm
