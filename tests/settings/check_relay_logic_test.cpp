#include "settings/check_relay_logic.h"

#include <gtest/gtest.h>

#include "support/recording_operator.h"

namespace zrm {
namespace {

using test::RecordingOperator;

const std::string kAsk = "ask|Ошибка в настройках реле |";

RelaySettings Masks(std::int32_t r0m0, std::int32_t r0m1, std::int32_t r1m0, std::int32_t r1m1) {
  RelaySettings relay;
  relay.rel0_msk0 = r0m0;
  relay.rel0_msk1 = r0m1;
  relay.rel1_msk0 = r1m0;
  relay.rel1_msk1 = r1m1;
  return relay;
}

TEST(CheckRelayLogicTest, SuitableAssignmentsAskNothing) {
  const struct {
    int proc_ver;
    RelaySettings relay;
  } cases[] = {
      {0, Masks(0x07, 0, 0x05, 0)},
      {1, Masks(0x05, 0x05, 0x04, 0x01)},
      {2, Masks(0x08, 0, 0x40, 0)},
      {3, Masks(0xFF, 0xFF, 0xFF, 0xFF)},  // unknown device types are not questioned
      {-1, Masks(0xFF, 0xFF, 0xFF, 0xFF)},
  };
  for (const auto& c : cases) {
    RecordingOperator op;
    EXPECT_EQ(CheckRelayLogic(c.proc_ver, c.relay, op), result::kOk) << c.proc_ver;
    EXPECT_TRUE(op.calls.empty()) << c.proc_ver;
  }
}

TEST(CheckRelayLogicTest, SingleChannelAsksEveryRowInOrder) {
  RecordingOperator op;
  op.default_answer = true;
  EXPECT_EQ(CheckRelayLogic(0, Masks(0x10, 0x01, 0x40, 0x04), op), result::kOk);
  EXPECT_EQ(op.calls, (std::vector<std::string>{
      kAsk + "В одноканальном приборе реле 1 назначено на второй канал. Записать так как есть?|error|yes",
      kAsk + "В одноканальном приборе реле 2 назначено на второй канал. Записать так как есть?|error|yes",
      kAsk + "В одноканальном приборе реле 1 назначено на управление задвижкой. Записать так как есть?|error|yes",
      kAsk + "В одноканальном приборе реле 2 назначено на управление задвижкой. Записать так как есть?|error|yes",
  }));
}

TEST(CheckRelayLogicTest, TwoChannelSecondSetpointAnsweredYes) {
  RecordingOperator op;
  op.answers = {true};
  EXPECT_EQ(CheckRelayLogic(1, Masks(2, 0, 0, 0), op), result::kOk);
  EXPECT_EQ(op.calls, (std::vector<std::string>{
      kAsk + "В двухканальном приборе реле 1 назначено на вторую уставку первого канала. Записать так как есть?|error|yes"}));
}

TEST(CheckRelayLogicTest, TwoChannelValveQuestionsCarryTwoBlanks) {
  RecordingOperator op;
  op.default_answer = true;
  EXPECT_EQ(CheckRelayLogic(1, Masks(0x22, 0x02, 0x0A, 0x02), op), result::kOk);
  ASSERT_EQ(op.calls.size(), 6u);
  EXPECT_NE(op.calls[1].find("реле 2 назначено на вторую уставку первого"), std::string::npos);
  EXPECT_NE(op.calls[2].find("реле 1 назначено на вторую уставку второго"), std::string::npos);
  EXPECT_NE(op.calls[3].find("реле 2 назначено на вторую уставку второго"), std::string::npos);
  EXPECT_NE(op.calls[4].find("В двухканальном  приборе реле 1 назначено на управление"),
            std::string::npos);
  EXPECT_NE(op.calls[5].find("В двухканальном  приборе реле 2 назначено на управление"),
            std::string::npos);
}

TEST(CheckRelayLogicTest, ValveRegulatorWantsExactlyOneSource) {
  RecordingOperator op;
  op.default_answer = true;
  EXPECT_EQ(CheckRelayLogic(2, Masks(24, 0, 0x20, 0), op), result::kOk);
  EXPECT_EQ(op.calls, (std::vector<std::string>{
      kAsk + "Для реле 1 неправильно выбран источник срабатывания. Записать так как есть?|error|yes"}));

  RecordingOperator events;
  events.default_answer = true;
  EXPECT_EQ(CheckRelayLogic(2, Masks(0x11, 0x01, 0, 0x02), events), result::kOk);
  const std::string relay1 = "В приборе управляющем задвижками реле 1 назначено еще и на уставки или обрыв. Записать так как есть?";
  const std::string relay2 = "В приборе управляющем задвижками реле 2 назначено еще и на уставки или обрыв. Записать так как есть?";
  EXPECT_EQ(events.calls, (std::vector<std::string>{
      kAsk + relay1 + "|error|yes", kAsk + relay1 + "|error|yes", kAsk + relay2 + "|error|yes",
      kAsk + "Для реле 1 неправильно выбран источник срабатывания. Записать так как есть?|error|yes",
      kAsk + "Для реле 2 неправильно выбран источник срабатывания. Записать так как есть?|error|yes"}));
}

TEST(CheckRelayLogicTest, NoStopsWithSeventeen) {
  RecordingOperator op;
  op.answers = {true, false};
  EXPECT_EQ(CheckRelayLogic(0, Masks(0x08, 0x01, 0x08, 0x01), op), result::kStoppedToCorrect);
  EXPECT_EQ(op.calls.size(), 2u);  // the rows after No are not asked
}

}  // namespace
}  // namespace zrm
