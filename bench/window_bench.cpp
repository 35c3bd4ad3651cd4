// zrm48bench_window: the main window under measurement, on the offscreen
// platform or a display.
//
//   zrm48bench_window --first-paint
//     starts the window in the current folder as the program does, prints
//     "first-paint-ns N" (the steady clock when its first frame is painted)
//     and closes it; zrm48bench_startup runs it in an empty folder.
//   zrm48bench_window --responsiveness
//     starts the window in a fresh folder whose dev.dat points port 1 at an
//     emulated instrument (9600 bit/s, line timing) and port 2 at one that
//     never answers; reads from port 1, switches to port 2 and reads again,
//     then shows "Текущие значения" for 10 s, while a 10 ms timer measures
//     how late the event loop serves it. Prints a Markdown table.
//   zrm48bench_window --bus-view
//     the same measurement with the window "Приборы на линии" open on a line
//     of 32 emulated instruments (9600 bit/s, line timing): 10 s of polling,
//     a read from the instrument meanwhile, then 10 s with eight more
//     addresses where nobody answers.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/session.h"
#include "bench_host.h"
#include "child_process.h"
#include "event_loop_lag.h"
#include "gui/window/main_window.h"
#include "lib/bus_options.h"
#include "lib/simulator.h"
#include "platform/number_text.h"
#include "quiet_dialogs.h"
#include "sample_stats.h"

