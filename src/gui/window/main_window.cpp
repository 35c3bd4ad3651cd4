#include "gui/window/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>
#include <memory>
#include <optional>
#include <utility>

#include "editor/editor_binding.h"
#include "editor/relay_grid.h"
#include "gui/window/edit_step_words.h"
#include "gui/window/export_file_name.h"
#include "gui/widgets/group_area.h"
#include "gui/texts/qt_text.h"
#include "gui/window/status_texts.h"
#include "gui/window/window_size_file.h"
#include "gui/texts/window_texts.h"
#include "link/exchange_result.h"
#include "report/configuration_page.h"

namespace zrm::gui {

namespace {

constexpr int kReloadDelayMs = 200;
constexpr int kFirstPollMs = static_cast<int>(kFirstTickMs);

double SecondsOf(const QElapsedTimer& clock) {
  return static_cast<double>(clock.elapsed()) / 1000.0;
}

enum Page { kChannelsPage, kRelaysPage, kGeneralPage, kCurrentValuesPage, kConfigurationPage };

}  // namespace

MainWindow::MainWindow(Session& session, DialogService& dialogs, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      dialogs_(dialogs),
      operator_(dialogs, this),
      runner_(session.form, session.settings, operator_, *this) {
  setObjectName("TForm1");
  BuildMenu();
  BuildPages();
  ConnectHandlers();
  // The layout's natural size is the least the window may have; it grows
  // from there, to the size the user left it at last time.
  setMinimumSize(sizeHint());
  resize(sizeHint().expandedTo(LoadWindowSize(session_.Dir())));
  if (QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());
  operator_.HoldBoxes();
  OnCreate();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (std::exchange(shown_, true)) return;
  // Queued: the show event comes before the window is on the screen.
  QMetaObject::invokeMethod(
      this, [this] { operator_.ShowHeldBoxes(); }, Qt::QueuedConnection);
}

MainWindow::~MainWindow() {
  // The children go after this body, moving the focus as they go: the
  // application's focus signal must no longer reach members already gone.
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
  runner_.StopAndWait();
}

void MainWindow::BuildMenu() {
  menuBar()->setObjectName("MainMenu1");
  file_menu_ = menuBar()->addMenu(ToQ(text::kFileMenu));
  file_menu_->setObjectName("N1");
  open_item_ = file_menu_->addAction(ToQ(text::kOpenItem));
  open_item_->setObjectName("N2");
  open_item_->setShortcut(QKeySequence::Open);
  save_item_ = file_menu_->addAction(ToQ(text::kSaveItem));
  save_item_->setObjectName("N3");
  save_item_->setShortcut(QKeySequence::Save);
  file_menu_->addSeparator();
  // Closes as the window's own close button does: the last state is saved.
  QAction* exit_item = file_menu_->addAction(ToQ(text::kExitItem));
  exit_item->setObjectName("ExitItem");
  exit_item->setShortcut(QKeySequence::Quit);
  connect(exit_item, &QAction::triggered, this, &QWidget::close);
  undo_menu_ = new UndoMenu(*menuBar(), session_.form, session_.settings, *this, this);
  BuildDeviceMenu();
}

void MainWindow::BuildPages() {
  top_ = new TopStrip;
  channel_[0] = new ChannelPanel(0);
  channel_[1] = new ChannelPanel(1);
  relay_page_ = new RelayPage;
  general_page_ = new GeneralPage;
  current_values_page_ = new CurrentValuesPage;
  configuration_tab_ = new ConfigurationTab;

  auto* channels_page = new QWidget;
  auto* channels = new QHBoxLayout(channels_page);
  channels->setContentsMargins(4, 4, 4, 4);
  channels->addWidget(channel_[0]);
  channels->addWidget(channel_[1]);

  notebook_ = new QTabWidget;
  notebook_->setObjectName("TabbedNotebook1");
  notebook_->addTab(channels_page, ToQ(text::kPageChannels));
  notebook_->addTab(relay_page_, ToQ(text::kPageRelays));
  notebook_->addTab(general_page_, ToQ(text::kPageGeneral));
  notebook_->addTab(current_values_page_, ToQ(text::kPageCurrentValues));
  notebook_->addTab(configuration_tab_, ToQ(text::kPageConfiguration));

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 0, 6, 6);
  layout->addWidget(top_);
  layout->addWidget(notebook_, 1);  // the pages take what the window grows
  setCentralWidget(central);

  progress_panel_ = new ProgressPanel(notebook_);
  statusBar()->setObjectName("StatusBar1");
  connection_menu_ = new ConnectionMenu(*menuBar(), *statusBar(), *top_->PortSelector(), session_,
                                        operator_, runner_, this);
  // Outcomes stay in a permanent part of the bar: the temporary message is
  // the menus' hints, which would wipe them.
  bus_view_ = new BusViewWindow(
      session_, runner_, operator_, dialogs_, [this] { return PagePolls(); }, this);
  outcome_ = new QLabel;
  outcome_->setObjectName("StatusOutcome");
  statusBar()->insertPermanentWidget(0, outcome_, 1);
  port_news_ = new QLabel;
  port_news_->setObjectName("StatusPortNews");
  statusBar()->insertPermanentWidget(1, port_news_);
  unfinished_write_ = new UnfinishedWriteWatch(session_.Dir(), *statusBar(), *this);
}

void MainWindow::ConnectHandlers() {
  connect(open_item_, &QAction::triggered, this, &MainWindow::OnOpenProfile);
  connect(save_item_, &QAction::triggered, this, &MainWindow::OnSaveProfile);
  connect(undo_menu_, &UndoMenu::Outcome, this, &MainWindow::ShowOutcome);
  connect(connection_menu_, &ConnectionMenu::Outcome, this, &MainWindow::ShowOutcome);
  connect(connection_menu_, &ConnectionMenu::PortNews, this, &MainWindow::ShowPortNews);
  connect(connection_menu_, &ConnectionMenu::InstrumentIdentified, this,
          [this](const DeviceSettings& found) { LookForUnfinishedWrite(found); });
  connect(unfinished_write_, &UnfinishedWriteWatch::ResumeAsked, this,
          [this] { OnRepair(RepairKind::kResume); });
  connect(unfinished_write_, &UnfinishedWriteWatch::RollbackAsked, this,
          [this] { OnRepair(RepairKind::kRollback); });
  connect(connection_menu_, &ConnectionMenu::BusViewAsked, bus_view_, &BusViewWindow::Open);
  connect(connection_menu_, &ConnectionMenu::SearchEnded, bus_view_,
          &BusViewWindow::ShowSearchResult);
  connect(top_->ReadButton(), &QPushButton::clicked, this, &MainWindow::OnReadDevice);
  connect(top_->WriteButton(), &QPushButton::clicked, this, &MainWindow::OnWriteDevice);
  connect(configuration_tab_->BuildPageButton(), &QPushButton::clicked, this,
          &MainWindow::OnBuildReport);
  connect(top_->PortSelector(), &QComboBox::activated, this, &MainWindow::OnPortChosen);
  connect(channel_[0], &ChannelPanel::SensorTypeChanged, this, &MainWindow::OnSensorTypeChange);
  connect(channel_[1], &ChannelPanel::SensorTypeChanged, this, &MainWindow::OnSensorTypeChange);
  connect(relay_page_->AssignmentGrid(), &StringGrid::CellChosen, this,
          &MainWindow::OnRelayCellClicked);
  connect(notebook_, &QTabWidget::currentChanged, this, &MainWindow::OnPageChange);
  connect(&operator_, &GuiOperator::ProgressLinesChanged, this, [this](const QStringList& lines) {
    ProgressLines texts;
    for (std::size_t i = 0; i < texts.size() && i < static_cast<std::size_t>(lines.size()); ++i)
      texts[i] = FromQ(lines[static_cast<qsizetype>(i)]);
    progress_panel_->SetLines(texts);
    const QString group = ToQ(texts[1].empty() ? texts[2] : texts[1]);
    if (!group.isEmpty()) progress_group_ = group;
  });
  connect(&operator_, &GuiOperator::ProgressVisible, progress_panel_, &QWidget::setVisible);
  connect(&operator_, &GuiOperator::ProgressCountChanged, progress_panel_,
          &ProgressPanel::SetCount);
  reload_timer_.setObjectName("Timer2");
  reload_timer_.setSingleShot(true);
  connect(&reload_timer_, &QTimer::timeout, this, &MainWindow::OnReloadTimer);
  poll_timer_.setObjectName("Timer3");
  connect(&poll_timer_, &QTimer::timeout, this, &MainWindow::OnPollTimer);
  WatchFieldEdits();
}

void MainWindow::WatchFieldEdits() {
  QWidget* const pages[] = {top_, channel_[0], channel_[1], relay_page_, general_page_};
  for (QWidget* page : pages) {
    // The line edits of the step lists are found with the plain fields.
    for (auto* field : page->findChildren<QLineEdit*>()) {
      connect(field, &QLineEdit::editingFinished, undo_menu_, &UndoMenu::TakeEditStep);
      undo_menu_->TakeUndoKeysOf(*field);
    }
    for (auto* list : page->findChildren<QComboBox*>())
      if (list != top_->PortSelector())
        connect(list, &QComboBox::activated, undo_menu_, &UndoMenu::TakeEditStep);
    for (auto* box : page->findChildren<QCheckBox*>())
      connect(box, &QCheckBox::clicked, undo_menu_, &UndoMenu::TakeEditStep);
  }
  undo_menu_->TakeUndoKeysOf(*top_->Description());
  // The description has no end of an edit but the focus leaving it.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) {
    if (old == top_->Description()) undo_menu_->TakeEditStep();
  });
}

