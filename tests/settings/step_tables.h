#pragma once
// The exchanges of the step tables as the fake instrument logs them: the
// reads of each group of a whole-image read, in order. One list per group so
// that tests can put together the sequence a set of switches gives.

#include <string>
#include <vector>

namespace zrm::test {

inline const std::vector<std::string> kChannel1Reads = {
    "rb 2:315", "rd 2:15", "rd 2:13", "rb 2:323", "rd 2:3",  "rd 2:1",   "rd 2:29", "rd 2:37",
    "rb 2:327", "rd 2:30", "rd 2:38", "rb 2:328", "rb 2:317", "rb 2:319", "rb 2:341", "rb 2:321",
    "rd 2:31",  "rd 2:32", "rd 2:5",  "rd 2:6",   "rd 2:7",  "rd 2:8"};

// Set points, hystereses, their types, change steps and the polynomial step
// by 4 per channel, the rest by 1.
inline const std::vector<std::string> kChannel2Reads = {
    "rb 2:316", "rd 2:16", "rd 2:14", "rb 2:324", "rd 2:4",  "rd 2:2",   "rd 2:33", "rd 2:41",
    "rb 2:331", "rd 2:34", "rd 2:42", "rb 2:332", "rb 2:318", "rb 2:320", "rb 2:342", "rb 2:322",
    "rd 2:35",  "rd 2:36", "rd 2:9",  "rd 2:10",  "rd 2:11", "rd 2:12"};

inline const std::vector<std::string> kRelayReads = {"rb 2:325", "rb 2:326", "rb 2:6",
                                                     "rb 2:7",   "rb 2:8",   "rb 2:9"};

inline const std::vector<std::string> kRegulatorReads = {"rb 2:337", "rb 2:338", "rb 2:339",
                                                         "rb 2:340"};

// Serial number, prefix, date, then firmware version, device type, error
// display.
inline const std::vector<std::string> kGeneralReads = {"rb 2:11", "rb 2:12", "rb 2:14",
                                                       "rb 2:17", "rb 2:18", "rb 2:19",
                                                       "rb 1:6",  "rb 2:3",  "rb 2:4"};

inline std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace zrm::test
