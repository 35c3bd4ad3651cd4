#include "gui/report_preview.h"

#include <QAction>
#include <QFileDialog>
#include <QToolBar>
#include <QToolButton>
#include <string>
#include <utility>

#include "gui/qt_text.h"
#include "gui/window_texts.h"
#include "report_render/report_pdf.h"
#include "report_render/report_renderer.h"

namespace zrm::gui {

namespace {

constexpr const char* kPdfSuffix = "pdf";

// `printer` made ready for the sheet, for the preview built on it.
QPrinter* Prepared(QPrinter& printer) {
  PrepareConfigurationSheet(printer);
  return &printer;
}

}  // namespace

ReportPreview::ReportPreview(zrm::ConfigurationPage page, DialogService& dialogs,
                             PdfNameQuestion ask_pdf_name, QString proposed_pdf_name,
                             QWidget* parent)
    : page_(std::move(page)),
      dialogs_(dialogs),
      ask_pdf_name_(std::move(ask_pdf_name)),
      proposed_pdf_name_(std::move(proposed_pdf_name)),
      printer_(QPrinter::HighResolution),
      dialog_(Prepared(printer_), parent) {
  dialog_.setObjectName("QuickReport1");
  dialog_.setWindowTitle(ToQ(text::kPreviewCaption));
  QObject::connect(&dialog_, &QPrintPreviewDialog::paintRequested, &dialog_,
                   [this](QPrinter* printer) {
                     QPainter painter;
                     if (painter.begin(printer)) PaintConfigurationSheet(painter, page_);
                   });
  AddSavePdfAction();
}

void ReportPreview::AddSavePdfAction() {
  auto* save = new QAction(ToQ(text::kSavePdf), &dialog_);
  save->setObjectName("SavePdf");
  save->setIcon(QIcon::fromTheme("document-save-as"));
  save->setShortcut(QKeySequence::Save);
  dialog_.addAction(save);  // the shortcut works even where the tool bar has no room
  if (auto* bar = dialog_.findChild<QToolBar*>()) {
    bar->addSeparator();
    bar->addAction(save);
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(save)))
      button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  }
  QObject::connect(save, &QAction::triggered, &dialog_, [this] {
    const QString path = ask_pdf_name_(&dialog_, proposed_pdf_name_);
    if (!path.isEmpty()) SavePdf(path);
  });
}

void ReportPreview::Exec() {
  // Without a usable printer there is nothing to preview; the window goes on.
  if (printer_.isValid()) dialog_.exec();
}

void ReportPreview::SavePdf(const QString& path) {
  std::string error;
  if (RenderConfigurationPagePdf(page_, FromQ(path), error))
    saved_pdf_ = path;
  else
    dialogs_.ShowMessage(&dialog_, error, text::kErrorCaption, MessageIcon::kError);
}

QString AskPdfFileName(QWidget* parent, const QString& proposed) {
  QFileDialog dialog(parent);
  dialog.setObjectName("SavePdfDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(ToQ(text::kPdfFilter));
  dialog.setDefaultSuffix(kPdfSuffix);
  dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

}  // namespace zrm::gui