void MainWindow::OnCreate() {
  session_.StartUp(operator_, *this);
  ShowPortState();
  connection_menu_->ShowPortDevices();
  reload_timer_.start(kReloadDelayMs);
  poller_ = std::make_unique<CurrentValuesPoller>(session_, runner_, poll_timer_,
                                                  *current_values_page_, dialogs_);
  connect(poller_.get(), &CurrentValuesPoller::Outcome, this, &MainWindow::ShowOutcome);
  connect(poller_.get(), &CurrentValuesPoller::InstrumentIdentified, this,
          [this](const DeviceSettings& instrument) { LookForUnfinishedWrite(instrument); });
  poll_timer_.start(kFirstPollMs);
}

void MainWindow::ShowEditor() {
  const EditorForm& form = session_.form;
  top_->Show(form);
  channel_[0]->Show(form.channel[0]);
  channel_[1]->Show(form.channel[1]);
  relay_page_->Show(form);
  general_page_->Show(form);
  ShowGroupArea(channel_[0], form.channel1_area_white);
  ShowGroupArea(channel_[1], form.channel2_area_white);
  ShowGroupArea(relay_page_->Area(), form.relay_area_white);
  ShowGroupArea(general_page_->Area(), form.general_area_white);
}

void MainWindow::CollectEditor() {
  EditorForm& form = session_.form;
  top_->Collect(form);
  channel_[0]->Collect(form.channel[0]);
  channel_[1]->Collect(form.channel[1]);
  relay_page_->Collect(form);
  general_page_->Collect(form);
}

