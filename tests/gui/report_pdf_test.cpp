// The configuration sheet as a PDF and in the print preview: the PDF is
// turned back into text with pdftotext, half by half, so what is checked is
// what a reader of the file sees: both halves carry every line of the page,
// in order, and nothing runs over the edge of its half.

#include "report_render/report_pdf.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "gui/dialogs/qt_dialogs.h"
#include "gui/dialogs/report_preview.h"
#include "report/configuration_page.h"
#include "settings/sensor_types.h"
#include "support/scripted_dialogs.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Device type 1 with everything that lengthens its body: the square-root
// line in both channels and every event of both relays.
zrm::DeviceSettings LongestRecord() {
  zrm::DeviceSettings s;
  s.sensor_ranges = zrm::DefaultSensorRanges();
  s.general.proc_ver = 1;
  s.general.otk_type = 47;
  s.general.serial_hi = 48;
  s.general.serial_lo = 57;
  for (zrm::ChannelSettings& ch : s.channel) {
    ch.dat = 19;
    ch.flag = 1;
    ch.diap_min = -9999.5f;
    ch.diap_max = 9999.5f;
    ch.koef0 = -1234.5678f;
    ch.koef1 = 1234.5678f;
    ch.koef2 = -1234.5678f;
    ch.koef3 = 1234.5678f;
  }
  s.relay.rel0_msk0 = s.relay.rel1_msk0 = 0x7F;
  s.relay.rel0_msk1 = s.relay.rel1_msk1 = 0x07;
  return s;
}

zrm::ConfigurationPage LongestPage() {
  return zrm::BuildConfigurationPage(LongestRecord(), zrm::PrintDate{6, 12, 2026});
}

// A line as pdftotext gives it back: runs of blanks are not kept exactly.
QString Normalized(const QString& line) { return line.simplified(); }

// The lines a reader of the sheet must find in each half, empty ones left out.
QStringList ExpectedLines(const zrm::ConfigurationPage& page) {
  QStringList lines{Normalized(Q(page.date_line)), Normalized(Q(page.device_line))};
  for (const std::string& line : page.body)
    if (!line.empty()) lines << Normalized(Q(line));
  if (!page.last_write_line.empty()) lines << Normalized(Q(page.last_write_line));
  return lines;
}

QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0)
    qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Page width and height in points, from pdfinfo.
QSizeF PageSize(const QString& pdf) {
  const QString info = Run("pdfinfo", {pdf});
  const auto match = QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(info);
  if (!match.hasMatch()) qFatal("no page size in pdfinfo output");
  return {match.captured(1).toDouble(), match.captured(2).toDouble()};
}

// The non-empty text lines of one half of the sheet (0 left, 1 right).
QStringList HalfLines(const QString& pdf, int half) {
  const QSizeF size = PageSize(pdf);
  const int width = static_cast<int>(size.width() / 2);
  const QString text = Run(
      "pdftotext", {"-layout", "-r", "72", "-x", QString::number(half * width), "-y", "0", "-W",
                    QString::number(width), "-H", QString::number(size.height() + 1), pdf, "-"});
  QStringList lines;
  for (const QString& line : text.split('\n'))
    if (!line.trimmed().isEmpty()) lines << Normalized(line);
  return lines;
}

QString RenderToFile(const QTemporaryDir& dir, const zrm::ConfigurationPage& page) {
  const QString path = dir.filePath("page.pdf");
  std::string error;
  if (!zrm::RenderConfigurationPagePdf(page, path.toStdString(), error))
    qFatal("render failed: %s", error.c_str());
  return path;
}

}  // namespace

class ReportPdfTest : public QObject {
  Q_OBJECT

 private slots:
  void LandscapeSheetWithTheLongestBodyInBothHalves();
  void EveryDeviceTypeAndAnUnknownOneRender();
  void UnwritablePathReportsTheReasonAndLeavesTheOldFile();
  void PreviewShowsOneLandscapePageAndSavesPdf();
  void WindowPreviewOpensWithoutAskingForAPrinter();
  void PreviewReportsAPdfThatCannotBeWritten();
  void PrintToAFileProposesThePdfInTheWorkingFolder();
};

