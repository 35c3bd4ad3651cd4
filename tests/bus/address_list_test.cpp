// Address lists as the technician types them.

#include "bus/address_list.h"

#include <gtest/gtest.h>

namespace zrm {
namespace {

TEST(AddressList, ReadsAddressesAndRangesInTheOrderGiven) {
  const struct {
    const char* text;
    std::vector<std::uint32_t> addresses;
  } cases[] = {
      {"7", {7}},   {"1-3,7", {1, 2, 3, 7}}, {"9, 2 - 3 ,1", {9, 2, 3, 1}},
      {"1", {1}},   {"255", {255}},          {"254-255", {254, 255}},
      {"5-5", {5}},
  };
  for (const auto& c : cases) {
    std::vector<std::uint32_t> addresses;
    std::string error;
    EXPECT_TRUE(ParseAddressList(c.text, addresses, error)) << c.text << ": " << error;
    EXPECT_EQ(addresses, c.addresses) << c.text;
  }
}

TEST(AddressList, RefusesWhatNamesNoInstrumentAndSaysWhichItem) {
  const struct {
    const char* text;
    const char* said;  // part of the message
  } cases[] = {
      {"", "Не задан ни один адрес"},
      {" ", "Не задан ни один адрес"},
      {"0", "от 1 до 255: 0"},
      {"256", "от 1 до 255: 256"},
      {"300", "от 1 до 255: 300"},
      {"1-256", "от 1 до 255: 1-256"},
      {"a-b", "от 1 до 255: a-b"},
      {"-3", "от 1 до 255: -3"},
      {"1-2-3", "от 1 до 255: 1-2-3"},
      {"1,,2", "от 1 до 255: "},
      {"1,", "от 1 до 255: "},
      {"4294967297", "от 1 до 255: 4294967297"},
      {"3-1", "первый адрес больше последнего: 3-1"},
      {"1-3,2", "указан дважды: 2"},
      {"4,4", "указан дважды: 4"},
  };
  for (const auto& c : cases) {
    std::vector<std::uint32_t> addresses = {42};
    std::string error;
    EXPECT_FALSE(ParseAddressList(c.text, addresses, error)) << c.text;
    EXPECT_NE(error.find(c.said), std::string::npos) << c.text << ": " << error;
    EXPECT_EQ(addresses, std::vector<std::uint32_t>{42}) << "left as it was: " << c.text;
  }
}

}  // namespace
}  // namespace zrm
