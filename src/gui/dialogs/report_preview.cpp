#include "gui/dialogs/report_preview.h"

#include <QAbstractButton>
#include <QAction>
#include <QChildEvent>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QToolBar>
#include <QToolButton>
#include <string>
#include <utility>

#include "gui/dialogs/file_dialog.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"
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
      dialog_(Prepared(printer_), parent),
      print_file_proposal_(QDir::current().filePath(proposed_pdf_name_), ask_pdf_name_) {
  dialog_.setObjectName("QuickReport1");
  // The print job, and a print to a file, take the instrument's name.
  printer_.setDocName(QFileInfo(proposed_pdf_name_).completeBaseName());
  dialog_.installEventFilter(&print_file_proposal_);
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

bool ReportPreview::PrintFileProposal::eventFilter(QObject* watched, QEvent* event) {
  // The preview makes its print dialog when asked to print; once the dialog
  // is shown its fields are final and the name can go in.
  if (event->type() == QEvent::ChildPolished) {
    if (auto* print = qobject_cast<QPrintDialog*>(static_cast<QChildEvent*>(event)->child()))
      print->installEventFilter(this);
  } else if (event->type() == QEvent::Show && qobject_cast<QPrintDialog*>(watched)) {
    // "filename" is the print dialog's own field for the file printed to,
    // "fileBrowser" its "…".
    auto* file = watched->findChild<QLineEdit*>("filename");
    if (!file) return false;
    file->setText(path_);
    if (auto* browse = watched->findChild<QAbstractButton*>("fileBrowser")) {
      QObject::disconnect(browse, &QAbstractButton::clicked, nullptr, nullptr);
      QObject::connect(browse, &QAbstractButton::clicked, file, [file, ask = ask_name_] {
        const QString chosen = ask(file->window(), file->text());
        if (!chosen.isEmpty()) file->setText(chosen);
      });
    }
  }
  return false;
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
  FileQuestion question;
  question.object_name = "SavePdfDialog";
  question.mode = QFileDialog::AcceptSave;
  question.filters = {ToQ(text::kPdfFilter)};
  question.default_suffix = kPdfSuffix;
  question.proposed = proposed;
  return AskFileName(parent, question);
}

}  // namespace zrm::gui