void ReportPdfTest::LandscapeSheetWithTheLongestBodyInBothHalves() {
  QTemporaryDir dir;
  zrm::ConfigurationPage page = LongestPage();
  // The longest line about the last write, under the body.
  page.last_write_line =
      "Последняя запись в прибор: 09.12.2026 18:40:12, ivanov (stand-3), завершилась ошибкой: "
      "Ход процесса остановлен пользователем (ERR 20)";
  QVERIFY(page.body.size() > 55);
  const QString pdf = RenderToFile(dir, page);

  const QSizeF size = PageSize(pdf);
  QVERIFY2(size.width() > size.height(), "landscape");
  const QStringList left = HalfLines(pdf, 0);
  const QStringList right = HalfLines(pdf, 1);
  QCOMPARE(left, ExpectedLines(page));
  QCOMPARE(right, left);
}

void ReportPdfTest::EveryDeviceTypeAndAnUnknownOneRender() {
  QTemporaryDir dir;
  for (int proc_ver : {0, 2, 7}) {
    zrm::DeviceSettings s = LongestRecord();
    s.general.proc_ver = proc_ver;
    const zrm::ConfigurationPage page = zrm::BuildConfigurationPage(s, zrm::PrintDate{1, 2, 2027});
    const QString pdf = RenderToFile(dir, page);
    QCOMPARE(HalfLines(pdf, 0), ExpectedLines(page));
    QCOMPARE(HalfLines(pdf, 1), ExpectedLines(page));
  }
}

void ReportPdfTest::UnwritablePathReportsTheReasonAndLeavesTheOldFile() {
  QTemporaryDir dir;
  std::string error;
  const std::string missing_folder = dir.filePath("no/such/folder/page.pdf").toStdString();
  QVERIFY(!zrm::RenderConfigurationPagePdf(LongestPage(), missing_folder, error));
  QVERIFY2(error.rfind("Невозможно записать файл PDF " + missing_folder + ": ", 0) == 0,
           error.c_str());
  QVERIFY(error.size() > ("Невозможно записать файл PDF " + missing_folder + ": ").size());

  // A read-only file keeps its content.
  const QString kept = dir.filePath("kept.pdf");
  QFile file(kept);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("old");
  file.close();
  QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
  error.clear();
  QVERIFY(!zrm::RenderConfigurationPagePdf(LongestPage(), kept.toStdString(), error));
  QVERIFY(!error.empty());
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(file.readAll(), QByteArray("old"));
}

void ReportPdfTest::PreviewShowsOneLandscapePageAndSavesPdf() {
  QTemporaryDir dir;
  zrm::test::ScriptedDialogs dialogs;
  QStringList names{dir.filePath("saved.pdf")};
  QStringList offered;
  zrm::gui::ReportPreview preview(
      LongestPage(), dialogs,
      [&](QWidget*, const QString& proposed) {
        offered << proposed;
        return names.isEmpty() ? QString() : names.takeFirst();
      },
      "ZRM4813-047-12345-20261207-1405.pdf", nullptr);
  preview.Dialog().show();
  auto* widget = preview.Dialog().findChild<QPrintPreviewWidget*>();
  QVERIFY(widget);
  QTRY_COMPARE(widget->pageCount(), 1);
  QCOMPARE(widget->orientation(), QPageLayout::Landscape);

  auto* save = preview.Dialog().findChild<QAction*>("SavePdf");
  QVERIFY(save);
  QCOMPARE(save->text(), QString::fromUtf8("Сохранить в PDF"));
  save->trigger();
  QVERIFY(dialogs.shown.empty());
  QCOMPARE(HalfLines(dir.filePath("saved.pdf"), 1), ExpectedLines(LongestPage()));
  QCOMPARE(offered, QStringList{"ZRM4813-047-12345-20261207-1405.pdf"});
  QCOMPARE(preview.SavedPdf(), dir.filePath("saved.pdf"));

  // Cancelling the file question writes nothing.
  QVERIFY(QFile::remove(dir.filePath("saved.pdf")));
  save->trigger();
  QVERIFY(!QFile::exists(dir.filePath("saved.pdf")));
  QVERIFY(dialogs.shown.empty());
  preview.Dialog().close();
}

