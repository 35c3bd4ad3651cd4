#include "gui/tform1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <memory>

#include "editor/editor_binding.h"
#include "editor/relay_grid.h"
#include "gui/export_file_name.h"
#include "gui/group_area.h"
#include "gui/qt_text.h"
#include "gui/report_job.h"
#include "gui/status_texts.h"
#include "gui/window_size_file.h"
#include "gui/window_texts.h"
#include "link/exchange_result.h"

namespace zrm::gui {

namespace {

constexpr int kReloadDelayMs = 200;
constexpr int kFirstPollMs = static_cast<int>(kFirstTickMs);

double SecondsOf(const QElapsedTimer& clock) { return static_cast<double>(clock.elapsed()) / 1000.0; }

enum Page { kChannelsPage, kRelaysPage, kGeneralPage, kCurrentValuesPage, kConfigurationPage };

}  // namespace

TForm1::TForm1(Session& session, DialogService& dialogs, QWidget* parent)
    : QMainWindow(parent), session_(session), dialogs_(dialogs), operator_(dialogs, this) {
  setObjectName("TForm1");
  BuildMenu();
  BuildPages();
  ConnectHandlers();
  // The layout's natural size is the least the window may have; it grows
  // from there, to the size the user left it at last time.
  setMinimumSize(sizeHint());
  resize(sizeHint().expandedTo(LoadWindowSize(session_.Dir())));
  if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
  FormCreate();
}

TForm1::~TForm1() {
  // A job still running must not wait for answers nobody will give.
  operator_.StopAsking();
  operator_.PressEsc();
  while (worker_.Busy()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void TForm1::BuildMenu() {
  menuBar()->setObjectName("MainMenu1");
  N1 = menuBar()->addMenu(ToQ(text::kFileMenu));
  N1->setObjectName("N1");
  N2 = N1->addAction(ToQ(text::kOpenItem));
  N2->setObjectName("N2");
  N2->setShortcut(QKeySequence::Open);
  N3 = N1->addAction(ToQ(text::kSaveItem));
  N3->setObjectName("N3");
  N3->setShortcut(QKeySequence::Save);
  edit_menu_ = menuBar()->addMenu(ToQ(text::kEditMenu));
  edit_menu_->setObjectName("EditMenu");
  undo_ = edit_menu_->addAction(ToQ(text::kUndoItem));
  undo_->setObjectName("UndoItem");
  undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redo_ = edit_menu_->addAction(ToQ(text::kRedoItem));
  redo_->setObjectName("RedoItem");
  redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  UpdateUndoItems();
  BuildDeviceMenu();
  BuildConnectionMenu();
}

void TForm1::BuildPages() {
  top_ = new TopStrip;
  channel_[0] = new ChannelPanel(0);
  channel_[1] = new ChannelPanel(1);
  relay_page_ = new RelayPage;
  general_page_ = new GeneralPage;
  current_values_page_ = new CurrentValuesPage;
  configuration_page_ = new ConfigurationPage;

  auto* channels_page = new QWidget;
  auto* channels = new QHBoxLayout(channels_page);
  channels->setContentsMargins(4, 4, 4, 4);
  channels->addWidget(channel_[0]);
  channels->addWidget(channel_[1]);

  TabbedNotebook1 = new QTabWidget;
  TabbedNotebook1->setObjectName("TabbedNotebook1");
  TabbedNotebook1->addTab(channels_page, ToQ(text::kPageChannels));
  TabbedNotebook1->addTab(relay_page_, ToQ(text::kPageRelays));
  TabbedNotebook1->addTab(general_page_, ToQ(text::kPageGeneral));
  TabbedNotebook1->addTab(current_values_page_, ToQ(text::kPageCurrentValues));
  TabbedNotebook1->addTab(configuration_page_, ToQ(text::kPageConfiguration));

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 0, 6, 6);
  layout->addWidget(top_);
  layout->addWidget(TabbedNotebook1, 1);  // the pages take what the window grows
  setCentralWidget(central);

  Panel76 = new ProgressPanel(TabbedNotebook1);
  statusBar()->setObjectName("StatusBar1");
}

void TForm1::ConnectHandlers() {
  connect(N2, &QAction::triggered, this, &TForm1::N2Click);
  connect(N3, &QAction::triggered, this, &TForm1::N3Click);
  connect(undo_, &QAction::triggered, this, &TForm1::UndoClick);
  connect(redo_, &QAction::triggered, this, &TForm1::RedoClick);
  connect(top_->read, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(top_->write, &QPushButton::clicked, this, &TForm1::Button3Click);
  connect(configuration_page_->build_page, &QPushButton::clicked, this, &TForm1::Button42Click);
  connect(top_->port, &QComboBox::activated, this, &TForm1::ComboBox17Change);
  connect(channel_[0], &ChannelPanel::SensorTypeChanged, this, &TForm1::SensorTypeChange);
  connect(channel_[1], &ChannelPanel::SensorTypeChanged, this, &TForm1::SensorTypeChange);
  connect(relay_page_->relay_grid, &StringGrid::CellChosen, this, &TForm1::StringGrid1Click);
  connect(TabbedNotebook1, &QTabWidget::currentChanged, this, &TForm1::TabbedNotebook1Change);
  connect(&operator_, &GuiOperator::ProgressLinesChanged, this, [this](const QStringList& lines) {
    ProgressLines texts;
    for (std::size_t i = 0; i < texts.size() && i < static_cast<std::size_t>(lines.size()); ++i)
      texts[i] = FromQ(lines[static_cast<qsizetype>(i)]);
    Panel76->SetLines(texts);
  });
  connect(&operator_, &GuiOperator::ProgressVisible, Panel76, &QWidget::setVisible);
  connect(&operator_, &GuiOperator::ProgressCountChanged, Panel76, &ProgressPanel::SetCount);
  Timer2.setObjectName("Timer2");
  Timer2.setSingleShot(true);
  connect(&Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
  Timer3.setObjectName("Timer3");
  connect(&Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);
  connect(&worker_, &LinkWorker::Idle, this, &TForm1::LinkIdle);
}

void TForm1::FormCreate() {
  session_.StartUp(operator_, *this);
  ShowPortState();
  ShowPortDevices();
  Timer2.start(kReloadDelayMs);
  poller_ = std::make_unique<CurrentValuesPoller>(session_, worker_, Timer3,
                                                  *current_values_page_, dialogs_);
  connect(poller_.get(), &CurrentValuesPoller::FileSaved, this,
          [this](const QString& path) { statusBar()->showMessage(ToQ(text::kFileSaved) + path); });
  Timer3.start(kFirstPollMs);
}

void TForm1::ShowEditor() {
  const EditorForm& form = session_.form;
  top_->Show(form);
  channel_[0]->Show(form.channel[0]);
  channel_[1]->Show(form.channel[1]);
  relay_page_->Show(form);
  general_page_->Show(form);
  ShowGroupArea(channel_[0], form.panel1_white);
  ShowGroupArea(channel_[1], form.panel2_white);
  ShowGroupArea(relay_page_->area, form.panel77_white);
  ShowGroupArea(general_page_->area, form.panel71_white);
}

void TForm1::CollectEditor() {
  EditorForm& form = session_.form;
  top_->Collect(form);
  channel_[0]->Collect(form.channel[0]);
  channel_[1]->Collect(form.channel[1]);
  relay_page_->Collect(form);
  general_page_->Collect(form);
}

void TForm1::ShowStartCaption() {
  // The caption ends in the open dialog's file name, which is empty at start.
  setWindowTitle(ToQ(text::kStartCaption) + ToQ(text::kVersion));
}

void TForm1::ShowFirstPage() {
  const QSignalBlocker quiet(TabbedNotebook1);
  TabbedNotebook1->setCurrentIndex(kChannelsPage);
}

void TForm1::Timer2Timer() {
  CollectEditor();
  const EditorState before = CurrentEditorState();
  session_.ReloadLastState(operator_);
  ShowEditor();
  RecordUndoStep(before);
}

void TForm1::Timer3Timer() { poller_->Tick(TabbedNotebook1->currentIndex()); }

void TForm1::N2Click() {
  const QString path = dialogs_.OpenProfileName(this);
  if (!path.isEmpty()) OpenProfileAt(path);
}

void TForm1::OpenProfileAt(const QString& path) {
  CollectEditor();
  const EditorState before = CurrentEditorState();
  session_.OpenProfile(FromQ(path), operator_);
  RecordUndoStep(before);
  setWindowTitle(ToQ(text::kOpenedCaption) + ToQ(text::kVersion) + path);
  ShowEditor();
  statusBar()->showMessage(ToQ(text::kProfileOpened) + path);
}

void TForm1::N3Click() {
  const QString path = dialogs_.SaveProfileName(this);
  if (path.isEmpty()) return;
  CollectEditor();
  if (session_.SaveProfileAs(FromQ(path), operator_))
    statusBar()->showMessage(ToQ(text::kProfileSaved) + ToQ(ProfileSaveName(FromQ(path))));
}

void TForm1::UndoClick() {
  CollectEditor();
  EditorState state = CurrentEditorState();
  if (history_.Undo(state)) ShowEditorState(std::move(state));
  UpdateUndoItems();
}

void TForm1::RedoClick() {
  CollectEditor();
  EditorState state = CurrentEditorState();
  if (history_.Redo(state)) ShowEditorState(std::move(state));
  UpdateUndoItems();
}

EditorState TForm1::CurrentEditorState() const { return {session_.form, session_.settings}; }

void TForm1::RecordUndoStep(const EditorState& before) {
  if (before.form == session_.form) return;
  history_.Record(before);
  UpdateUndoItems();
}

void TForm1::ShowEditorState(EditorState state) {
  state.form.port = session_.form.port;
  state.form.port_label = session_.form.port_label;
  session_.form = std::move(state.form);
  session_.settings = std::move(state.settings);
  ShowEditor();
}

void TForm1::UpdateUndoItems() {
  undo_->setEnabled(commands_enabled_ && history_.CanUndo());
  redo_->setEnabled(commands_enabled_ && history_.CanRedo());
}

void TForm1::Button1Click() {
  RunDeviceJob([this](EditorForm& form, DeviceSettings& s) {
    QElapsedTimer clock;
    clock.start();
    const ExchangeResult r = session_.Read(form, s, operator_);
    return r == result::kOk ? ReadDoneStatus(form, SecondsOf(clock)) : CommandFailedStatus(r);
  }, JobKind::ReplacesEditor);
}

void TForm1::Button3Click() {
  RunDeviceJob([this](EditorForm& form, DeviceSettings& s) {
    QElapsedTimer clock;
    clock.start();
    const ExchangeResult r = session_.Write(form, s, operator_);
    return r == result::kOk ? WriteDoneStatus(form, SecondsOf(clock)) : CommandFailedStatus(r);
  }, JobKind::KeepsEditor);
}

void TForm1::Button42Click() {
  auto report = std::make_shared<ReportOutcome>();
  RunDeviceJob([this, report](EditorForm& form, DeviceSettings& s) {
    QElapsedTimer clock;
    clock.start();
    report->page = session_.Report(form, s, operator_);
    MarkReportEnded(this, report);
    // A failed read has shown its error; the bar keeps what it said before.
    return report->page ? ReportDoneStatus(form, SecondsOf(clock)) : QString();
  }, JobKind::ReplacesEditor);
  PreviewWhenReportEnds(worker_, this, report, [this](const zrm::ConfigurationPage& page) {
    if (shut_down_) return;
    const QString proposed = ExportFileName(session_.form, QDateTime::currentDateTime(), "pdf");
    const QString saved = dialogs_.PreviewReport(this, page, proposed);
    if (!saved.isEmpty()) statusBar()->showMessage(ToQ(text::kFileSaved) + saved);
  });
}

void TForm1::ComboBox17Change(int index) {
  // A port change is no transfer: nothing can stop it, it always happens.
  RunDeviceJob(
      [this, index](EditorForm& form, DeviceSettings& s) {
        session_.ChangePort(index, form, s, operator_);
        return QString();
      },
      JobKind::PortChange);
}

void TForm1::SensorTypeChange() {
  CollectEditor();
  zrm::SensorTypeChange(session_.form, session_.settings, operator_, session_.PortNumber());
  ShowEditor();
}

void TForm1::StringGrid1Click(int column, int row) {
  relay_page_->CollectRelayGrid(session_.form.relay_grid);
  zrm::StringGrid1Click(session_.form, column, row);
  relay_page_->ShowRelayGrid(session_.form.relay_grid);
}

void TForm1::TabbedNotebook1Change() {
  CollectEditor();
  PageChange(session_.form, session_.settings, operator_, session_.PortNumber());
  ShowEditor();
}

void TForm1::RunDeviceJob(DeviceJob job, JobKind kind) {
  if (worker_.Busy()) {
    // Commands disable their controls, so only a poll of the current values
    // holds the link now; the command follows it, and nothing else can be
    // asked for meanwhile. Only an ESC from now on is meant for it.
    deferred_job_ = std::move(job);
    deferred_kind_ = kind;
    operator_.EscPressed();
    SetCommandsEnabled(false);
    return;
  }
  CollectEditor();
  auto form = std::make_shared<EditorForm>(session_.form);
  auto settings = std::make_shared<DeviceSettings>(session_.settings);
  SetCommandsEnabled(false);
  auto status = std::make_shared<QString>();
  auto before = std::make_shared<EditorState>(CurrentEditorState());
  worker_.Run([job, form, settings, status] { *status = job(*form, *settings); },
              [this, form, settings, status, before, kind] {
                session_.form = std::move(*form);
                session_.settings = std::move(*settings);
                EndDeviceJob(*status);
                if (kind == JobKind::ReplacesEditor) RecordUndoStep(*before);
              });
}

void TForm1::ShowPortState() {
  const QString not_open = ToQ(text::kPortNotOpen);
  if (session_.PortOpen() || session_.PortPath().empty()) {
    // A poll may have found the device back: the old news goes.
    if (statusBar()->currentMessage().startsWith(not_open)) statusBar()->clearMessage();
    return;
  }
  statusBar()->showMessage(not_open + ToQ(session_.PortPath()));
}

void TForm1::EndDeviceJob(const QString& status) {
  if (!status.isEmpty()) statusBar()->showMessage(status);
  ShowPortState();
  Panel76->hide();
  ShowEditor();
  SetCommandsEnabled(true);
}

void TForm1::LinkIdle() {
  ShowPortState();
  if (close_pending_) {
    close();
  } else if (deferred_job_) {
    DeviceJob job = std::exchange(deferred_job_, nullptr);
    if (deferred_kind_ != JobKind::PortChange && operator_.EscPressed()) {
      // Stopped while it waited: the same end as an ESC during its steps.
      ShowExchangeError(operator_, result::kUserAbort);
      statusBar()->showMessage(CommandFailedStatus(result::kUserAbort));
      SetCommandsEnabled(true);
      return;
    }
    RunDeviceJob(std::move(job), deferred_kind_);
  }
}

void TForm1::SetCommandsEnabled(bool enabled) {
  QWidget* const controls[] = {top_->read,        top_->write,
                               top_->port,        top_->description,
                               configuration_page_->build_page, TabbedNotebook1};
  for (QWidget* control : controls) control->setEnabled(enabled);
  N2->setEnabled(enabled);
  N3->setEnabled(enabled);
  device_menu_->setEnabled(enabled);
  connection_menu_->setEnabled(enabled);
  commands_enabled_ = enabled;
  UpdateUndoItems();
}

void TForm1::QuitBySignal() {
  quit_by_signal_ = true;
  operator_.StopAsking();
  close();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (shut_down_) {
    event->accept();
    return;
  }
  if (worker_.Busy()) {
    // Stop the command at its next step; the window closes when it has.
    close_pending_ = true;
    operator_.StopAsking();
    operator_.PressEsc();
    event->ignore();
    return;
  }
  if (!quit_by_signal_) operator_.ResumeAsking();
  FormClose();
  shut_down_ = true;
  event->accept();
}

void TForm1::FormClose() {
  Timer2.stop();
  Timer3.stop();
  // A size that cannot be kept costs nothing but the size: no message.
  const bool whole_screen = isMaximized() || isFullScreen();
  SaveWindowSize(session_.Dir(), whole_screen ? normalGeometry().size() : size());
  CollectEditor();
  session_.ShutDown(operator_);
}

}  // namespace zrm::gui