namespace zrm::bench {
namespace {

constexpr unsigned kBaud = 9600;
constexpr int kCurrentValuesPage = 3;
constexpr int kNoInstrumentPortIndex = 1;  // port 2
constexpr std::chrono::milliseconds kStartUpSettle{500};
constexpr std::chrono::seconds kPollingTime{10};
constexpr std::chrono::seconds kJobLimit{120};

// Prints the steady clock once the window's first frame has been painted,
// then closes the window.
class FirstPaintProbe : public QObject {
 public:
  explicit FirstPaintProbe(QWidget& window) : window_(window) { window.installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      // Queued, so the time is taken after this paint has been carried out.
      QMetaObject::invokeMethod(
          this,
          [this] {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                SteadyClock::now().time_since_epoch())
                                .count();
            std::printf("first-paint-ns %lld\n", static_cast<long long>(ns));
            std::fflush(stdout);
            window_.close();
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  QWidget& window_;
  bool painted_ = false;
};

int FirstPaint(int argc, char** argv) {
  QApplication app(argc, argv);
  Session session(std::filesystem::current_path().string());
  QuietDialogs dialogs;
  gui::MainWindow window(session, dialogs);
  FirstPaintProbe probe(window);
  window.show();
  return app.exec();
}

// Runs the event loop until `done` holds or `limit` has passed; false on
// the limit.
bool Await(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = SteadyClock::now() + limit;
  while (!done()) {
    if (SteadyClock::now() >= deadline) return false;
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

void Pause(std::chrono::milliseconds time) {
  const auto until = SteadyClock::now() + time;
  Await([until] { return SteadyClock::now() >= until; }, time + std::chrono::seconds(1));
}

void PrintPhase(const std::string& phase, double seconds, const std::vector<double>& stalls) {
  std::printf("| %s | %s | %zu | %s | %s |\n", phase.c_str(), FormatFixed(seconds, 0, 1).c_str(),
              stalls.size(), FormatFixed(Largest(stalls), 0, 1).c_str(),
              FormatFixed(Percentile(stalls, 0.99), 0, 1).c_str());
  std::fflush(stdout);
}

void PrintTableHead() {
  std::printf(
      "| phase | seconds | 10 ms ticks | longest stall ms | 99th percentile ms |\n"
      "|---|---:|---:|---:|---:|\n");
}

bool WriteDevDat(const std::string& dir, const std::string& port1, const std::string& port2) {
  std::ofstream file(dir + "/dev.dat", std::ios::binary);
  file << "[COM_SETTINGS]\r\nNumber=1\r\nSettings=" << std::to_string(kBaud) << ",N,8,2\r\n"
       << "[PORTS]\r\nCOM1=" << port1 << "\r\nCOM2=" << port2 << "\r\n";
  return static_cast<bool>(file);
}

// The window's phases one after another, each timed and measured.
class ResponsivenessRun {
 public:
  ResponsivenessRun(gui::MainWindow& window, EventLoopLag& lag) : window_(window), lag_(lag) {}

  // Runs `action`, then the event loop until the window is idle (or for
  // `hold` when given), and prints the phase's row. False when the window
  // stayed busy beyond every reason.
  bool Phase(const std::string& name, const std::function<void()>& action,
             std::chrono::milliseconds hold = {}) {
    lag_.TakeStalls();
    const auto start = SteadyClock::now();
    action();
    bool ended = true;
    if (hold.count() > 0)
      Pause(hold);
    else
      ended = Await([this] { return !window_.Busy(); }, kJobLimit);
    const double seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
    total_seconds_ += seconds;
    const auto stalls = lag_.TakeStalls();
    all_.insert(all_.end(), stalls.begin(), stalls.end());
    PrintPhase(name + (ended ? "" : " (still busy)"), seconds, stalls);
    return ended;
  }

  const std::vector<double>& AllStalls() const { return all_; }
  double TotalSeconds() const { return total_seconds_; }

 private:
  gui::MainWindow& window_;
  EventLoopLag& lag_;
  std::vector<double> all_;
  double total_seconds_ = 0;
};

// The window in a prepared folder, shown and left to settle: what each
// measurement starts from.
class MeasuredWindow {
 public:
  explicit MeasuredWindow(const std::string& dir) : session_(dir), window_(session_, dialogs_) {
    window_.show();
    Pause(kStartUpSettle);
  }

  gui::MainWindow& Window() { return window_; }
  int Messages() const { return dialogs_.Messages(); }

  // Prints `heading` with the time and the load average, the table head,
  // each phase `phases` runs with the event loop's lag measured, and the
  // line of all phases. True when every phase ended in time.
  bool Measure(const std::string& heading, const std::function<bool(ResponsivenessRun&)>& phases) {
    std::printf("%s; %s; load average before: %s\n\n", heading.c_str(), UtcNow().c_str(),
                LoadAverages().c_str());
    PrintTableHead();
    EventLoopLag lag;
    lag.Start();
    ResponsivenessRun run(window_, lag);
    const bool ok = phases(run);
    lag.Stop();
    PrintPhase("all phases", run.TotalSeconds(), run.AllStalls());
    return ok;
  }

 private:
  Session session_;
  QuietDialogs dialogs_;
  gui::MainWindow window_;
};

int Responsiveness(int argc, char** argv) {
  sim::SimulatorOptions answering;
  answering.baud = kBaud;
  answering.line_timing = true;
  // "No instrument": the port opens, and nothing ever answers on it.
  sim::Fault swallow_all;
  swallow_all.kind = sim::FaultKind::kNoReply;
  swallow_all.when.by = sim::FaultWhen::By::kShare;
  swallow_all.when.share = 1.0;
  sim::SimulatorOptions silent;
  silent.faults.push_back(swallow_all);
  sim::Simulator instrument(answering), nobody(silent);
  std::string error;
  if (!instrument.Start(&error) || !nobody.Start(&error)) {
    std::fprintf(stderr, "zrm48bench_window: no emulated instrument: %s\n", error.c_str());
    return 1;
  }
  const std::string dir = MakeEmptyFolder();
  if (dir.empty() || !WriteDevDat(dir, instrument.SlavePath(), nobody.SlavePath())) {
    std::fprintf(stderr, "zrm48bench_window: cannot prepare a working folder\n");
    return 1;
  }

  QApplication app(argc, argv);
  int result = 0;
  {
    MeasuredWindow measured(dir);
    gui::MainWindow& window = measured.Window();
    auto* read = window.findChild<QPushButton*>("Button1");
    auto* port = window.findChild<QComboBox*>("ComboBox17");
    auto* notebook = window.findChild<QTabWidget*>("TabbedNotebook1");
    if (!read || !port || !notebook) {
      std::fprintf(stderr, "zrm48bench_window: Button1, ComboBox17 or TabbedNotebook1 missing\n");
      return 1;
    }
    const bool ok = measured.Measure("Window responsiveness", [&](ResponsivenessRun& run) {
      return run.Phase("read from the instrument", [&] { read->click(); }) &&
             run.Phase("switch to a port with no instrument",
                       [&] {
                         port->setCurrentIndex(kNoInstrumentPortIndex);
                         emit port->activated(kNoInstrumentPortIndex);
                       }) &&
             run.Phase("read with no instrument", [&] { read->click(); }) &&
             run.Phase(
                 "poll page 3 with no instrument",
                 [&] { notebook->setCurrentIndex(kCurrentValuesPage); }, kPollingTime);
    });
    std::printf("\nmessage boxes the window would have shown: %d; load average after: %s\n",
                measured.Messages(), LoadAverages().c_str());
    result = ok ? 0 : 1;
    notebook->setCurrentIndex(0);
    Await([&] { return !window.Busy(); }, kJobLimit);
  }
  RemoveFolder(dir);
  return result;
}

constexpr unsigned kBusInstruments = 32;
constexpr const char* kBusWithSilentAddresses = "1-40";

int BusView(int argc, char** argv) {
  std::vector<unsigned> addresses;
  for (unsigned address = 1; address <= kBusInstruments; ++address) addresses.push_back(address);
  sim::Simulator bus(sim::BusOptions(addresses, kBaud));
  std::string error;
  if (!bus.Start(&error)) {
    std::fprintf(stderr, "zrm48bench_window: no emulated bus: %s\n", error.c_str());
    return 1;
  }
  // The last search on port 1 found the 32.
  const std::string dir = MakeEmptyFolder();
  bool prepared = !dir.empty() && WriteDevDat(dir, bus.SlavePath(), bus.SlavePath());
  if (prepared) {
    std::ofstream search(dir + "/zrm48setup.ini", std::ios::binary);
    search << "[SEARCH]\r\nDevice=" << bus.SlavePath() << "\r\nAddresses=1-" << kBusInstruments
           << "\r\n";
    prepared = static_cast<bool>(search);
  }
  if (!prepared) {
    std::fprintf(stderr, "zrm48bench_window: cannot prepare a working folder\n");
    return 1;
  }

  QApplication app(argc, argv);
  int result = 0;
  {
    MeasuredWindow measured(dir);
    gui::MainWindow& window = measured.Window();
    auto* open_view = window.findChild<QAction*>("BusViewItem");
    auto* read = window.findChild<QPushButton*>("Button1");
    if (!open_view || !read) {
      std::fprintf(stderr, "zrm48bench_window: BusViewItem or Button1 missing\n");
      return 1;
    }
    const std::string heading = "Window responsiveness with the bus view open on " +
                                std::to_string(kBusInstruments) + " instruments";
    const bool ok = measured.Measure(heading, [&](ResponsivenessRun& run) {
      return run.Phase(
                 "bus view polls 32 instruments", [&] { open_view->trigger(); }, kPollingTime) &&
             run.Phase("read from the instrument while the view polls", [&] { read->click(); }) &&
             run.Phase(
                 "bus view polls 32 instruments and 8 silent addresses",
                 [&] {
                   auto* field = window.findChild<QLineEdit*>("BusAddresses");
                   field->setText(kBusWithSilentAddresses);
                   emit field->returnPressed();
                 },
                 kPollingTime);
    });
    std::printf(
        "\nframes the instruments received: %zu; message boxes: %d; load average after: "
        "%s\n",
        bus.RequestsReceived(), measured.Messages(), LoadAverages().c_str());
    result = ok ? 0 : 1;
    window.close();
    Await([&] { return !window.Busy(); }, kJobLimit);
  }
  RemoveFolder(dir);
  return result;
}

}  // namespace
}  // namespace zrm::bench

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--first-paint") return zrm::bench::FirstPaint(argc, argv);
  if (mode == "--responsiveness") return zrm::bench::Responsiveness(argc, argv);
  if (mode == "--bus-view") return zrm::bench::BusView(argc, argv);
  std::fprintf(stderr, "usage: zrm48bench_window --first-paint | --responsiveness | --bus-view\n");
  return 64;
}
