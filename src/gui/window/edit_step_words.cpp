#include "gui/window/edit_step_words.h"

#include <utility>
#include <vector>

#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

// A channel's fields in the order of its panel, each with its caption and
// whether it differs.
std::vector<std::pair<const char*, bool>> ChannelFieldsChanged(const ChannelForm& a,
                                                               const ChannelForm& b,
                                                               const char* step_caption) {
  return {
      {text::kMinimum, a.diap_min != b.diap_min},
      {text::kMaximum, a.diap_max != b.diap_max},
      {text::kShift, a.shift != b.shift},
      {text::kAdjust, a.adj != b.adj},
      {text::kSensorType, a.dat != b.dat},
      {text::kSquareRoot, a.flag != b.flag},
      {text::kSetpoint1Type, a.th_type1 != b.th_type1},
      {text::kSetpoint1Value, a.th1 != b.th1},
      {text::kHysteresis1, a.his1 != b.his1},
      {text::kSetpoint2Type, a.th_type2 != b.th_type2},
      {text::kSetpoint2Value, a.th2 != b.th2},
      {text::kHysteresis2, a.his2 != b.his2},
      {text::kSetpointStep, a.spd_th != b.spd_th},
      {step_caption, a.spd_his != b.spd_his},
      {text::kAveraging, a.ns != b.ns},
      {text::kDigits, a.point != b.point},
      {text::kObservations, a.search != b.search},
  };
}

std::string FieldWords(const char* caption) {
  return std::string(text::kFieldEditStep) + caption + text::kFieldEditStepEnd;
}

}  // namespace

std::string FieldEditWords(const EditorForm& before, const EditorForm& after) {
  const char* const step_captions[] = {text::kHysteresisStep1, text::kHysteresisStep2};
  for (std::size_t k = 0; k < 2; ++k) {
    const ChannelForm& a = before.channel[k];
    const ChannelForm& b = after.channel[k];
    const std::string channel = text::kOfChannel + std::to_string(k + 1);
    for (const auto& [caption, changed] : ChannelFieldsChanged(a, b, step_captions[k]))
      if (changed) return FieldWords(caption) + channel;
  }
  const std::pair<const char*, bool> others[] = {
      {text::kRelayTitle, before.relay_grid != after.relay_grid},
      {text::kDecisionInterval, before.reg_int != after.reg_int},
      {text::kMaximumPulse, before.pulse_int != after.pulse_int},
      {text::kDeviceType, before.proc_ver != after.proc_ver},
      {text::kErrorDisplay, before.err_ver != after.err_ver},
      {text::kDeviceNumber, before.otk_type != after.otk_type},
      {text::kDescriptionCaption, before.description != after.description},
  };
  for (const auto& [caption, changed] : others)
    if (changed) return FieldWords(caption);
  return {};
}

}  // namespace zrm::gui