void MainWindow::ShowStartCaption() {
  // The caption ends in the open dialog's file name, which is empty at start.
  setWindowTitle(ToQ(text::kStartCaption) + ToQ(text::kVersion));
}

void MainWindow::ShowFirstPage() {
  const QSignalBlocker quiet(notebook_);
  notebook_->setCurrentIndex(kChannelsPage);
}

void MainWindow::OnReloadTimer() {
  undo_menu_->TakeEditStep();
  const EditorState before = undo_menu_->Current();
  session_.ReloadLastState(operator_);
  ShowEditor();
  undo_menu_->Record(before, text::kReadFromFileStep + session_.RecentProfilePath());
}

void MainWindow::OnPollTimer() { poller_->Tick(notebook_->currentIndex()); }

bool MainWindow::PagePolls() const {
  return poller_ && notebook_->currentIndex() == kCurrentValuesPage && !poller_->Paused();
}

void MainWindow::OnOpenProfile() {
  const QString path = dialogs_.OpenProfileName(this);
  if (!path.isEmpty()) OpenProfileAt(path);
}

void MainWindow::OpenProfileAt(const QString& path) {
  undo_menu_->TakeEditStep();
  const EditorState before = undo_menu_->Current();
  session_.OpenProfile(FromQ(path), operator_);
  undo_menu_->Record(before, text::kReadFromFileStep + FromQ(path));
  setWindowTitle(ToQ(text::kOpenedCaption) + ToQ(text::kVersion) + path);
  ShowEditor();
  ShowOutcome(ToQ(text::kProfileOpened) + path);
}

