#include "gui/bus_view/bus_view_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>
#include <utility>

#include "app/link_config_file.h"
#include "app/own_settings_file.h"
#include "bus/address_list.h"
#include "gui/bus_view/bus_view_columns.h"
#include "gui/bus_view/bus_view_log.h"
#include "gui/bus_view/bus_view_placement.h"
#include "gui/bus_view/bus_view_texts.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

constexpr int kRefreshMs = 1000;
// Room around a cell's or a heading's text.
constexpr int kCellPadding = 12;
constexpr int kViewHeight = 320;

// The width of the longest word of `text`.
int LongestWord(const QFontMetrics& metrics, const QString& text) {
  int longest = 0;
  for (const QString& word : text.split(' ', Qt::SkipEmptyParts))
    longest = std::max(longest, metrics.horizontalAdvance(word));
  return longest;
}

}  // namespace

QString BusViewFooter(BusViewPolling::State state, bool none_answers) {
  switch (state) {
    case BusViewPolling::State::kPolling:
      return ToQ(none_answers ? bus_text::kNoneAnswers : bus_text::kPolling);
    case BusViewPolling::State::kPausedForCommand: return ToQ(bus_text::kPausedForCommand);
    case BusViewPolling::State::kPausedForPage: return ToQ(bus_text::kPausedForPage);
    case BusViewPolling::State::kLineGone: return ToQ(bus_text::kLineGoneState);
    case BusViewPolling::State::kStopped: break;
  }
  return {};
}

BusViewWindow::BusViewWindow(Session& session, DeviceJobRunner& runner, GuiOperator& op,
                             DialogService& dialogs, std::function<bool()> page_polls,
                             QWidget* parent)
    : QWidget(parent, Qt::Window),
      session_(session),
      runner_(runner),
      op_(op),
      dialogs_(dialogs),
      polling_(session, runner, std::move(page_polls)) {
  setObjectName("BusView");
  addresses_ = new QLineEdit;
  addresses_->setObjectName("BusAddresses");
  addresses_->setToolTip(ToQ(bus_text::kAddressesHint));
  auto* apply = new QPushButton(ToQ(bus_text::kApplyAddresses));
  apply->setObjectName("BusApply");
  log_switch_ = new QCheckBox(ToQ(bus_text::kLogPerInstrument));
  log_switch_->setObjectName("BusLogPerInstrument");
  log_switch_->setToolTip(ToQ(bus_text::kLogPerInstrumentHint));
  table_ = new QTableView;
  table_->setObjectName("BusTable");
  table_->setModel(&model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setWordWrap(true);
  QHeaderView* heads = table_->horizontalHeader();
  heads->setSectionResizeMode(QHeaderView::Fixed);
  heads->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
  heads->setTextElideMode(Qt::ElideNone);
  heads->setMinimumSectionSize(kCellPadding);
  state_ = new QLabel;
  state_->setObjectName("BusState");
  configure_ = new QPushButton(ToQ(bus_text::kConfigure));
  configure_->setObjectName("BusConfigure");
  configure_->setToolTip(ToQ(bus_text::kConfigureHint));

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(ToQ(bus_text::kAddressesLabel)));
  top->addWidget(addresses_, 1);
  top->addWidget(apply);
  top->addSpacing(12);
  top->addWidget(log_switch_);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(state_, 1);
  bottom->addWidget(configure_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(table_, 1);
  layout->addLayout(bottom);
  resize(1100, kViewHeight);

  connect(apply, &QPushButton::clicked, this, &BusViewWindow::ApplyAddresses);
  connect(addresses_, &QLineEdit::returnPressed, this, &BusViewWindow::ApplyAddresses);
  connect(log_switch_, &QCheckBox::toggled, this, &BusViewWindow::OnLogToggled);
  connect(configure_, &QPushButton::clicked, this,
          [this] { PickRow(table_->currentIndex().row()); });
  connect(table_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& index) { PickRow(index.row()); });
  connect(&polling_, &BusViewPolling::Polled, this, &BusViewWindow::ShowPolled);
  connect(&polling_, &BusViewPolling::LineGone, &model_, &BusViewModel::SetLineGone);
  connect(&polling_, &BusViewPolling::StateChanged, this, &BusViewWindow::ShowState);
  connect(&polling_, &BusViewPolling::PortChanged, this, &BusViewWindow::ShowPortInUse);
  // Texts grow (lamps on, an instrument gone): the columns follow, once a
  // second rather than at every poll of a long line.
  connect(&refresh_timer_, &QTimer::timeout, this, [this] {
    model_.Refresh(BusViewModel::Clock::now());
    FitColumns();
  });
  connect(&model_, &QAbstractItemModel::modelReset, this, &BusViewWindow::FitColumns);
}

