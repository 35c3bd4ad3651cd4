// zrm48ctl read against the emulated instrument: the profile it saves is the
// one the window's session saves after its own start-up and the same read,
// the identity lines, the exchange log, and the ways a read ends early.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "app/session.h"
#include "cli/cli_process.h"
#include "lib/pseudo_terminal.h"
#include "lib/simulator.h"
#include "platform/serial_port.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kDefaultIdentity =
    "serial_number=12345\notk_type=047\nfirmware_version=1.1.10\ndate=17.3.2021\n";

std::vector<std::string> RawFrames(const sim::Simulator& simulator) {
  std::vector<std::string> raw;
  for (const sim::ReceivedFrame& frame : simulator.Frames()) raw.push_back(frame.raw);
  return raw;
}

// The window's start-up leaves nothing on the screen to check here.
struct NoView : StartUpView {
  void ShowEditor() override {}
  void ShowStartCaption() override {}
  void ShowFirstPage() override {}
};

TEST(CliReadTest, SavesTheWindowsProfileAndPrintsTheIdentity) {
  sim::Simulator cli_instrument;
  sim::Simulator window_instrument;
  ASSERT_TRUE(cli_instrument.Start());
  ASSERT_TRUE(window_instrument.Start());
  // The window in a folder of its own: its start-up (recent.prf, the
  // default profiles), the reload shortly after, then "Прочитать из
  // прибора" and "Сохранить настройки прибора в файл".
  ScratchDir window_dir;
  WriteBytes(window_dir.File("dev.dat"),
             "[PORTS]\r\nCOM1=" + window_instrument.SlavePath() + "\r\n");
  Session window(window_dir.Path());
  RecordingOperator window_op;
  NoView view;
  window.StartUp(window_op, view);
  window.ReloadLastState(window_op);
  ASSERT_EQ(window.Read(window.form, window.settings, window_op), result::kOk);
  ASSERT_TRUE(window.SaveProfileAs(window_dir.File("read"), window_op));

  ScratchDir dir;
  ScratchDir tmp;
  const CliOutcome outcome = RunCtl(
      {"--dir", dir.Path(), "--device", cli_instrument.SlavePath(), "read", dir.File("read")},
      {.tmpdir = tmp.Path()});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_EQ(outcome.out, kDefaultIdentity);
  EXPECT_EQ(outcome.err, "");

  // Byte for byte the window's file, after the same frames on the wire.
  EXPECT_EQ(ReadBytes(dir.File("read.prf")), ReadBytes(window_dir.File("read.prf")))
      << "zrm48ctl read and the window saved different profiles";
  EXPECT_EQ(RawFrames(cli_instrument), RawFrames(window_instrument));
  // Only dev.dat, the exchange log, the history and the profile are left;
  // the new profile the command starts from leaves nothing behind.
  EXPECT_EQ(dir.Entries(),
            (std::vector<std::string>{"COM.txt", "dev.dat", "history.sqlite", "read.prf"}));
  EXPECT_TRUE(tmp.Entries().empty());
}

TEST(CliReadTest, ProfileExtensionIsAddedOnlyWhenMissing) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  for (const char* name : {"a", "b.prf", "c.PRF"})
    EXPECT_EQ(
        RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "read", dir.File(name)})
            .exit_code,
        0);
  EXPECT_EQ(dir.Entries(),
            (std::vector<std::string>{"COM.txt", "a.prf", "b.prf", "c.PRF", "dev.dat",
                                      "history.sqlite"}));
}

TEST(CliReadTest, ANameThatCannotHoldAProfileIsRefusedBeforeTheFirstFrame) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  std::filesystem::create_symlink("/dev/null", dir.File("null.prf"));
  std::filesystem::create_directory(dir.File("folder.prf"));
  for (const auto& [name, why] : {std::pair{"null", "это устройство, а не файл"},
                                  std::pair{"folder.prf", "это папка, а не файл"}}) {
    const CliOutcome outcome =
        RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "read", dir.File(name)});
    EXPECT_EQ(outcome.exit_code, 14) << name;
    const std::string target = dir.File(name) + (std::string(name) == "null" ? ".prf" : "");
    EXPECT_EQ(outcome.err, "Профиль нельзя сохранить в " + target + ": " + why +
                               "\nОшибка: Файл не открывается (ERR 14)\n");
  }
  EXPECT_EQ(simulator.RequestsReceived(), 0u);
}

TEST(CliReadTest, ExchangeLogHasOneEntryPerFrameInItsFormat) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  ASSERT_EQ(RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "read", dir.File("r")})
                .exit_code,
            0);

  std::string expected;
  for (const sim::ReceivedFrame& frame : simulator.Frames())
    expected += "________________________________________\r\nSend cmd at TT :" + frame.raw +
                "\r\nAnsw at TT :" + frame.reply + "\r\nWait for answ N ms\r\n";
  std::string log = ReadBytes(dir.File("COM.txt"));
  log = std::regex_replace(log, std::regex("at [0-9]{2}:[0-9]{2}:[0-9]{2} :"), "at TT :");
  log = std::regex_replace(log, std::regex("answ [0-9]+ ms"), "answ N ms");
  EXPECT_FALSE(simulator.Frames().empty());
  EXPECT_EQ(log, expected);
}

