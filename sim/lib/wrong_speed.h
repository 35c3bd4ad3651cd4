#pragma once
// A client whose line speed differs from the instrument's: the instrument's
// UART and the client's sample each other's bits at the wrong rate, so what
// the client receives is garbage, or nothing at all.

#include <optional>
#include <string>

namespace zrm::sim {

enum class WrongSpeedAnswer {
  kGarbage,  // bytes that make no reply
  kSilent,   // nothing
};

// The output speed the client set on the terminal `fd` (master and slave of a
// pseudo-terminal share their settings), in bits per second; empty when it
// cannot be read or is not a standard rate.
std::optional<unsigned> ClientSpeed(int fd);

// What a client reading at `client_baud` makes of `reply` sent at
// `instrument_baud`: about as many bytes as its sampling yields, none of them
// a CR, "!", "$" or 0xFF, so no reply and no echo of a request can be read
// into them. Deterministic for the same input.
std::string GarbledReply(const std::string& reply, unsigned instrument_baud, unsigned client_baud);

}  // namespace zrm::sim
