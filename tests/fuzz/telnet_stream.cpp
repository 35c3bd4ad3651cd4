// Fuzzes the Telnet side of an RFC 2217 line with whatever a hostile or
// broken server may send (option floods, subnegotiations without their end,
// a stream cut anywhere): decoding never crashes, gives the same data and
// answers however the stream is cut, never answers one option twice the same
// way, and data escaped for sending comes back unchanged. The input sent
// again and again as a flood before the COM-PORT-OPTION is taken is given up
// at the negotiation limit, and inside a subnegotiation that never ends it
// gives nothing: a reader's memory stays bounded, and each byte costs one
// step of work, so a wait over such a stream ends by its deadline.

#include "platform/telnet_stream.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"

namespace {

using namespace zrm;
using fuzz::Require;

struct Decoded {
  std::string data;
  std::string answers;
};

// `stream` fed in pieces of the given sizes (the rest at the end).
Decoded Decode(const std::string& stream, const std::vector<std::size_t>& pieces) {
  TelnetStream telnet;
  Decoded out;
  out.answers = telnet.Greeting();
  std::size_t at = 0;
  for (std::size_t size : pieces) {
    size = std::min(size, stream.size() - at);
    telnet.Receive(reinterpret_cast<const std::uint8_t*>(stream.data()) + at, size, out.data,
                   out.answers);
    at += size;
  }
  telnet.Receive(reinterpret_cast<const std::uint8_t*>(stream.data()) + at, stream.size() - at,
                 out.data, out.answers);
  return out;
}

constexpr std::uint8_t kIac = 255;
constexpr std::uint8_t kDo = 253;
constexpr std::uint8_t kSb = 250;
constexpr std::uint8_t kSe = 240;
constexpr std::uint8_t kComPort = 44;

// Feeds `opening`, then `endless` again and again, `piece` bytes at a time,
// the way a reader takes a stream from a server that never stops, until
// `total` bytes or the negotiation limit. Each piece is one pass of the
// reader: it gives at most one data byte and one three-byte answer per byte.
struct Flood {
  TelnetStream telnet;
  Decoded out;
  std::size_t fed = 0;
  std::size_t fed_before_com_port = 0;  // in pieces that did not take the option

  void Feed(const std::string& bytes) {
    const std::size_t data_before = out.data.size();
    const std::size_t answers_before = out.answers.size();
    telnet.Receive(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), out.data,
                   out.answers);
    Require(out.data.size() - data_before <= bytes.size(), "a byte gives one data byte at most");
    Require(out.answers.size() - answers_before <= 3 * bytes.size(),
            "a byte gives one answer at most");
    fed += bytes.size();
    if (!telnet.ComPortAccepted()) fed_before_com_port = fed;
  }

  void Run(const std::string& opening, const std::string& endless, std::size_t piece,
           std::size_t total) {
    out.answers = telnet.Greeting();
    Feed(opening);
    for (std::size_t at = 0; fed < total && !telnet.NegotiationOverrun();) {
      std::string bytes;
      while (bytes.size() < piece) {
        bytes += endless[at];
        at = (at + 1) % endless.size();
      }
      Feed(bytes);
    }
  }
};

// A server that floods with `pattern` before it takes the COM-PORT-OPTION:
// the limit is seen within one pass of going past it, so a reader that stops
// there holds no more than the limit and one piece.
void CheckFloodBeforeTheComPort(const std::string& pattern, std::size_t piece) {
  Flood flood;
  flood.Run("", pattern, piece, 3 * TelnetStream::kNegotiationLimit);
  const std::size_t limit = TelnetStream::kNegotiationLimit;
  // The option may be taken in the middle of a piece: the bytes of whole
  // pieces before it came before it, those of the piece that took it may.
  const bool overrun = flood.telnet.NegotiationOverrun();
  Require(overrun || flood.fed_before_com_port <= limit,
          "more than the limit before the option is an overrun");
  Require(!overrun || flood.fed_before_com_port + piece > limit,
          "an overrun needs more than the limit before the option");
  if (!flood.telnet.ComPortAccepted())
    Require(flood.telnet.NegotiationOverrun() && flood.fed <= limit + piece,
            "a flood without the option is given up within one piece of the limit");
  Require(flood.out.data.size() <= flood.fed, "no more data held than bytes taken");
}

// A server that takes the option, then opens a subnegotiation that never
// ends: however long it goes on, nothing comes out, and the stream is still
// in step when the end finally comes.
void CheckEndlessSubnegotiation(const std::string& pattern, std::size_t piece) {
  const std::string body = TelnetStream::EscapeData(
      reinterpret_cast<const std::uint8_t*>(pattern.data()), pattern.size());
  Flood flood;
  const std::string opening = {static_cast<char>(kIac),     static_cast<char>(kDo),
                               static_cast<char>(kComPort), static_cast<char>(kIac),
                               static_cast<char>(kSb),      static_cast<char>(kComPort)};
  flood.Run(opening, body, piece, 2 * TelnetStream::kNegotiationLimit);
  Require(flood.telnet.ComPortAccepted() && !flood.telnet.NegotiationOverrun(),
          "the limit does not count what comes after the option is taken");
  Require(flood.out.data.empty(), "an unended subnegotiation gives no data");
  // The end may come in the middle of the body's doubled 0xFF; a byte of
  // the subnegotiation before it settles that.
  flood.Feed({'x', static_cast<char>(kIac), static_cast<char>(kSe), 'Z'});
  Require(flood.out.data == "Z", "data after the subnegotiation's end comes through");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider input(bytes, size);
  std::vector<std::size_t> pieces(input.ConsumeIntegralInRange<std::size_t>(0, 16));
  for (std::size_t& piece : pieces) piece = input.ConsumeIntegralInRange<std::size_t>(0, 64);
  const std::string stream = input.ConsumeRemainingBytesAsString();

  const Decoded whole = Decode(stream, {});
  const Decoded cut = Decode(stream, pieces);
  Require(whole.data == cut.data && whole.answers == cut.answers,
          "the stream decodes the same however it is cut");
  Require(whole.data.size() <= stream.size(), "no more data out than bytes in");

  // Answers are whole commands, each said once.
  Require(whole.answers.size() % 3 == 0, "answers are three-byte commands");
  std::set<std::string> said;
  for (std::size_t i = 0; i < whole.answers.size(); i += 3) {
    const std::string command = whole.answers.substr(i, 3);
    Require(static_cast<std::uint8_t>(command[0]) == 255, "every answer starts with IAC");
    Require(said.insert(command).second, "no answer is said twice");
  }

  // Our own data, escaped, comes back as it was and asks for nothing.
  const std::string escaped =
      TelnetStream::EscapeData(reinterpret_cast<const std::uint8_t*>(stream.data()), stream.size());
  const Decoded back = Decode(escaped, pieces);
  Require(back.data == stream, "escaped data comes back unchanged");
  Require(back.answers == TelnetStream().Greeting(), "escaped data asks for nothing");

  if (!stream.empty()) {
    const std::size_t piece = pieces.empty() ? 512 : std::max<std::size_t>(pieces[0], 1);
    CheckFloodBeforeTheComPort(stream, piece);
    CheckEndlessSubnegotiation(stream, piece);
  }
  return 0;
}