void ReportPdfTest::WindowPreviewOpensWithoutAskingForAPrinter() {
  QString first_modal;
  int pages = -1;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    first_modal = modal->objectName() + " " + modal->windowTitle();
    if (auto* widget = modal->findChild<QPrintPreviewWidget*>()) pages = widget->pageCount();
    qobject_cast<QDialog*>(modal)->reject();
  });
  zrm::gui::QtDialogs dialogs;
  QCOMPARE(dialogs.PreviewReport(nullptr, LongestPage(), "page.pdf"), QString());
  QCOMPARE(first_modal, QString::fromUtf8("QuickReport1 Страница конфигурации"));
  QCOMPARE(pages, 1);
}

void ReportPdfTest::PreviewReportsAPdfThatCannotBeWritten() {
  QTemporaryDir dir;
  zrm::test::ScriptedDialogs dialogs;
  zrm::gui::ReportPreview preview(
      LongestPage(), dialogs, [](QWidget*, const QString&) { return QString(); }, "page.pdf",
      nullptr);
  const QString path = dir.filePath("missing/page.pdf");
  preview.SavePdf(path);
  QCOMPARE(dialogs.shown.size(), std::size_t{1});
  QCOMPARE(dialogs.shown[0].caption, std::string("Ошибка"));
  QCOMPARE(dialogs.shown[0].icon, zrm::MessageIcon::kError);
  QVERIFY(dialogs.shown[0].text.find(path.toStdString()) != std::string::npos);
  QVERIFY(!QFile::exists(path));
  QVERIFY(preview.SavedPdf().isEmpty());
}

void ReportPdfTest::PrintToAFileProposesThePdfInTheWorkingFolder() {
  QTemporaryDir dir;
  const QString kept = QDir::currentPath();
  QVERIFY(QDir::setCurrent(dir.path()));
  zrm::test::ScriptedDialogs dialogs;
  QStringList asked;  // what the window's own file dialog was asked with
  zrm::gui::ReportPreview preview(
      LongestPage(), dialogs,
      [&](QWidget*, const QString& proposed) {
        asked << proposed;
        return dir.filePath("chosen.pdf");
      },
      "ZRM4813-047-12345-20261207-1405.pdf", nullptr);
  QVERIFY(QDir::setCurrent(kept));
  preview.Dialog().show();
  // The preview's own print button opens the print dialog.
  QAction* print = nullptr;
  for (QAction* action : preview.Dialog().findChildren<QAction*>())
    if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
      print = action;
  QVERIFY(print);
  QString proposed = "no print dialog";
  QString browsed;
  bool other_dialog = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    auto* file = dialog->findChild<QLineEdit*>("filename");
    if (file) proposed = file->text();
    // Its "…" asks through the window's own dialog; any other one is closed.
    QTimer::singleShot(100, [&other_dialog] {
      auto* other = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      other_dialog = other != nullptr;
      if (other) other->reject();
    });
    if (auto* browse = dialog->findChild<QAbstractButton*>("fileBrowser")) browse->click();
    if (file) browsed = file->text();
    dialog->reject();
  });
  print->trigger();
  QCOMPARE(proposed, dir.filePath("ZRM4813-047-12345-20261207-1405.pdf"));
  QCOMPARE(asked, QStringList{proposed});
  QCOMPARE(browsed, dir.filePath("chosen.pdf"));
  QVERIFY(!other_dialog);
  preview.Dialog().close();
}

QTEST_MAIN(ReportPdfTest)
#include "report_pdf_test.moc"
