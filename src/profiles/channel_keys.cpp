#include "profiles/channel_keys.h"

#include <algorithm>

#include "profiles/profile_texts.h"

namespace zrm {

namespace {

using C = ChannelSettings;

// Stands in the tables for the channel's own name.
constexpr std::string_view kChannelNameMark = "%name";

}  // namespace

const std::array<ChannelKey, kChannelKeyCount>& ChannelKeys() {
  static const std::array<ChannelKey, kChannelKeyCount> kEys = {{
      {"dat", &C::dat, "17", "17"},
      {"diap_max", &C::diap_max, "100", "100"},
      {"diap_min", &C::diap_min, "0", "0"},
      {"adj", &C::adj, "1.0", "1.0"},
      {"lin", &C::lin, "0.2", "0.2"},
      {"wire", &C::wire, "3", "3"},
      {"flag", &C::flag, "0", "0"},
      {"ns", &C::ns, "0", "1"},
      {"shift", &C::shift, "0", "0"},
      {"th_type1", &C::th_type1, "0", "0"},
      {"th_type2", &C::th_type2, "0", "0"},
      {"th1", &C::th1, "50", "50"},
      {"th2", &C::th2, "60", "60"},
      {"his1", &C::his1, "0.02", "0.02"},
      {"his2", &C::his2, "0.02", "0.02"},
      {"spd_th", &C::spd_th, "0.1", "0.1"},
      {"spd_his", &C::spd_his, "0.01", "0.01"},
      {"koef0", &C::koef0, "0.0", "0.0"},
      {"koef1", &C::koef1, "0.0", "0.0"},
      {"koef2", &C::koef2, "0.0", "0.0"},
      {"koef3", &C::koef3, "0.0", "0.0"},
      {"search", &C::search, "2", "2"},
      {"point", &C::point, "1", "1"},
      {"use", &C::use, "0", "1"},
      {"ver_rel_proc", &C::ver_rel_proc, "1", "0"},
      {"reg_int", &C::reg_int, "30", "30"},
      {"pulse_int", &C::pulse_int, "5", "5"},
      {"text", &C::text, kChannelNameMark, kChannelNameMark},
      {"unit", &C::unit, "<....>", "<....>"},
      {"select", &C::select, "1", "1"},
      {"uref", &C::uref, "26.32", "26.32"},
      {"rref", &C::rref, "7491.0", "7491.0"},
      {"ku", &C::ku, "94.44", "94.44"},
      {"ku10", &C::ku10, "9.43", "9.43"},
      {"ki05", &C::ki05, "18.43", "18.43"},
      {"ki020", &C::ki020, "18.43", "18.43"},
      {"set_ra", &C::set_ra, "40.0", "40.0"},
      {"set_rb", &C::set_rb, "300.0", "300.0"},
      {"set_ki05", &C::set_ki05, "5.0", "5.0"},
      {"set_ki020", &C::set_ki020, "20.0", "20.0"},
      {"set_ku", &C::set_ku, "100.0", "100.0"},
      {"set_ku10", &C::set_ku10, "10.0", "10.0"},
  }};
  return kEys;
}

const std::array<std::string_view, kChannelKeyCount>& ChannelSaveOrder() {
  static const std::array<std::string_view, kChannelKeyCount> kOrder = {
      "dat",    "diap_max", "diap_min",     "adj",      "lin",       "wire",   "flag",
      "ns",     "shift",    "th_type1",     "th_type2", "th1",       "th2",    "his1",
      "his2",   "spd_th",   "spd_his",      "koef0",    "koef1",     "koef2",  "koef3",
      "uref",   "rref",     "ku",           "ku10",     "ki05",      "ki020",  "set_ra",
      "set_rb", "set_ku",   "set_ku10",     "set_ki05", "set_ki020", "search", "point",
      "select", "use",      "ver_rel_proc", "reg_int",  "pulse_int", "text",   "unit",
  };
  return kOrder;
}

const ChannelKey& FindChannelKey(std::string_view name) {
  const auto& keys = ChannelKeys();
  return *std::find_if(keys.begin(), keys.end(), [&](const ChannelKey& k) { return k.name == name; });
}

std::string ChannelSection(int channel) { return "CH" + std::to_string(channel); }

std::string ChannelKeyText(std::string_view text, int channel) {
  if (text != kChannelNameMark) return std::string(text);
  return std::string(profile_texts::kChannelName) + std::to_string(channel);
}

}  // namespace zrm
