// Polling the emulated instrument through the real serial port and link.

#include <gtest/gtest.h>

#include <string>

#include "lib/simulator.h"
#include "link/link.h"
#include "monitor/current_values_poll.h"
#include "platform/serial_port.h"

namespace zrm {
namespace {

TEST(PollAgainstSimulator, ShowsTheInstrumentsBlockThenKeepsItWhenTheInstrumentVanishes) {
  sim::Simulator simulator;
  std::string error;
  ASSERT_TRUE(simulator.Start(&error)) << error;
  simulator.PinChannelValue(1, 23.5f);
  simulator.PinStatusCode(1, 0);
  simulator.PinChannelBits(2, 0x7F800001u);  // a signalling not-a-number
  simulator.SetInputByte(0x11);

  SerialPort port;
  ASSERT_TRUE(port.Open(simulator.SlavePath(), 9600, error)) << error;
  Link link(port, LinkParams{1, 2, 1000}, nullptr);
  CurrentValues held;

  PollOutcome good = PollCurrentValues(link, held);
  ASSERT_EQ(good.result, result::kOk);
  EXPECT_EQ(good.view.link_state.text, "Получен ответ");
  EXPECT_EQ(good.view.channel[0].value.text, " 23.5000");
  EXPECT_EQ(good.view.channel[0].status.text, "Нормальное измерение");
  EXPECT_EQ(good.view.channel[1].value.text, "-444.0000");
  EXPECT_EQ(good.view.channel[1].status.text, "Ошибка в плавающей арифметике");
  EXPECT_EQ(good.view.key[0].colour, BoxColour::kYellow);
  EXPECT_EQ(good.view.key[4].colour, BoxColour::kYellow);
  EXPECT_EQ(good.view.key[1].colour, BoxColour::kButtonFace);

  const std::string line = FormatMeasurementLine(MeasurementOf(held, link.LastWaitStart()));
  // Time of day and relay byte first; the relays follow the simulator's set points.
  EXPECT_EQ(line.substr(12), "   23.5000  00  -444.0000  04\r\n");

  simulator.Stop();
  PollOutcome lost = PollCurrentValues(link, held);
  EXPECT_EQ(lost.result, result::kNoAnswer);
  EXPECT_EQ(lost.view.link_state.text, "Не дождались ответа");
  EXPECT_EQ(lost.view.link_state.colour, BoxColour::kYellow);
  EXPECT_EQ(lost.view.channel[0].value.text, " 23.5000");
  EXPECT_EQ(lost.view.channel[1].value.text, "-444.0000");
}

}  // namespace
}  // namespace zrm
