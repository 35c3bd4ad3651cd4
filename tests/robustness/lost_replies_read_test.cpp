// The whole settings read on a line that drops a tenth of the replies: with
// five attempts per exchange it ends with 0 and exactly the values a read on
// a clean line gives.

#include <gtest/gtest.h>

#include "robustness/link_fixture.h"
#include "robustness/record_text.h"
#include "settings/device_transfer.h"
#include "support/recording_operator.h"

namespace zrm::test {
namespace {

TEST_F(LinkAgainstInstrument, FullReadWithATenthOfRepliesLostEndsRight) {
  sim::SimulatorOptions options;
  options.turnaround = std::chrono::milliseconds(0);
  options.seed = 99;
  Connect(options, 5);

  RecordingOperator op;
  DeviceSettings clean = EveryGroupOn();
  ASSERT_EQ(ReadDeviceSettings(*link_, clean, op), result::kOk);
  const std::size_t clean_requests = instrument_->Now().RequestsReceived();

  sim::Fault lost{sim::FaultKind::kNoReply, {}, 0};
  lost.when.by = sim::FaultWhen::By::kShare;
  lost.when.share = 0.10;
  instrument_->Now().AddFault(lost);

  DeviceSettings lossy = EveryGroupOn();
  ASSERT_EQ(ReadDeviceSettings(*link_, lossy, op), result::kOk);
  EXPECT_EQ(RecordText(lossy), RecordText(clean));
  // Replies were lost and asked for again.
  EXPECT_GT(instrument_->Now().RequestsReceived(), 2 * clean_requests);
  EXPECT_TRUE(op.Messages().empty());
}

}  // namespace
}  // namespace zrm::test
