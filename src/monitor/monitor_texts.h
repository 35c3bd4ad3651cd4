#pragma once
// The texts of the current values page: the instrument's status texts, the
// link state texts, the lamp captions and the reading button.

#include <cstdint>
#include <string>

#include "link/exchange_result.h"

namespace zrm {

// Number of status codes the instrument names (0..15).
inline constexpr int kStatusTextCount = 16;

// Text of a channel status code. Codes 16..255 have no name; they are shown
// as "Код состояния N" so the technician still sees what the instrument sent.
std::string StatusText(std::uint8_t code);

// Text of the link state box after a poll with `result`.
std::string LinkStateText(ExchangeResult result);
// Text of the link state box while the polling is paused.
std::string PollPausedText();

// Captions of the lamp boxes.
std::string SetpointLampCaption(int setpoint);  // "Уставка 1", "Уставка 2"
std::string BreakLampCaption();                 // "Обрыв"
std::string RelayLampCaption(int relay);        // "Реле 1", "Реле 2"
// Button lamp captions by input bit 0..4: "1", "Гистерезис", "2", "0", "Диапазон".
std::string ButtonLampCaption(int bit);

// Column captions of the exported trend: "Время", "Канал 1",
// "Состояние канала 1", "Уставка 1 канала 1" (channel and set point 1 or 2).
std::string TimeColumnCaption();
std::string ChannelColumnCaption(int channel);
std::string StatusColumnCaption(int channel);
std::string SetpointColumnCaption(int setpoint, int channel);

// Text of the reading button: it pauses a running poll and resumes a paused one.
std::string ReadingButtonText(bool paused);

}  // namespace zrm
