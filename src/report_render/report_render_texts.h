#pragma once
// The page renderer's own texts, exactly as the user sees them.

namespace zrm::report_render_texts {

// Followed by the file name, ": " and the system's reason.
inline constexpr const char* kCannotWritePdf = "Невозможно записать файл PDF ";
inline constexpr const char* kPdfNotRendered = "документ не сформирован";

// The whole answer of a build without Qt Gui, which has no page renderer.
inline constexpr const char* kNoPdfInThisBuild =
    "zrm48ctl: --pdf: PDF output is not available in this build (built without Qt)";

}  // namespace zrm::report_render_texts
