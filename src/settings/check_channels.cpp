#include "settings/check_channels.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "settings/check_texts.h"

namespace zrm {

namespace {

constexpr float kLargestRange = 9999.0f;
constexpr float kCorrectedRangeMax = 9999.999f;  // tested against 9999, corrected to this
constexpr float kSmallestRange = -999.0f;
constexpr std::uint32_t kMostAveragings = 10;
constexpr float kLargestStep = 20.0f;
constexpr float kCorrectedStep = 10.0f;
constexpr float kSmallestStep = 0.001f;

enum class Kind {
  kError,     // OK only; stops with 17
  kQuestion,  // Yes corrects and goes on, No stops with 17
  kRemark,    // Yes corrects and goes on, No stops with 16
};

using F = ChannelField;

// The channel fields a row reads, one bit each; a row of fields outside the
// instrument's map (the line resistance) reads none.
using FieldSet = std::uint32_t;
constexpr FieldSet Fields(std::initializer_list<F> fields) {
  FieldSet set = 0;
  for (const F f : fields) set |= FieldSet{1} << static_cast<int>(f);
  return set;
}
constexpr FieldSet kEveryRow = 0;

struct Row {
  bool (*holds)(const ChannelSettings&);
  Kind kind;
  std::string_view text;
  void (*correct)(ChannelSettings&);  // on Yes; null when nothing changes
  FieldSet reads;
};

using namespace check_text;
using C = ChannelSettings;

const Row kErrorRows[] = {
    {[](const C& c) { return c.th1 > kLargestSetpoint; }, Kind::kQuestion, kTh1TooBig,
     [](C& c) { c.th1 = kLargestSetpoint; }, Fields({F::kTh1})},
    {[](const C& c) { return c.th2 > kLargestSetpoint; }, Kind::kQuestion, kTh2TooBig,
     [](C& c) { c.th2 = kLargestSetpoint; }, Fields({F::kTh2})},
    {[](const C& c) { return c.th1 < kSmallestSetpoint; }, Kind::kQuestion, kTh1TooSmall,
     [](C& c) { c.th1 = kSmallestSetpoint; }, Fields({F::kTh1})},
    {[](const C& c) { return c.th2 < kSmallestSetpoint; }, Kind::kQuestion, kTh2TooSmall,
     [](C& c) { c.th2 = kSmallestSetpoint; }, Fields({F::kTh2})},
    {[](const C& c) { return c.diap_max > kLargestRange; }, Kind::kQuestion, kDiapMaxTooBig,
     [](C& c) { c.diap_max = kCorrectedRangeMax; }, Fields({F::kDiapMax})},
    {[](const C& c) { return c.diap_max < kSmallestRange; }, Kind::kError, kDiapMaxTooSmall,
     nullptr, Fields({F::kDiapMax})},
    {[](const C& c) { return c.diap_min > kLargestRange; }, Kind::kError, kDiapMinTooBig, nullptr,
     Fields({F::kDiapMin})},
    {[](const C& c) { return c.diap_min < kSmallestRange; }, Kind::kQuestion, kDiapMinTooSmall,
     [](C& c) { c.diap_min = kSmallestRange; }, Fields({F::kDiapMin})},
    // Written as "not below" so that a value that is not a number stops too.
    {[](const C& c) { return !(c.diap_min < c.diap_max); }, Kind::kError, kRangeOrder, nullptr,
     Fields({F::kDiapMin, F::kDiapMax})},
    {[](const C& c) { return c.his1 < 0.0f; }, Kind::kError, kHis1Negative, nullptr,
     Fields({F::kHis1})},
    {[](const C& c) { return c.his2 < 0.0f; }, Kind::kError, kHis2Negative, nullptr,
     Fields({F::kHis2})},
    {[](const C& c) { return c.his1 == 0.0f; }, Kind::kError, kHis1Zero, nullptr,
     Fields({F::kHis1})},
    {[](const C& c) { return c.his2 == 0.0f; }, Kind::kError, kHis2Zero, nullptr,
     Fields({F::kHis2})},
    {[](const C& c) { return c.his1 > c.diap_max; }, Kind::kError, kHis1AboveRange, nullptr,
     Fields({F::kHis1, F::kDiapMax})},
    {[](const C& c) { return c.his2 > c.diap_max; }, Kind::kError, kHis2AboveRange, nullptr,
     Fields({F::kHis2, F::kDiapMax})},
    {[](const C& c) { return c.lin < 0.0f; }, Kind::kError, kLineNegative, nullptr, Fields({})},
};

const Row kRemarkRows[] = {
    {[](const C& c) { return static_cast<std::uint32_t>(c.ns) > kMostAveragings; }, Kind::kRemark,
     kAveragingTooLarge, nullptr, Fields({F::kNs})},
    {[](const C& c) { return c.spd_th > kLargestStep; }, Kind::kRemark, kSpdThTooBig,
     [](C& c) { c.spd_th = kCorrectedStep; }, Fields({F::kSpdTh})},
    {[](const C& c) { return c.spd_his > kLargestStep; }, Kind::kRemark, kSpdHisTooBig,
     [](C& c) { c.spd_his = kCorrectedStep; }, Fields({F::kSpdHis})},
    {[](const C& c) { return c.spd_th < kSmallestStep; }, Kind::kRemark, kSpdThTooSmall,
     [](C& c) { c.spd_th = kSmallestStep; }, Fields({F::kSpdTh})},
    {[](const C& c) { return c.spd_his < kSmallestStep; }, Kind::kRemark, kSpdHisTooSmall,
     [](C& c) { c.spd_his = kSmallestStep; }, Fields({F::kSpdHis})},
};

// Shows one row whose condition holds; returns the result that stops the
// check, or 0 after an accepted correction.
ExchangeResult Confront(const Row& row, const std::string& caption, ChannelSettings& c,
                        Operator& op) {
  const std::string text(row.text);
  if (row.kind == Kind::kError) {
    op.ShowMessage(text, caption, MessageIcon::kError);
    return result::kStoppedToCorrect;
  }
  bool remark = row.kind == Kind::kRemark;
  if (!op.AskYesNo(text, caption, remark ? MessageIcon::kWarning : MessageIcon::kError))
    return remark ? result::kStoppedToClarify : result::kStoppedToCorrect;
  if (row.correct) row.correct(c);
  return result::kOk;
}

// Runs the rows that read any field of `only` (every row for kEveryRow).
template <std::size_t N>
ExchangeResult RunRows(const Row (&rows)[N], const std::string& caption, ChannelSettings& c,
                       Operator& op, FieldSet only) {
  for (const Row& row : rows) {
    if (only != kEveryRow && !(row.reads & only)) continue;
    if (!row.holds(c)) continue;
    if (ExchangeResult r = Confront(row, caption, c, op)) return r;
  }
  return result::kOk;
}

}  // namespace

ExchangeResult CheckChannels(DeviceSettings& s, bool errors, bool remarks, Operator& op) {
  for (int k = 0; k < 2; ++k) {
    if (s.channel[k].select != 1) continue;
    if (ExchangeResult r = CheckChannel(s, k, errors, remarks, op)) return r;
  }
  return result::kOk;
}

namespace {

ExchangeResult CheckRows(DeviceSettings& s, int k, bool errors, bool remarks, Operator& op,
                         FieldSet only) {
  if (k < 0 || k > 1) return result::kOperandTooBig;
  ChannelSettings& c = s.channel[k];
  const std::string number = std::to_string(k + 1);
  if (errors) {
    if (ExchangeResult r =
            RunRows(kErrorRows, std::string(kChannelErrorCaption) + number, c, op, only))
      return r;
  }
  if (remarks)
    return RunRows(kRemarkRows, std::string(kChannelRemarkCaption) + number, c, op, only);
  return result::kOk;
}

template <std::size_t N>
void AddFieldsReadWith(const Row (&rows)[N], FieldSet field, FieldSet& set) {
  for (const Row& row : rows)
    if (row.reads & field) set |= row.reads;
}

}  // namespace

ExchangeResult CheckChannel(DeviceSettings& s, int k, bool errors, bool remarks, Operator& op) {
  return CheckRows(s, k, errors, remarks, op, kEveryRow);
}

ExchangeResult CheckChannelField(DeviceSettings& s, int k, ChannelField field, Operator& op) {
  return CheckRows(s, k, true, true, op, Fields({field}));
}

std::vector<ChannelField> FieldsCheckedWith(ChannelField field) {
  FieldSet set = 0;
  AddFieldsReadWith(kErrorRows, Fields({field}), set);
  AddFieldsReadWith(kRemarkRows, Fields({field}), set);
  set &= ~Fields({field});
  std::vector<ChannelField> out;
  for (int f = 0; f < kChannelFieldCount; ++f)
    if (set & Fields({static_cast<ChannelField>(f)})) out.push_back(static_cast<ChannelField>(f));
  return out;
}

}  // namespace zrm
