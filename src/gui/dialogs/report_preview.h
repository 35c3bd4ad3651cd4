#pragma once
// The print preview of the configuration sheet. It opens at once on the
// default printer's paper (no printer is asked for first); its print button
// prints to the system printer (printing to a file proposes the PDF's name
// in the working folder, and its "…" asks through the window's own file
// dialog), and "Сохранить в PDF" files the sheet as a PDF document.

#include <QObject>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <functional>
#include <utility>

#include "gui/dialogs/dialog_service.h"
#include "report/configuration_page.h"

namespace zrm::gui {

class ReportPreview {
 public:
  // Asks where the PDF goes, offering `proposed`; an empty name when the
  // user cancelled.
  using PdfNameQuestion = std::function<QString(QWidget* parent, const QString& proposed)>;

  // The preview of `page` over `parent`, not shown yet; "Сохранить в PDF"
  // offers `proposed_pdf_name`. A PDF that cannot be written is reported
  // through `dialogs`, which must outlive the preview.
  ReportPreview(zrm::ConfigurationPage page, DialogService& dialogs, PdfNameQuestion ask_pdf_name,
                QString proposed_pdf_name, QWidget* parent);

  // Shows the preview and returns when the user has closed it; without a
  // usable printer it shows nothing.
  void Exec();

  // Writes the sheet to `path`; a failure is shown as an error box.
  void SavePdf(const QString& path);

  // The file the sheet was last saved to; empty when it was not saved.
  const QString& SavedPdf() const { return saved_pdf_; }

  QPrintPreviewDialog& Dialog() { return dialog_; }

 private:
  void AddSavePdfAction();

  // Puts the proposed PDF into the print dialog's file name when the dialog
  // opens (Qt would offer the home folder, and "print.pdf" without a name),
  // and makes its "…" ask with `ask_name` (Qt's own would open a file dialog
  // that does not speak Russian).
  class PrintFileProposal : public QObject {
   public:
    PrintFileProposal(QString path, PdfNameQuestion ask_name)
        : path_(std::move(path)), ask_name_(std::move(ask_name)) {}

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    QString path_;
    PdfNameQuestion ask_name_;
  };

  zrm::ConfigurationPage page_;
  DialogService& dialogs_;
  PdfNameQuestion ask_pdf_name_;
  QString proposed_pdf_name_;
  QString saved_pdf_;
  QPrinter printer_;
  QPrintPreviewDialog dialog_;
  PrintFileProposal print_file_proposal_;
};

// The save dialog for the PDF, opening on `proposed`: PDF documents, ".pdf"
// added to a bare name, an existing file replaced only after a question.
QString AskPdfFileName(QWidget* parent, const QString& proposed);

}  // namespace zrm::gui
