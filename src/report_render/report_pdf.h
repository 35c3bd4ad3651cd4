#pragma once
// The configuration sheet as a PDF file, for the window's preview and for
// programs without a window (zrm48ctl report --pdf). This header uses no Qt;
// a build without Qt Gui links report_pdf_none.cpp behind it, which refuses.

#include <string>

#include "report/configuration_page.h"

namespace zrm {

// Writes the sheet of `page` (see report_render/report_renderer.h) as a one-page PDF
// to `path`, replacing an existing file only once the new one is complete.
// A program that has no Qt application gets a windowless one for the time
// of the call (call it from the main thread then). False with the message
// "Невозможно записать файл PDF <path>: <reason>" in `error` on failure.
bool RenderConfigurationPagePdf(const ConfigurationPage& page, const std::string& path,
                                std::string& error);

// The same one-page PDF as bytes in `pdf`, for a program that sends it on
// itself (zrm48ctl report --pdf - writes it to stdout). False with the
// reason in `error` when no document could be made.
bool RenderConfigurationPagePdfBytes(const ConfigurationPage& page, std::string& pdf,
                                     std::string& error);

}  // namespace zrm
