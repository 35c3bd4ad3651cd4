#pragma once
// The first check before writing: the texts typed into the number fields
// must be numbers, and the serial number a 16-bit decimal number.

#include <array>
#include <string>
#include <string_view>

#include "link/exchange_result.h"
#include "platform/operator.h"

namespace zrm {

inline constexpr int kFieldTextCount = 29;

// The field texts in the order they are checked: channel 1 diap_min, the
// serial number, channel 1 diap_max, shift, adj, th1, th2, his1, his2,
// spd_th, spd_his, koef0..koef3, then channel 2 diap_min, diap_max, shift,
// adj, th1, th2, his1, his2, spd_th, spd_his, koef0..koef3.
using FieldTexts = std::array<std::string, kFieldTextCount>;

// A number text: after trimming blanks and control characters, only the
// characters "0123456789+-." and, read as a number, one whole number ("5.",
// ".5", "-12.5"; not "", "--5", "1..2", "5-3", "-" or ".").
bool IsNumberText(std::string_view text);

// A serial number text: after trimming, decimal digits only (at least one)
// with a value of at most 65535.
bool IsSerialNumberText(std::string_view text);

// Tests the texts in order; at the first text that breaks its rule shows
// an error box with the field's message under its group caption and returns
// 17. Returns 0 when all pass.
ExchangeResult CheckFieldTexts(const FieldTexts& texts, Operator& op);

}  // namespace zrm
