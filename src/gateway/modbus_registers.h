#pragma once
// The Modbus register map of one instrument: the input registers made from
// its snapshot, floats as two registers with the high word first, and when
// its snapshot is too old to be served.

#include <array>
#include <chrono>
#include <cstdint>

#include "bus/bus_config.h"
#include "bus/bus_snapshot.h"

namespace zrm {

inline constexpr std::uint16_t kInputRegisterCount = 15;
inline constexpr std::uint16_t kHoldingRegisterCount = 16;  // 100..115

// The float's bits as two registers, the high word first ("ABCD").
std::array<std::uint16_t, 2> FloatRegisters(float value);
float FloatFromRegisters(std::uint16_t high, std::uint16_t low);

// Input registers 0..14 of the instrument at `now` (register 10, the
// seconds since its last answer, saturates at 65535).
std::array<std::uint16_t, kInputRegisterCount> InputRegisters(
    const BusSnapshot& snapshot, std::chrono::steady_clock::time_point now);

// How old a last answer may be before it is no longer served: OfflineAfter
// polls of the instrument, a poll coming round once per sweep of its line
// (the period, or at worst every instrument's attempts all timing out).
std::chrono::milliseconds StaleAfter(const BusTiming& timing, std::int32_t speed,
                                     std::size_t instruments_on_line);

// True when the instrument is online and answered within `stale_after`.
bool Servable(const BusSnapshot& snapshot, std::chrono::steady_clock::time_point now,
              std::chrono::milliseconds stale_after);

}  // namespace zrm