void BusViewWindow::Open() {
  if (isVisible()) {
    raise();
    activateWindow();
    return;
  }
  {
    const QSignalBlocker quiet(log_switch_);
    log_switch_->setChecked(BusViewLogPerInstrument(session_.Dir()));
  }
  placed_for_values_ = false;
  ShowPortInUse();
  Place();
  refresh_timer_.start(kRefreshMs);
  show();
  FitColumns();
}

void BusViewWindow::Place() {
  auto* main = parentWidget();
  QScreen* screen = main ? main->screen() : this->screen();
  if (!main || !screen) return;
  const std::vector<int> natural = NaturalWidths();
  const QMargins margins = layout()->contentsMargins();
  const int columns = std::accumulate(natural.begin(), natural.end(), 0);
  const int width = columns + 2 * table_->frameWidth() +
                    table_->verticalScrollBar()->sizeHint().width() + margins.left() +
                    margins.right();
  // Frames: the window manager's decoration is taken as the main window has it.
  const QMargins decoration(main->geometry().left() - main->frameGeometry().left(),
                            main->geometry().top() - main->frameGeometry().top(),
                            main->frameGeometry().right() - main->geometry().right(),
                            main->frameGeometry().bottom() - main->geometry().bottom());
  const QSize wanted = QSize(width, kViewHeight).grownBy(decoration);
  // The menu and the top strip: everything above the notebook's pages.
  const auto* pages = main->findChild<QWidget*>("TabbedNotebook1");
  const int controls_bottom = pages ? pages->mapToGlobal(QPoint(0, 0)).y() : main->y();
  const QRect controls(main->frameGeometry().topLeft(),
                       QPoint(main->frameGeometry().right(), controls_bottom - 1));
  const QRect frame =
      BusViewPlacement(screen->availableGeometry(), main->frameGeometry(), controls, wanted);
  resize(frame.size().shrunkBy(decoration));
  move(frame.topLeft());
}

std::vector<int> BusViewWindow::NaturalWidths() const {
  const auto* view = static_cast<const QAbstractItemView*>(table_);
  std::vector<int> widths;
  for (int column = 0; column < model_.columnCount(); ++column)
    widths.push_back(std::max(view->sizeHintForColumn(column),
                              table_->horizontalHeader()->sectionSizeHint(column)));
  return widths;
}

std::vector<int> BusViewWindow::LeastWidths() const {
  const QFontMetrics cells = table_->fontMetrics();
  const QFontMetrics heads = table_->horizontalHeader()->fontMetrics();
  std::vector<int> widths;
  for (int column = 0; column < model_.columnCount(); ++column) {
    int longest = LongestWord(heads, model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    for (int row = 0; row < model_.rowCount(); ++row)
      longest = std::max(longest,
                         LongestWord(cells, model_.index(row, column).data().toString()));
    widths.push_back(longest + kCellPadding);
  }
  return widths;
}

void BusViewWindow::FitColumns() {
  const std::vector<int> widths =
      FitColumnWidths(NaturalWidths(), LeastWidths(), table_->viewport()->width());
  for (std::size_t column = 0; column < widths.size(); ++column)
    table_->horizontalHeader()->resizeSection(static_cast<int>(column), widths[column]);
  FitHeaderHeight();
}

void BusViewWindow::FitHeaderHeight() {
  QHeaderView* heads = table_->horizontalHeader();
  int highest = 0;
  for (int column = 0; column < model_.columnCount(); ++column) {
    const QRect room(0, 0, std::max(1, heads->sectionSize(column) - kCellPadding), 1000);
    const QString text = model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    highest = std::max(
        highest, heads->fontMetrics().boundingRect(room, Qt::TextWordWrap, text).height());
  }
  heads->setMinimumHeight(highest + kCellPadding / 2);
}

void BusViewWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitColumns();
}