void MainWindow::OnSaveProfile() {
  undo_menu_->TakeEditStep();
  // The instrument's name, as the CSV and PDF files get it.
  const QString path = dialogs_.SaveProfileName(
      this, ExportFileName(session_.form, QDateTime::currentDateTime(), "prf"));
  if (path.isEmpty()) return;
  const QString saved_as = ToQ(ProfileSaveName(FromQ(path)));
  const bool saved = session_.SaveProfileAs(FromQ(path), operator_);
  ShowOutcome(ToQ(saved ? text::kProfileSaved : text::kCannotWriteFile) + saved_as);
}

void MainWindow::OnReadDevice() {
  auto read = std::make_shared<bool>(false);
  runner_.Run(
      [this, read](EditorForm& form, DeviceSettings& s) {
        QElapsedTimer clock;
        clock.start();
        const ExchangeResult r = session_.Read(form, s, operator_);
        *read = r == result::kOk;
        return *read ? ReadDoneStatus(form, SecondsOf(clock)) : CommandFailedStatus(r);
      },
      JobKind::kReplacesEditor,
      [this, read] {
        if (*read) LookForUnfinishedWrite(session_.settings);
      });
}

void MainWindow::OnWriteDevice() {
  progress_group_.clear();
  // Filled on the link thread: the instrument the write identified and how it ended.
  auto instrument = std::make_shared<DeviceSettings>();
  auto ended = std::make_shared<ExchangeResult>(result::kOk);
  const std::time_t began = std::time(nullptr);
  runner_.Run(
      [this, instrument, ended](EditorForm& form, DeviceSettings& s) {
        QElapsedTimer clock;
        clock.start();
        const ExchangeResult r = session_.Write(form, s, operator_, *instrument);
        *ended = r;
        return r == result::kOk ? WriteDoneStatus(form, SecondsOf(clock)) : CommandFailedStatus(r);
      },
      JobKind::kKeepsEditor,
      [this, instrument, ended, began] { LookForUnfinishedWrite(*instrument, *ended, began); });
}

void MainWindow::OnBuildReport() {
  // Filled on the link thread; empty when the read failed.
  auto page = std::make_shared<std::optional<zrm::ConfigurationPage>>();
  runner_.Run(
      [this, page](EditorForm& form, DeviceSettings& s) {
        QElapsedTimer clock;
        clock.start();
        zrm::ConfigurationPage built;
        const ExchangeResult r = session_.Report(form, s, operator_, built);
        if (r != result::kOk) return CommandFailedStatus(r);
        *page = std::move(built);
        return ReportDoneStatus(form, SecondsOf(clock));
      },
      JobKind::kReplacesEditor,
      [this, page] {
        if (!*page) return;
        LookForUnfinishedWrite(session_.settings);
        const QString proposed = ExportFileName(session_.form, QDateTime::currentDateTime(), "pdf");
        const QString saved = dialogs_.PreviewReport(this, **page, proposed);
        if (!saved.isEmpty()) ShowOutcome(ToQ(text::kFileSaved) + saved);
      });
}

void MainWindow::OnPortChosen(int index) {
  // A port change is no transfer: nothing can stop it, it always happens.
  runner_.Run(
      [this, index](EditorForm& form, DeviceSettings& s) {
        session_.ChangePort(index, form, s, operator_);
        return QString();
      },
      JobKind::kPortChange);
}

