#include "aim/room_link.h"

#include <gtest/gtest.h>

#include "fake_chat_room.h"

namespace tv::aim {
namespace {

struct LinkCase {
  std::wstring room, exchange;
  std::string link;
};

class JoinRoomTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(JoinRoomTest, OpensTheLinkHidden) {
  testing::FakeChatRoom room;
  JoinRoom(room.Os(), GetParam().room, GetParam().exchange);
  ASSERT_EQ(room.shell.Calls().size(), 1u);
  const auto& call = room.shell.Calls()[0];
  EXPECT_EQ(call.file, GetParam().link);
  EXPECT_EQ(call.verb, "open");
  EXPECT_EQ(call.owner, platform::kNoWindow);
  EXPECT_FALSE(call.parameters.has_value());
  EXPECT_FALSE(call.directory.has_value());
  EXPECT_EQ(call.showCommand, 0);
  EXPECT_TRUE(room.desktop.Log().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Links, JoinRoomTest,
    ::testing::Values(
        LinkCase{L"Main Lobby", L"4", "aim:gochat?roomname=mainlobby&exchange=4"},
        LinkCase{L"", L"4", "aim:gochat?roomname=&exchange=4"},
        LinkCase{L" Lobby", L"4 x", "aim:gochat?roomname=lobby&exchange=4 x"},
        LinkCase{L"a&b?c=d", L"5", "aim:gochat?roomname=a&b?c=d&exchange=5"},
        LinkCase{L"R\u00C9SUM\u00C9", L"4", "aim:gochat?roomname=r\xE9sum\xE9&exchange=4"},
        // Quotes and control characters would break out of the handler's command line.
        LinkCase{L"x\" --evil \"y", L"4\t", "aim:gochat?roomname=x%22--evil%22y&exchange=4%09"},
        LinkCase{L"a\r\nb", L"\"", "aim:gochat?roomname=a%0D%0Ab&exchange=%22"}));

TEST(JoinRoomTest, ArgumentsAreLeftUnchanged) {
  testing::FakeChatRoom room;
  const std::wstring name = L"My Room";
  const std::wstring exchange = L" 4 ";
  JoinRoom(room.Os(), name, exchange);
  EXPECT_EQ(name, L"My Room");
  EXPECT_EQ(exchange, L" 4 ");
}

}  // namespace
}  // namespace tv::aim