void BusViewWindow::ShowSearchResult() {
  if (isVisible()) ShowPortInUse();
}

void BusViewWindow::ShowPortInUse() {
  setWindowTitle(ToQ(bus_text::kCaption) + QString::number(session_.PortNumber()) + " (" +
                 ToQ(session_.PortPath()) + ")");
  const LastSearch search = LoadLastSearch(session_.Dir());
  std::string list = search.addresses;
  if (search.device != session_.PortPath() || list.empty())
    list = std::to_string(session_.Config().net_address);
  addresses_->setText(ToQ(list));
  ApplyAddresses();
}

void BusViewWindow::ApplyAddresses() {
  std::vector<std::uint32_t> addresses;
  std::string error;
  if (!ParseAddressList(FromQ(addresses_->text()), addresses, error)) {
    dialogs_.ShowMessage(this, bus_text::kBadAddresses + error, text::kErrorCaption,
                         MessageIcon::kError);
    return;
  }
  std::vector<BusSnapshot> rows;
  for (const std::uint32_t address : addresses) {
    BusSnapshot waiting;
    waiting.address = address;
    rows.push_back(waiting);
  }
  answered_.clear();
  model_.SetLineGone(false);
  model_.SetInstruments(rows);
  polling_.Start(addresses);
}

void BusViewWindow::ShowPolled(const BusSnapshot& snapshot) {
  model_.Update(snapshot);
  ShowFooter();
  // The first values tell how wide the columns want to be.
  if (!placed_for_values_ && snapshot.has_values) {
    placed_for_values_ = true;
    Place();
  }
  const std::uint64_t before = std::exchange(answered_[snapshot.address], snapshot.polls_answered);
  if (log_switch_->isChecked() && snapshot.polls_answered > before)
    Ignore(LogInstrumentMeasurement(session_.Dir(), snapshot),
           "a log file that cannot be opened loses this line only; polling goes on");
}

void BusViewWindow::ShowState(BusViewPolling::State state) {
  polling_state_ = state;
  ShowFooter();
}

void BusViewWindow::ShowFooter() {
  state_->setText(BusViewFooter(polling_state_, model_.NoneAnswers()));
}

void BusViewWindow::OnLogToggled(bool on) {
  std::string error;
  if (SetBusViewLogPerInstrument(session_.Dir(), on, error)) return;
  dialogs_.ShowMessage(this,
                       text::kCannotKeepSetting + OwnSettingsPath(session_.Dir()) + ": " + error,
                       text::kErrorCaption, MessageIcon::kError);
}

void BusViewWindow::SetCommandsEnabled(bool enabled) { configure_->setEnabled(enabled); }

void BusViewWindow::PickRow(int row) {
  const std::uint32_t address = model_.AddressAt(row);
  if (address == 0 || !configure_->isEnabled()) return;
  if (!address_before_) address_before_ = session_.Config().net_address;
  UseAddress(address, [this, address] { OfferToStore(address); });
}

void BusViewWindow::UseAddress(std::uint32_t address, std::function<void()> after) {
  runner_.Run(
      [this, address](EditorForm&, DeviceSettings&) {
        session_.UseNetAddress(address);
        return ToQ(bus_text::kPicked) + QString::number(address);
      },
      DeviceJobRunner::JobKind::kPortChange, std::move(after));
}

void BusViewWindow::OfferToStore(std::uint32_t address) {
  const std::string question = bus_text::kStoreAddressQuestion + std::to_string(address) +
                               bus_text::kStoreAddressQuestionEnd;
  if (!dialogs_.AskYesNo(this, question, bus_text::kStoreAddressCaption, MessageIcon::kQuestion))
    return;
  // Stored, it stays the commands' address when this window closes.
  if (StoreNetAddress(session_.Dir(), address, op_)) address_before_.reset();
}

void BusViewWindow::closeEvent(QCloseEvent* event) {
  polling_.Stop();
  refresh_timer_.stop();
  if (address_before_ && !runner_.HasShutDown()) UseAddress(*address_before_);
  address_before_.reset();
  QWidget::closeEvent(event);
}

}  // namespace zrm::gui