void MainWindow::OnSensorTypeChange() {
  // One step, named for the list the user chose from: the type and the
  // range it brings.
  const EditorState before = undo_menu_->Current();
  CollectEditor();
  const std::string what = FieldEditWords(before.form, session_.form);
  zrm::SensorTypeChange(session_.form, session_.settings, operator_, session_.PortNumber());
  ShowEditor();
  undo_menu_->Record(before, what);
}

void MainWindow::OnRelayCellClicked(int column, int row) {
  undo_menu_->TakeEditStep();
  const EditorState before = undo_menu_->Current();
  ToggleRelayCell(session_.form, column, row);
  relay_page_->ShowRelayGrid(session_.form.relay_grid);
  undo_menu_->Record(before, FieldEditWords(before.form, session_.form));
}

void MainWindow::OnPageChange() {
  undo_menu_->TakeEditStep();
  PageChange(session_.form, session_.settings, operator_, session_.PortNumber());
  ShowEditor();
}

void MainWindow::TakeEdits() { undo_menu_->TakeEditStep(); }

void MainWindow::RecordRead(const EditorState& before) {
  undo_menu_->Record(before, text::kReadFromDeviceStep);
}

void MainWindow::ShowJobEnd(const QString& status) {
  if (!status.isEmpty()) ShowOutcome(status);
  unfinished_write_->Recheck();
  ShowPortState();
  progress_panel_->hide();
  ShowEditor();
}

void MainWindow::ShowPortState() {
  // A USB adapter's slow latency timer, once per device: the sentence,
  // shortened to the status bar's width, and the whole of it when pointed at.
  if (const QString notice = ToQ(session_.TakePortNotice()); !notice.isEmpty()) {
    port_news_->setToolTip(notice);
    ShowPortNews(port_news_->fontMetrics().elidedText(notice, Qt::ElideRight, width() / 2));
    return;
  }
  if (session_.PortOpen() || session_.PortPath().empty()) {
    // A poll or a command may have found the device back: that news goes.
    if (port_news_->text().startsWith(ToQ(text::kPortNotOpen))) port_news_->clear();
    return;
  }
  ShowPortNews(PortNotOpenText(session_.PortPath()));
}

void MainWindow::ShowPortNews(const QString& text) { port_news_->setText(text); }

void MainWindow::ShowOutcome(const QString& text) { outcome_->setText(text); }

void MainWindow::SetCommandsEnabled(bool enabled) {
  QWidget* const controls[] = {top_->ReadButton(),
                               top_->WriteButton(),
                               top_->PortSelector(),
                               top_->Description(),
                               configuration_tab_->BuildPageButton(),
                               notebook_};
  for (QWidget* control : controls) control->setEnabled(enabled);
  open_item_->setEnabled(enabled);
  save_item_->setEnabled(enabled);
  device_menu_->setEnabled(enabled);
  connection_menu_->Menu()->setEnabled(enabled);
  undo_menu_->SetCommandsEnabled(enabled);
  bus_view_->SetCommandsEnabled(enabled);
  if (history_) history_->SetCommandsEnabled(enabled);
  unfinished_write_->SetCommandsEnabled(enabled);
}

void MainWindow::SetConnectionDialogs(std::unique_ptr<ConnectionDialogs> dialogs) {
  connection_menu_->SetDialogs(std::move(dialogs));
}

void MainWindow::QuitBySignal() {
  runner_.QuitWithoutAsking();
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (runner_.Close())
    event->accept();
  else
    event->ignore();
}

void MainWindow::ShutDown() {
  reload_timer_.stop();
  poll_timer_.stop();
  bus_view_->close();
  // A size that cannot be kept costs nothing but the size: no message.
  const bool whole_screen = isMaximized() || isFullScreen();
  SaveWindowSize(session_.Dir(), whole_screen ? normalGeometry().size() : size());
  CollectEditor();
  session_.ShutDown(operator_);
}

}  // namespace zrm::gui
