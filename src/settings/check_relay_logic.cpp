#include "settings/check_relay_logic.h"

#include <string>
#include <string_view>

#include "settings/check_texts.h"

namespace zrm {

namespace {

constexpr std::int32_t kSetpoint2Bit = 0x02;
constexpr std::int32_t kEventBits = 0x07;  // set points I, II and sensor break
constexpr std::int32_t kValveBits = 0x78;  // the four regulator outputs

bool HasAny(std::int32_t mask, std::int32_t bits) { return (mask & bits) != 0; }

// Exactly one regulator output and nothing else.
bool IsOneValveSource(std::int32_t mask) {
  return mask == 0x08 || mask == 0x10 || mask == 0x20 || mask == 0x40;
}

struct Question {
  std::int32_t proc_ver;
  bool (*holds)(const RelaySettings&);
  std::string_view text;
};

using namespace check_text;

const Question kQuestions[] = {
    {0, [](const RelaySettings& r) { return r.rel0_msk1 != 0; }, kSingleRelay1OnChannel2},
    {0, [](const RelaySettings& r) { return r.rel1_msk1 != 0; }, kSingleRelay2OnChannel2},
    {0, [](const RelaySettings& r) { return HasAny(r.rel0_msk0, kValveBits); },
     kSingleRelay1OnValve},
    {0, [](const RelaySettings& r) { return HasAny(r.rel1_msk0, kValveBits); },
     kSingleRelay2OnValve},
    {1, [](const RelaySettings& r) { return HasAny(r.rel0_msk0, kSetpoint2Bit); },
     kDualRelay1OnSetpoint2Channel1},
    {1, [](const RelaySettings& r) { return HasAny(r.rel1_msk0, kSetpoint2Bit); },
     kDualRelay2OnSetpoint2Channel1},
    {1, [](const RelaySettings& r) { return HasAny(r.rel0_msk1, kSetpoint2Bit); },
     kDualRelay1OnSetpoint2Channel2},
    {1, [](const RelaySettings& r) { return HasAny(r.rel1_msk1, kSetpoint2Bit); },
     kDualRelay2OnSetpoint2Channel2},
    {1, [](const RelaySettings& r) { return HasAny(r.rel0_msk0, kValveBits); },
     kDualRelay1OnValve},
    {1, [](const RelaySettings& r) { return HasAny(r.rel1_msk0, kValveBits); },
     kDualRelay2OnValve},
    {2, [](const RelaySettings& r) { return HasAny(r.rel0_msk0, kEventBits); },
     kValveRelay1AlsoOnEvents},
    {2, [](const RelaySettings& r) { return r.rel0_msk1 != 0; }, kValveRelay1AlsoOnEvents},
    {2, [](const RelaySettings& r) { return HasAny(r.rel1_msk0, kEventBits); },
     kValveRelay2AlsoOnEvents},
    {2, [](const RelaySettings& r) { return r.rel1_msk1 != 0; }, kValveRelay2AlsoOnEvents},
    {2, [](const RelaySettings& r) { return !IsOneValveSource(r.rel0_msk0); },
     kValveRelay1Source},
    {2, [](const RelaySettings& r) { return !IsOneValveSource(r.rel1_msk0); },
     kValveRelay2Source},
};

}  // namespace

ExchangeResult CheckRelayLogic(std::int32_t proc_ver, const RelaySettings& relay, Operator& op) {
  for (const Question& q : kQuestions) {
    if (q.proc_ver != proc_ver || !q.holds(relay)) continue;
    if (!op.AskYesNo(std::string(q.text), std::string(kRelayCaption), MessageIcon::kError))
      return result::kStoppedToCorrect;
  }
  return result::kOk;
}

}  // namespace zrm
