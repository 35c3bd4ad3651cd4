#include "support/fake_line.h"

#include <algorithm>
#include <thread>

#include "link/crc16.h"

namespace zrm::test {

bool FakeLine::Reopen() {
  ++reopen_calls;
  open = reopen_succeeds;
  return open;
}

void FakeLine::Write(const std::uint8_t* data, std::size_t size) {
  if (!open) return;
  written.emplace_back(reinterpret_cast<const char*>(data), size);
  pending += respond(written.back());
}

LineRead FakeLine::Read(std::uint8_t* buffer, std::size_t capacity,
                        SteadyClock::time_point deadline) {
  if (vanish_on_read) open = false;
  if (!open) return {LineReadStatus::kGone, 0};
  if (pending.empty()) {
    std::this_thread::sleep_until(deadline);
    return {LineReadStatus::kTimedOut, 0};
  }
  const std::size_t count = std::min({capacity, max_chunk, pending.size()});
  std::copy_n(pending.begin(), count, buffer);
  pending.erase(0, count);
  return {LineReadStatus::kData, count};
}

std::string ReadReply(const std::string& data, unsigned address) {
  const std::string text = std::to_string(address) + ";" + data + ";";
  const auto crc = Crc16(reinterpret_cast<const std::uint8_t*>(text.data()), 0, text.size() - 1);
  return "!" + text + std::to_string(crc) + "\r";
}

std::string RequestText(const std::string& frame) {
  const std::size_t end = frame.rfind(';');
  return frame.substr(4, end - 3);
}

}  // namespace zrm::test
