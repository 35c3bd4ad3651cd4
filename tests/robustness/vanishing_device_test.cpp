// The USB adapter pulled in the middle of writing the settings: the write
// ends with 2 at once (not after its time-outs), commands meanwhile end with
// 2 without hanging, and once the adapter is back (a new device at the same
// dev.dat [PORTS] path) the next command works on the port as it is.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/link_config_file.h"
#include "lib/simulator.h"
#include "link/link.h"
#include "link/port_opening.h"
#include "robustness/instrument_at_path.h"
#include "robustness/record_text.h"
#include "settings/device_transfer.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TEST(VanishingDevice, WriteEndsWithNoAnswerAndTheNextCommandWorksWhenItIsBack) {
  ScratchDir dir;
  InstrumentAtPath instrument(dir.File("ttyUSB-zrm"));
  sim::SimulatorOptions options;
  options.turnaround = milliseconds(0);
  options.restart_time = milliseconds(50);
  std::string error;
  ASSERT_TRUE(instrument.Start(options, error)) << error;

  WriteBytes(dir.File("dev.dat"), "[PORTS]\r\nCOM1=" + instrument.Path() + "\r\n");
  RecordingOperator op;
  const LinkConfig config = LoadLinkConfig(dir.Path(), op);
  PortLine port;
  ASSERT_TRUE(OpenConfiguredPort(port, config, op));
  Link device_link(port, LinkParams{config.net_address, config.attempts, config.timeout_ms}, nullptr);

  DeviceSettings s = EveryGroupOn();
  ASSERT_EQ(ReadDeviceSettings(device_link, s, op), result::kOk);
  s.channel[0].diap_max = 432.0f;
  s.channel[1].th1 = 12.5f;

  // Pulled a few exchanges into the write.
  sim::Fault pulled{sim::FaultKind::kVanish, {}, 0};
  pulled.when.request_number = instrument.Now().RequestsReceived() + 7;
  instrument.Now().AddFault(pulled);
  auto start = Clock::now();
  EXPECT_EQ(WriteDeviceSettings(device_link, s, op), result::kNoAnswer);
  EXPECT_LT(Clock::now() - start, milliseconds(config.timeout_ms));
  EXPECT_FALSE(instrument.Now().Serving());
  instrument.Unplug();

  // While it is away a command fails at once and the program goes on.
  DeviceSettings meanwhile = EveryGroupOn();
  start = Clock::now();
  EXPECT_EQ(ReadDeviceSettings(device_link, meanwhile, op), result::kNoAnswer);
  EXPECT_LT(Clock::now() - start, milliseconds(config.timeout_ms));

  // Back at the same path: the next command reopens the port and works.
  ASSERT_TRUE(instrument.ComeBack(error)) << error;
  EXPECT_EQ(WriteDeviceSettings(device_link, s, op), result::kOk);
  EXPECT_EQ(instrument.Now().Float(15), 432.0f);
  std::this_thread::sleep_for(options.restart_time * 2);  // the restart's silence
  DeviceSettings after = EveryGroupOn();
  ASSERT_EQ(ReadDeviceSettings(device_link, after, op), result::kOk);
  EXPECT_EQ(after.channel[0].diap_max, 432.0f);
  EXPECT_EQ(after.channel[1].th1, 12.5f);
}

}  // namespace
}  // namespace zrm::test
