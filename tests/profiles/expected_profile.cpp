#include "expected_profile.h"

#include <iconv.h>

#include <algorithm>
#include <stdexcept>

namespace zrm::test {

std::string SectionText(const std::string& name, const Keys& keys) {
  std::string text = "[" + name + "]\r\n";
  for (const auto& [key, value] : keys) text += key + "=" + value + "\r\n";
  return text;
}

void Override(Keys& keys, const std::string& key, const std::string& value) {
  auto it = std::find_if(keys.begin(), keys.end(), [&](const auto& kv) { return kv.first == key; });
  if (it == keys.end()) throw std::logic_error("no key " + key);
  it->second = value;
}

Keys NewChannelKeys(int channel) {
  return {{"dat", "17"},        {"diap_max", "100"},   {"diap_min", "0"},
          {"adj", "1.0"},       {"lin", "0.2"},        {"wire", "3"},
          {"flag", "0"},        {"ns", "1"},           {"shift", "0"},
          {"th_type1", "0"},    {"th_type2", "0"},     {"th1", "50"},
          {"th2", "60"},        {"his1", "0.02"},      {"his2", "0.02"},
          {"spd_th", "0.1"},    {"spd_his", "0.01"},   {"koef0", "0.0"},
          {"koef1", "0.0"},     {"koef2", "0.0"},      {"koef3", "0.0"},
          {"search", "2"},      {"point", "1"},        {"use", "1"},
          {"ver_rel_proc", "0"}, {"reg_int", "30"},    {"pulse_int", "5"},
          {"text", "Канал " + std::to_string(channel)}, {"unit", "<....>"},
          {"select", "1"},      {"uref", "26.32"},     {"rref", "7491.0"},
          {"ku", "94.44"},      {"ku10", "9.43"},      {"ki05", "18.43"},
          {"ki020", "18.43"},   {"set_ra", "40.0"},    {"set_rb", "300.0"},
          {"set_ki05", "5.0"},  {"set_ki020", "20.0"}, {"set_ku", "100.0"},
          {"set_ku10", "10.0"}};
}

Keys NewGradKeys() {
  return {{"kalib_usr", "8"},    {"kalib_del", "180"},  {"rref_min", "5000.0"},
          {"rref_max", "9000.0"}, {"uref_min", "18.0"}, {"uref_max", "32.0"},
          {"ku_min", "75.0"},    {"ku_max", "115.0"},   {"ku10_min", "7.5"},
          {"ku10_max", "11.5"},  {"ki05_min", "14.0"},  {"ki05_max", "22.0"},
          {"ki020_min", "14.0"}, {"ki020_max", "22.0"}, {"usr_ref", "8"},
          {"usr_ku", "8"},       {"usr_ki", "8"},       {"del_ref", "90"},
          {"del_ku", "40"},      {"del_ki", "40"},      {"wr_grad_immid", "1"}};
}

std::string NewSensorRangeSections() {
  struct Row { int from, to; const char* max; const char* min; const char* pogr; };
  const Row rows[] = {
      {0, 5, "200.0", "-50.0", "0.25"},   {6, 8, "600.0", "-50.0", "0.25"},
      {9, 9, "1300.0", "-50.0", "0.5"},   {10, 10, "600.0", "-50.0", "0.5"},
      {11, 12, "1700.0", "0.0", "0.5"},   {13, 13, "1800.0", "300.0", "0.5"},
      {14, 14, "1100.0", "-50.0", "0.5"}, {15, 15, "2500.0", "0.0", "0.5"},
      {16, 16, "400.0", "-50.0", "0.5"},  {17, 21, "100.0", "0.0", "0.25"},
      {22, 22, "300.0", "0.0", "0.25"},   {23, 23, "100.0", "0.0", "0.25"},
      {24, 24, "1300.0", "-50.0", "0.5"},
  };
  std::string text;
  for (const Row& row : rows)
    for (int code = row.from; code <= row.to; ++code)
      text += SectionText("Dat_bound" + std::to_string(code),
                          {{"max", row.max}, {"min", row.min}, {"pogr", row.pogr}});
  return text;
}

std::string NewProfileText() {
  return SectionText("CH1", NewChannelKeys(1)) + SectionText("CH2", NewChannelKeys(2)) +
         SectionText("RELE", {{"select", "1"}, {"test", "0"}, {"use", "1"}, {"rel0_msk0", "0"},
                              {"rel0_msk1", "0"}, {"rel1_msk0", "0"}, {"rel1_msk1", "0"}}) +
         SectionText("Grad", NewGradKeys()) + SectionText("ERR", {{"err_ver", "1"}}) +
         SectionText("GEN", {{"gen_select", "1"}, {"proc_ver", "0"}, {"use_max", "1"},
                             {"dev_type", "47"}, {"otk_type", "47"}}) +
         SectionText("Definition", {{"txt0", "Прибор ЗРМ 48XX Н. Описание настроек текущего профиля."},
                                    {"txt1", ""}, {"txt2", ""}, {"txt3", ""}}) +
         NewSensorRangeSections();
}

std::string ToCp1251(const std::string& utf8) {
  iconv_t cd = iconv_open("CP1251", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no iconv CP1251");
  std::string out(utf8.size(), '\0');
  char* in_ptr = const_cast<char*>(utf8.data());
  char* out_ptr = out.data();
  std::size_t in_left = utf8.size(), out_left = out.size();
  const std::size_t done = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1)) throw std::runtime_error("not convertible");
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace zrm::test
