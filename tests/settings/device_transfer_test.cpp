// The whole-image read and write: every exchange in order, the panel at each
// moment, the group switches, and the stop at the first failure of any group.

#include "settings/device_transfer.h"
#include "settings/transfer_progress.h"
#include "step_tables.h"
#include "transfer_fixture.h"

namespace zrm::test {
namespace {

const std::string kReadHint = "Для прекращения нажмите ESC";

using DeviceTransferTest = TransferTest;

TEST_F(DeviceTransferTest, FullReadAsksForEveryParameterInOrder) {
  ASSERT_EQ(ReadDeviceSettings(device_, s_, op_), result::kOk);
  EXPECT_EQ(device_.Log(),
            Concat({kChannel1Reads, kChannel2Reads, kRelayReads, kRegulatorReads, kGeneralReads}));
}

// The progress counts run 0, 1, .., total, one per exchange, and the total
// is the number of exchanges the transfer made.
void ExpectCountedToTheEnd(const RecordingOperator& op, std::size_t exchanges) {
  ASSERT_EQ(op.counts.size(), exchanges + 1);
  for (std::size_t i = 0; i < op.counts.size(); ++i)
    EXPECT_EQ(op.counts[i], std::make_pair(static_cast<int>(i), static_cast<int>(exchanges)));
}

TEST_F(DeviceTransferTest, ProgressCountIsKnownBeforeTheReadAndReachesItsTotal) {
  ASSERT_EQ(ReadDeviceSettings(device_, s_, op_), result::kOk);
  ExpectCountedToTheEnd(op_, device_.Log().size());

  // The total follows the switches: channel 2 and the general group off.
  DeviceSettings fewer = AllSelected();
  fewer.channel[1].select = 0;
  fewer.general.gen_select = 0;
  FakeInstrument other;
  RecordingOperator fewer_op;
  ASSERT_EQ(ReadDeviceSettings(other, fewer, fewer_op), result::kOk);
  ExpectCountedToTheEnd(fewer_op, other.Log().size());
  EXPECT_LT(other.Log().size(), device_.Log().size());
}

TEST(ProgressCountText, SaysTheTimeLeftOnlyWhileThereIsAPaceAndSomethingLeft) {
  EXPECT_EQ(ProgressCountText(0, 114, 0.0), "0 из 114");
  EXPECT_EQ(ProgressCountText(57, 114, 2.4), "57 из 114, осталось 3 с");  // 2.4 s rounded up
  EXPECT_EQ(ProgressCountText(1, 3, 0.5), "1 из 3, осталось 1 с");
  EXPECT_EQ(ProgressCountText(114, 114, 4.8), "114 из 114");
}

TEST_F(DeviceTransferTest, FullReadFillsTheRecordFromTheInstrument) {
  device_.SetByte(2, 316, 22);
  device_.SetFloat(2, 16, 300.0f);
  device_.SetFloat(2, 3, 1.02f);  // four-byte 3: range adjustment of channel 1
  device_.SetByte(2, 3, 1);       // one-byte 3: device type
  device_.SetByte(2, 326, 1);
  device_.SetByte(2, 338, 30);
  device_.SetByte(1, 6, 0x5A);
  device_.SetByte(2, 4, 1);
  ASSERT_EQ(ReadDeviceSettings(device_, s_, op_), result::kOk);
  EXPECT_EQ(s_.channel[1].dat, 22);
  EXPECT_EQ(s_.channel[1].diap_max, 300.0f);
  EXPECT_EQ(s_.channel[0].adj, 1.02f);
  EXPECT_EQ(s_.general.proc_ver, 1);
  EXPECT_EQ(s_.channel[1].ver_rel_proc, 1);
  EXPECT_EQ(s_.channel[1].reg_int, 30);
  EXPECT_EQ(s_.general.firmware_version, 0x5A);
  EXPECT_EQ(s_.general.err_ver, 1);
}

TEST_F(DeviceTransferTest, FullReadShowsEachGroupOnThePanelAndEndsHidden) {
  ASSERT_EQ(ReadDeviceSettings(device_, s_, op_), result::kOk);
  const std::vector<std::string> expected_start = {
      LinesCall("Ход процесса", "", "", "", "", kReadHint),
      LinesCall("Ход процесса", "Идет чтение настроек канала 1", "", "", "", kReadHint),
      "show",
      "esc|0",
      LinesCall("Ход процесса", "Идет чтение настроек канала 1", "Чтение типа датчика", "", "",
                kReadHint),
  };
  EXPECT_EQ(std::vector<std::string>(op_.calls.begin(), op_.calls.begin() + 5), expected_start);
  // Channel 2's group line comes with an empty step line.
  EXPECT_EQ(op_.CallsStartingWith("lines|Ход процесса|Идет чтение настроек канала 2||").size(), 1u);
  EXPECT_EQ(op_.calls.back(), "hide");
  EXPECT_FALSE(op_.progress_visible);
  std::vector<std::string> groups;
  for (const auto& c : op_.CallsStartingWith("lines||")) groups.push_back(c);
  EXPECT_EQ(groups, (std::vector<std::string>{LinesCall("", "Чтение логики реле", "", "", "", ""),
                                              LinesCall("", "Чтение параметров регулятора", "",
                                                        "", "", "")}));
}

TEST_F(DeviceTransferTest, ChannelTwoNotSelectedIsSkippedButTheRegulatorIsRead) {
  s_.channel[1].select = 0;
  s_.relay.select = 0;
  s_.general.gen_select = 0;
  ASSERT_EQ(ReadDeviceSettings(device_, s_, op_), result::kOk);
  EXPECT_EQ(device_.Log(), Concat({kChannel1Reads, kRegulatorReads}));
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(DeviceTransferTest, GeneralSwitchOffReadsNoSerialDateFirmwareTypeOrErrorDisplay) {
  s_.general.gen_select = 0;
  ASSERT_EQ(ReadDeviceSettings(device_, s_, op_), result::kOk);
  EXPECT_EQ(device_.Log(), Concat({kChannel1Reads, kChannel2Reads, kRelayReads, kRegulatorReads}));
}

TEST_F(DeviceTransferTest, EscLateInChannel1IsNoticedBeforeChannel2) {
  PressEscDuring(op_, "Чтение скорости изменения уставки");
  EXPECT_EQ(ReadDeviceSettings(device_, s_, op_), result::kUserAbort);
  EXPECT_EQ(device_.Log(), kChannel1Reads);
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(DeviceTransferTest, FailedRelayReadEndsTheSequenceBeforeTheRegulator) {
  device_.FailAddress(2, Width::kByte, 7, result::kNoAnswer);
  EXPECT_EQ(ReadDeviceSettings(device_, s_, op_), result::kNoAnswer);
  EXPECT_EQ(device_.Log().back(), "rb 2:7 !2");
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(DeviceTransferTest, FailedSerialReadEndsTheSequenceBeforeTheFirmware) {
  device_.FailAddress(2, Width::kByte, 18, result::kChecksum);
  EXPECT_EQ(ReadDeviceSettings(device_, s_, op_), result::kChecksum);
  EXPECT_EQ(device_.Log().back(), "rb 2:18 !6");
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(DeviceTransferTest, FailedGeneralReadHidesThePanel) {
  device_.FailAddress(2, Width::kByte, 4, result::kNotUnderstood);
  EXPECT_EQ(ReadDeviceSettings(device_, s_, op_), result::kNotUnderstood);
  EXPECT_EQ(device_.Log().back(), "rb 2:4 !3");
  EXPECT_FALSE(op_.progress_visible);
}

// --- writing --------------------------------------------------------------

ChannelSettings WrittenChannel(float base) {
  ChannelSettings ch;
  ch.select = 1;
  ch.dat = 20;
  ch.diap_max = base + 100.0f;
  ch.diap_min = base;
  ch.flag = 1;
  ch.adj = 1.0f;
  ch.shift = 0.5f;
  ch.th1 = base + 50.0f;
  ch.his1 = 0.02f;
  ch.th_type1 = 1;
  ch.th2 = base + 60.0f;
  ch.his2 = 0.5f;
  ch.th_type2 = 2;
  ch.ns = 3;
  ch.search = 2;
  ch.use = 0;
  ch.point = 1;
  ch.spd_th = 0.1f;
  ch.spd_his = 0.01f;
  ch.koef0 = 0.0f;
  ch.koef1 = 1.0f;
  ch.koef2 = 0.0f;
  ch.koef3 = 0.0f;
  ch.ver_rel_proc = 1;
  ch.reg_int = 240;
  ch.pulse_int = 5;
  return ch;
}

class DeviceWriteTest : public TransferTest {
 protected:
  DeviceWriteTest() {
    s_.channel[0] = WrittenChannel(0.0f);
    s_.channel[1] = WrittenChannel(10.0f);
    s_.relay.rel0_msk0 = 0x03;
    s_.relay.rel0_msk1 = 0x04;
    s_.relay.rel1_msk0 = 0x40;
    s_.relay.rel1_msk1 = 0x01;
    s_.general.proc_ver = 1;
    s_.general.err_ver = 1;
  }
};

TEST_F(DeviceWriteTest, FullWriteSendsEveryParameterInOrderAndEndsWithTheRestart) {
  ASSERT_EQ(WriteDeviceSettings(device_, s_, op_), result::kOk);
  const std::vector<std::string> expected = {
      "wbc 2:315=20", "wfc 2:15=100", "wfc 2:13=0", "wbc 2:323=1", "wfc 2:3=1", "wfc 2:1=0.5",
      "wbc 2:327=0", "wfc 2:29=50", "wfc 2:37=0.02", "wbc 2:327=1", "wbc 2:328=0", "wfc 2:30=60",
      "wfc 2:38=0.5", "wbc 2:328=2", "wbc 2:317=3", "wbc 2:319=2", "wbc 2:341=0", "wbc 2:321=1",
      "wfc 2:31=0.1", "wfc 2:32=0.01", "wfc 2:5=0", "wfc 2:6=1", "wfc 2:7=0", "wfc 2:8=0",
      "wbc 2:316=20", "wfc 2:16=110", "wfc 2:14=10", "wbc 2:324=1", "wfc 2:4=1", "wfc 2:2=0.5",
      "wbc 2:331=0", "wfc 2:33=60", "wfc 2:41=0.02", "wbc 2:331=1", "wbc 2:332=0", "wfc 2:34=70",
      "wfc 2:42=0.5", "wbc 2:332=2", "wbc 2:318=3", "wbc 2:320=2", "wbc 2:342=0", "wbc 2:322=1",
      "wfc 2:35=0.1", "wfc 2:36=0.01", "wfc 2:9=0", "wfc 2:10=1", "wfc 2:11=0", "wfc 2:12=0",
      "wb 2:325=1", "wb 2:326=1", "wb 2:6=3", "wb 2:7=4", "wb 2:8=64", "wb 2:9=1",
      "wb 2:337=240", "wb 2:338=240", "wb 2:339=5", "wb 2:340=5",
      "wb 2:3=1", "wb 2:4=1",
      // The one block that reads back what was written without a read-back.
      "rb 2:325", "rb 2:326", "rb 2:6", "rb 2:7", "rb 2:8", "rb 2:9",
      "rb 2:337", "rb 2:338", "rb 2:339", "rb 2:340", "rb 2:3", "rb 2:4",
      "wb 2:0=47", "wb 1:0=1"};
  EXPECT_EQ(device_.Log(), expected);
}

TEST_F(DeviceWriteTest, ProgressCountIsKnownBeforeTheWriteAndStopsWhereItFails) {
  ASSERT_EQ(WriteDeviceSettings(device_, s_, op_), result::kOk);
  ExpectCountedToTheEnd(op_, device_.Log().size());

  FakeInstrument failing;
  failing.FailAddress(2, Width::kByte, 8, result::kNoAnswer);
  RecordingOperator failing_op;
  EXPECT_EQ(WriteDeviceSettings(failing, s_, failing_op), result::kNoAnswer);
  EXPECT_EQ(failing_op.counts.back(),
            std::make_pair(static_cast<int>(failing.Log().size()), op_.counts.back().second));
}

TEST_F(DeviceWriteTest, WriteLeavesTheInstrumentHoldingTheRecord) {
  ASSERT_EQ(WriteDeviceSettings(device_, s_, op_), result::kOk);
  FakeInstrument& written = device_;
  DeviceSettings back = AllSelected();
  RecordingOperator quiet;
  ASSERT_EQ(ReadDeviceSettings(written, back, quiet), result::kOk);
  for (int k = 0; k < 2; ++k) {
    const ChannelSettings& a = s_.channel[static_cast<std::size_t>(k)];
    const ChannelSettings& b = back.channel[static_cast<std::size_t>(k)];
    EXPECT_EQ(b.dat, a.dat);
    EXPECT_EQ(b.diap_max, a.diap_max);
    EXPECT_EQ(b.th1, a.th1);
    EXPECT_EQ(b.th_type1, a.th_type1) << "restored after its preparation";
    EXPECT_EQ(b.th_type2, a.th_type2);
    EXPECT_EQ(b.koef1, a.koef1);
    EXPECT_EQ(b.reg_int, a.reg_int);
  }
  EXPECT_EQ(back.relay.rel1_msk0, 0x40);
  EXPECT_EQ(back.general.proc_ver, 1);
}

TEST_F(DeviceWriteTest, PanelStartsWithTheReadHintAndEndsHidden) {
  ASSERT_EQ(WriteDeviceSettings(device_, s_, op_), result::kOk);
  EXPECT_EQ(op_.calls[0], LinesCall("Ход процесса", "", "", "", "", kReadHint));
  EXPECT_EQ(op_.calls[1], "show");
  EXPECT_EQ(op_.calls[2], LinesCall("Ход процесса", "Запись настроек канала 1", "", "", "",
                                    "Для остановки нажмите ESC"));
  EXPECT_EQ(op_.calls.back(), "hide");
  EXPECT_FALSE(op_.progress_visible);
}

TEST_F(DeviceWriteTest, EverySwitchOffStillWritesRegulator47AndRestart) {
  s_.channel[0].select = 0;
  s_.channel[1].select = 0;
  s_.relay.select = 0;
  s_.general.gen_select = 0;
  ASSERT_EQ(WriteDeviceSettings(device_, s_, op_), result::kOk);
  EXPECT_EQ(device_.Log(),
            (std::vector<std::string>{"wb 2:337=240", "wb 2:338=240", "wb 2:339=5", "wb 2:340=5",
                                      "rb 2:337", "rb 2:338", "rb 2:339", "rb 2:340", "wb 2:0=47",
                                      "wb 1:0=1"}));
}

TEST_F(DeviceWriteTest, FailedChannelWriteStopsBeforeRelaysAndRestart) {
  device_.float_storage = [](float v) { return v == 70.0f ? 69.98f : v; };
  EXPECT_EQ(WriteDeviceSettings(device_, s_, op_), result::kReadBackMismatch);
  EXPECT_EQ(device_.Log().back(), "wfc 2:34=70 !15");
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(DeviceWriteTest, FailedRelayWriteStopsBeforeTheRegulator) {
  device_.FailAddress(2, Width::kByte, 8, result::kNoAnswer);
  EXPECT_EQ(WriteDeviceSettings(device_, s_, op_), result::kNoAnswer);
  EXPECT_EQ(device_.Log().back(), "wb 2:8=64 !2");
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(DeviceWriteTest, UnansweredCheckOfAWrittenByteStopsBefore47) {
  // The first and the last read of the block after the 60 write frames.
  for (const int n : {61, 72}) {
    FakeInstrument failing;
    failing.FailOperation(n, result::kNoAnswer);
    RecordingOperator failing_op;
    ByteMismatch mismatch;
    EXPECT_EQ(WriteDeviceSettings(failing, s_, failing_op, mismatch), result::kNoAnswer) << n;
    EXPECT_EQ(failing.Log().back(), n == 61 ? "rb 2:325 !2" : "rb 2:4 !2");
    EXPECT_EQ(mismatch.parameter.device_byte->address, n == 61 ? 325u : 4u);
    EXPECT_EQ(failing.Byte(2, 0), std::nullopt);
    EXPECT_EQ(failing_op.calls.back(), "hide");
  }
}

TEST_F(DeviceWriteTest, Failed47HidesThePanelAndSendsNoRestart) {
  device_.FailAddress(2, Width::kByte, 0, result::kNoAnswer);
  EXPECT_EQ(WriteDeviceSettings(device_, s_, op_), result::kNoAnswer);
  EXPECT_EQ(device_.Log().back(), "wb 2:0=47 !2");
  EXPECT_EQ(device_.Byte(1, 0), std::nullopt);
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(DeviceWriteTest, EscInChannel1StopsTheWholeWrite) {
  PressEscDuring(op_, "Запись усреднения");
  EXPECT_EQ(WriteDeviceSettings(device_, s_, op_), result::kUserAbort);
  EXPECT_EQ(device_.Log().back(), "wbc 2:317=3");
  EXPECT_EQ(device_.Byte(1, 0), std::nullopt);
}

}  // namespace
}  // namespace zrm::test
