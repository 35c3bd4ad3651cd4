#pragma once
// What an instrument search tries: the line speeds, the range of network
// addresses and the margin each probe waits beyond the wire time of its
// request and reply. Parsed from the user's texts with nothing sent on a
// mistake.

#include <cstdint>
#include <string>
#include <vector>

namespace zrm {

// The speeds the instruments work at, the order a search tries them in.
inline constexpr std::int32_t kSearchSpeeds[] = {4800, 9600, 19200, 38400, 57600};
inline constexpr std::uint32_t kMaxSearchAddress = 255;

struct SearchPlan {
  std::vector<std::int32_t> speeds{std::begin(kSearchSpeeds), std::end(kSearchSpeeds)};
  std::uint32_t first_address = 1;
  std::uint32_t last_address = 32;
  std::uint32_t margin_ms = 50;  // beyond the wire time of request and reply

  // Probes the plan makes: speeds × addresses.
  std::size_t ProbeCount() const;
};

// "9600,19200": each a speed of kSearchSpeeds, none twice, at least one.
// False with a one-line `error` otherwise; `speeds` is then left alone.
bool ParseSpeedList(const std::string& text, std::vector<std::int32_t>& speeds, std::string& error);

// "A-B" with 1 <= A <= B <= 255, or a single address "A". False with a
// one-line `error` otherwise; the bounds are then left alone.
bool ParseAddressRange(const std::string& text, std::uint32_t& first, std::uint32_t& last,
                       std::string& error);

}  // namespace zrm
