// Fuzzes the Telnet side of an RFC 2217 line with whatever a hostile or
// broken server may send (option floods, subnegotiations without their end,
// a stream cut anywhere): decoding never crashes, gives the same data and
// answers however the stream is cut, never answers one option twice the same
// way, and data escaped for sending comes back unchanged.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/telnet_stream.h"

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
  const std::string escaped = TelnetStream::EscapeData(
      reinterpret_cast<const std::uint8_t*>(stream.data()), stream.size());
  const Decoded back = Decode(escaped, pieces);
  Require(back.data == stream, "escaped data comes back unchanged");
  Require(back.answers == TelnetStream().Greeting(), "escaped data asks for nothing");
  return 0;
}
