#include "report_render/report_pdf.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <optional>
#include <string>

#include "platform/atomic_file.h"
#include "report_render/report_render_texts.h"
#include "report_render/report_renderer.h"

namespace zrm {

namespace {

constexpr const char* kCreator = "zrm48setup";

// Fonts need a QGuiApplication. A program without any Qt application
// (zrm48ctl) gets a windowless one for as long as this object lives.
class FontServices {
 public:
  FontServices() {
    if (!QCoreApplication::instance()) application_.emplace(argc_, argv_);
  }

  // False in a program whose Qt application has no fonts (a console one).
  bool Ready() const { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

 private:
  char program_[9] = "zrm48ctl";
  char option_[10] = "-platform";
  char platform_[10] = "offscreen";
  char* argv_[4] = {program_, option_, platform_, nullptr};
  int argc_ = 3;
  std::optional<QGuiApplication> application_;
};

// The PDF document of the sheet, in memory.
std::optional<QByteArray> PdfOf(const ConfigurationPage& page) {
  QByteArray pdf;
  QBuffer buffer(&pdf);
  if (!buffer.open(QIODevice::WriteOnly)) return std::nullopt;
  QPdfWriter writer(&buffer);
  writer.setCreator(QString::fromLatin1(kCreator));
  writer.setTitle(QString::fromStdString(page.device_line));
  PrepareConfigurationSheet(writer);
  QPainter painter;
  if (!painter.begin(&writer)) return std::nullopt;
  PaintConfigurationSheet(painter, page);
  if (!painter.end()) return std::nullopt;
  return pdf;
}

}  // namespace

bool RenderConfigurationPagePdfBytes(const ConfigurationPage& page, std::string& pdf,
                                     std::string& error) {
  const FontServices fonts;
  const std::optional<QByteArray> document = fonts.Ready() ? PdfOf(page) : std::nullopt;
  if (!document) {
    error = report_render_texts::kPdfNotRendered;
    return false;
  }
  pdf.assign(document->constData(), static_cast<std::size_t>(document->size()));
  return true;
}

bool RenderConfigurationPagePdf(const ConfigurationPage& page, const std::string& path,
                                std::string& error) {
  std::string pdf;
  std::string reason;
  if (RenderConfigurationPagePdfBytes(page, pdf, reason) &&
      ReplaceFileAtomically(path, pdf, reason))
    return true;
  error = std::string(report_render_texts::kCannotWritePdf) + path + ": " + reason;
  return false;
}

}  // namespace zrm
