#pragma once
// Shared pieces of the transfer tests: a fake instrument, a recording
// operator, and compact views of what the operator saw.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/device_settings.h"
#include "support/fake_instrument.h"
#include "support/recording_operator.h"

namespace zrm::test {

// The operator calls as one letter each: L lines, S show, H hide, E ESC
// query, T letting messages through; anything else '?'.
inline std::string Pattern(const std::vector<std::string>& calls) {
  std::string out;
  for (const auto& c : calls) {
    if (c.rfind("lines|", 0) == 0) out += 'L';
    else if (c == "show") out += 'S';
    else if (c == "hide") out += 'H';
    else if (c.rfind("esc|", 0) == 0) out += 'E';
    else if (c == "through") out += 'T';
    else out += '?';
  }
  return out;
}

// The recorded form of a SetProgressLines call.
inline std::string LinesCall(const std::string& l1, const std::string& l2, const std::string& l3,
                             const std::string& l4, const std::string& l5, const std::string& l6) {
  return "lines|" + l1 + "|" + l2 + "|" + l3 + "|" + l4 + "|" + l5 + "|" + l6;
}

// Line 3 of every SetProgressLines call, in order.
inline std::vector<std::string> StepTexts(const RecordingOperator& op) {
  std::vector<std::string> out;
  for (const auto& c : op.CallsStartingWith("lines|")) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar; (bar = c.find('|', start)) != std::string::npos; start = bar + 1)
      parts.push_back(c.substr(start, bar - start));
    parts.push_back(c.substr(start));
    out.push_back(parts.at(3));
  }
  return out;
}

// Presses ESC (the next query answers true) at the first LetMessagesThrough
// that happens while line 3 shows `step`.
inline void PressEscDuring(RecordingOperator& op, const std::string& step) {
  op.on_through = [&op, step, pressed = false]() mutable {
    if (!pressed && op.lines[2] == step) {
      op.esc.push_back(true);
      pressed = true;
    }
  };
}

// A record with every transfer switch on.
inline DeviceSettings AllSelected() {
  DeviceSettings s;
  s.channel[0].select = 1;
  s.channel[1].select = 1;
  s.relay.select = 1;
  s.general.gen_select = 1;
  return s;
}

class TransferTest : public ::testing::Test {
 protected:
  FakeInstrument device_;
  RecordingOperator op_;
  DeviceSettings s_ = AllSelected();
};

}  // namespace zrm::test
