#pragma once
// "Прибор → История изменений…": the events of the working folder's history
// for the instrument at hand, or for all ("Все приборы"), newest first, with
// a write's two events in one row. The dates and the action filter what is
// shown; "Экспорт в CSV…" writes the events they select in the CSV of
// zrm48ctl history. A double click on an event that names a backup asks the
// window to compare the instrument with that backup. The history is read
// off the window's thread; a history that cannot be read is said in the
// dialog. Not modal, like the comparison and the backups.

#include <QDialog>
#include <functional>
#include <string>

#include "gui/dialogs/dialog_service.h"
#include "gui/dialogs/history_model.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QThread;
class QTreeView;

namespace zrm::gui {

class HistoryDialog : public QDialog {
  Q_OBJECT

 public:
  // The history of `working_dir` for the instrument numbered `instrument`
  // ("047-12345"; empty when none is identified: every instrument's events
  // are shown). `compare` gets the path of the backup a double-clicked event
  // names. Failures to export go through `dialogs`.
  HistoryDialog(std::string working_dir, const std::string& instrument, DialogService& dialogs,
                std::function<void(const QString& backup_path)> compare, QWidget* parent);
  ~HistoryDialog() override;

  // The instrument whose events the dialog lists; empty for all.
  const std::string& Instrument() const { return instrument_; }
  // True while the history is being read.
  bool Loading() const { return loading_ != nullptr; }
  const HistoryModel& Model() const { return model_; }

  // The file the export goes to, offering the `proposed` name; empty when
  // the user cancelled. A save-file dialog unless tests put their own
  // answer here.
  using CsvPathChooser = std::function<QString(QWidget* parent, const QString& proposed)>;
  void SetCsvPathChooser(CsvPathChooser chooser) { choose_csv_path_ = std::move(chooser); }

  // While a command runs, a double click compares nothing.
  void SetCommandsEnabled(bool enabled) { commands_enabled_ = enabled; }

 private:
  QWidget* BuildFilters();
  // Reads the history again (the instrument's or all) off the window's thread.
  void Load();
  // The times and the action the controls select.
  HistoryFilter ShownFilter() const;
  void Refilter();
  void ShowCount();
  void SizeColumns();
  void CompareWithBackup(const QModelIndex& index);
  void Export();

  std::string dir_;
  std::string instrument_;
  DialogService& dialogs_;
  std::function<void(const QString&)> compare_;
  CsvPathChooser choose_csv_path_;
  HistoryModel model_;
  QCheckBox* all_;       // HistoryAllInstruments
  QComboBox* action_;    // HistoryAction
  QCheckBox* since_on_;  // HistorySinceOn
  QDateEdit* since_;     // HistorySince
  QCheckBox* until_on_;  // HistoryUntilOn
  QDateEdit* until_;     // HistoryUntil
  QTreeView* view_;      // HistoryTable
  QLabel* count_;        // HistoryCount: the rows shown, the reading, or why it failed
  QLabel* note_;         // HistoryNote: what a double click or the export did
  QThread* loading_ = nullptr;
  bool load_again_ = false;  // the instrument changed while reading
  bool columns_sized_ = false;
  bool commands_enabled_ = true;
};

}  // namespace zrm::gui
