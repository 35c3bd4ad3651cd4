#pragma once
// The few pieces of JSON the gateway writes: strings, numbers and the time
// of an answer. Numbers never pass through the process locale.

#include <chrono>
#include <string>
#include <string_view>

namespace zrm {

// `text` as a JSON string with its quotes; UTF-8 passes unchanged.
std::string JsonString(std::string_view text);

// The shortest text that reads back as the same float; "null" for a
// not-a-number and for the infinities, which JSON cannot carry.
std::string JsonFloat(float value);

// "2026-12-08T12:00:00.123+03:00": the local time with milliseconds and the
// local offset from UTC.
std::string LocalIsoTime(std::chrono::system_clock::time_point time);

}  // namespace zrm