TEST(CliReadTest, ExchangeLogSwitchedOffWritesNoFile) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  WriteBytes(dir.File("dev.dat"), "[LOG]\r\nUseLogFile=2\r\n");
  EXPECT_EQ(
      RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "get", "2", "6", "byte"})
          .exit_code,
      0);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"dev.dat"});
  // dev.dat was completed with the keys it lacked.
  EXPECT_NE(ReadBytes(dir.File("dev.dat")).find("NOfReadings=2"), std::string::npos);
}

TEST(CliReadTest, InterruptStopsTheReadAtItsNextEscCheck) {
  sim::SimulatorOptions slow;
  slow.turnaround = 20ms;
  sim::Simulator simulator(slow);
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  CliRun run({"--dir", dir.Path(), "--device", simulator.SlavePath(), "read", dir.File("r")});
  ASSERT_TRUE(simulator.WaitForFrames(5, 5s));
  run.Interrupt();
  const CliOutcome outcome = run.Finish();

  EXPECT_EQ(outcome.exit_code, 20);
  EXPECT_EQ(outcome.err,
            "Информация пользователю: Ход процесса остановлен пользователем (ERR 20)\n");
  EXPECT_EQ(outcome.out, "");
  EXPECT_LT(simulator.RequestsReceived(), 30u);  // stopped inside channel 1
  EXPECT_FALSE(std::filesystem::exists(dir.File("r.prf")));
}

TEST(CliReadTest, ProgressGoesToATerminalOneLinePerStepUnlessQuiet) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  const std::vector<std::string> args = {"--dir", dir.Path(),   "--device", simulator.SlavePath(),
                                         "read",  dir.File("r")};
  const CliOutcome shown = RunCtl(args, {.tmpdir = {}, .stderr_on_terminal = true});
  ASSERT_EQ(shown.exit_code, 0) << shown.err;
  EXPECT_NE(shown.err.find("Идет чтение настроек канала 1 — Чтение типа датчика\n"),
            std::string::npos)
      << shown.err;
  // One line per step: never the same line twice in a row.
  const std::size_t lines = std::count(shown.err.begin(), shown.err.end(), '\n');
  EXPECT_GT(lines, 40u);
  EXPECT_LE(lines, simulator.RequestsReceived());
  // Below the steps a bar is redrawn in place; finished, it stays as the
  // last line with the whole count.
  EXPECT_NE(shown.err.find("\r\033[K[#"), std::string::npos);
  const std::size_t last = shown.err.rfind("[##############################] ");
  ASSERT_NE(last, std::string::npos) << shown.err;
  const std::string count = shown.err.substr(last + 33);
  EXPECT_TRUE(count.find(" из ") != std::string::npos &&
              count.find("осталось") == std::string::npos && count.find('\n') == count.size() - 1)
      << count;

  std::vector<std::string> quiet = args;
  quiet.insert(quiet.begin(), "--quiet");
  const CliOutcome silent = RunCtl(quiet, {.tmpdir = {}, .stderr_on_terminal = true});
  EXPECT_EQ(silent.exit_code, 0);
  EXPECT_EQ(silent.err, "");
}

TEST(CliReadTest, TheTerminalATestGivesTheProgramTakesNoOtherProgramsFrames) {
  // Pseudo-terminal numbers are reused at once: a link elsewhere on the
  // machine whose pseudo-terminal vanished may open its port again by the
  // same path while this terminal holds that number. It must be refused, or
  // its frames would read as this program's stderr.
  sim::SimulatorOptions slow;
  slow.turnaround = 20ms;
  sim::Simulator simulator(slow);
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  CliRun run({"--dir", dir.Path(), "--device", simulator.SlavePath(), "read", dir.File("r")},
             {.tmpdir = {}, .stderr_on_terminal = true});
  ASSERT_TRUE(simulator.WaitForFrames(1, 10s));
  const std::string terminal =
      std::filesystem::read_symlink("/proc/" + std::to_string(run.Pid()) + "/fd/2").string();
  ASSERT_EQ(terminal.rfind("/dev/pts/", 0), 0u) << terminal;
  SerialPort stray;
  std::string reason;
  EXPECT_FALSE(stray.Open(terminal, 9600, reason));
  stray.Write(reinterpret_cast<const std::uint8_t*>("\xFF\xFF\xFF\xFF:1;37;"), 10);
  stray.Close();  // else the terminal would stay open past the program's end
  const CliOutcome outcome = run.Finish();
  EXPECT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_EQ(outcome.err.find("\xFF"), std::string::npos) << outcome.err;
}

TEST(CliReadTest, TheProgramsOwnTerminalIsNeverTakenForItsPort) {
  // Frames sent there would stand among the messages on the screen.
  ScratchDir dir;
  for (const std::string own : {"/dev/stderr", "/dev/tty"}) {
    const CliOutcome outcome =
        RunCtl({"--dir", dir.Path(), "--device", own, "get", "2", "29", "dword"},
               {.tmpdir = {}, .stderr_on_terminal = true});
    EXPECT_EQ(outcome.exit_code, 2) << own;
    EXPECT_EQ(outcome.err, "Ошибка: Невозможно открыть последовательный порт\n" + own +
                               ": это терминал, на котором работает сама программа, а не порт "
                               "прибора\n");
  }
}

TEST(CliReadTest, NoInstrumentEndsWithNoAnswerAndNoFile) {
  sim::PseudoTerminal silent_line;
  std::string pty_error;
  ASSERT_TRUE(silent_line.Open(pty_error)) << pty_error;
  ScratchDir dir;
  const CliOutcome outcome =
      RunCtl({"--dir", dir.Path(), "--device", silent_line.SlavePath(), "read", dir.File("r")});
  EXPECT_EQ(outcome.exit_code, 2);
  EXPECT_EQ(outcome.err, "Ошибка: Прибор не ответил (ERR 2)\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("r.prf")));
}

TEST(CliReadTest, DeviceThatCannotBeOpenedEndsAtOnceAndNothingIsSentAnywhere) {
  // dev.dat's port leads to an instrument, which must hear nothing.
  sim::Simulator simulator;
  std::string error;
  ASSERT_TRUE(simulator.Start(&error)) << error;
  ScratchDir dir;
  {
    std::ofstream dev(dir.File("dev.dat"));
    dev << "[PORTS]\nCOM1=" << simulator.SlavePath() << "\n";
  }
  const std::string missing = dir.File("ttyUSB-gone");
  const std::vector<std::vector<std::string>> commands = {{"read", dir.File("r")},
                                                          {"get", "2", "29", "dword"},
                                                          {"set", "2", "29", "dword", "5"},
                                                          {"status"},
                                                          {"backup"},
                                                          {"report"}};
  for (const auto& command : commands) {
    std::vector<std::string> args = {"--dir", dir.Path(), "--device", missing};
    args.insert(args.end(), command.begin(), command.end());
    const CliOutcome outcome = RunCtl(args);
    EXPECT_EQ(outcome.exit_code, 2) << command[0];
    EXPECT_EQ(outcome.err, "Ошибка: Невозможно открыть последовательный порт\n" + missing +
                               ": нет такого файла или устройства\n")
        << command[0];
  }
  // A batch row on such a device fails alone, and opens nothing else either.
  {
    std::ofstream plan(dir.File("plan.csv"));
    plan << "device,address,action,profile\n" << missing << ",1,read," << dir.File("r") << "\n";
  }
  EXPECT_EQ(RunCtl({"--dir", dir.Path(), "batch", dir.File("plan.csv")}).exit_code, 75);
  EXPECT_EQ(simulator.RequestsReceived(), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir.File("r.prf")));
}

TEST(CliReadTest, Rs485ThatThePortRefusesEndsWithItsReasonAndNothingIsSent) {
  // A pseudo-terminal's driver has no RS-485 mode, as many USB adapters have none.
  sim::Simulator simulator;
  std::string error;
  ASSERT_TRUE(simulator.Start(&error)) << error;
  ScratchDir dir;
  const std::string pty = simulator.SlavePath();
  const std::string refused = "Ошибка: Невозможно открыть последовательный порт\n" + pty +
                              ": режим RS-485 не включён: драйвер порта его не поддерживает\n";
  const CliOutcome asked = RunCtl({"--dir", dir.Path(), "--rs485", "--device", pty, "status"});
  EXPECT_EQ(asked.exit_code, 2);
  EXPECT_EQ(asked.err, refused);
  // The same mode from dev.dat's port mapping.
  {
    std::ofstream dev(dir.File("dev.dat"));
    dev << "[PORTS]\nCOM1=" << pty << "\nCOM1_RS485=1\n";
  }
  const CliOutcome mapped = RunCtl({"--dir", dir.Path(), "get", "2", "29", "dword"});
  EXPECT_EQ(mapped.exit_code, 2);
  EXPECT_TRUE(mapped.err.starts_with(refused)) << mapped.err;
  const CliOutcome network =
      RunCtl({"--dir", dir.Path(), "--rs485", "--device", "tcp://127.0.0.1:1", "status"});
  EXPECT_EQ(network.exit_code, 2);
  EXPECT_EQ(network.err,
            "Ошибка: Невозможно открыть последовательный порт\ntcp://127.0.0.1:1: режим RS-485 "
            "задаётся только для последовательного порта этого компьютера, не для сетевой линии\n");
  EXPECT_EQ(simulator.RequestsReceived(), 0u);
}

}  // namespace
}  // namespace zrm::test
