#include "gochat_link.h"

#include <gtest/gtest.h>

namespace roomsim {
namespace {

struct LinkCase {
  const char* link;
  const char* room;
  const char* exchange;
};

class GoChatLinkTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(GoChatLinkTest, ReadsRoomAndExchange) {
  const LinkCase& c = GetParam();
  const auto address = ParseGoChatLink(c.link);
  ASSERT_TRUE(address.has_value()) << c.link;
  EXPECT_EQ(address->room, c.room);
  EXPECT_EQ(address->exchange, c.exchange);
}

INSTANTIATE_TEST_SUITE_P(
    Links, GoChatLinkTest,
    ::testing::Values(LinkCase{"aim:gochat?roomname=lobby&exchange=4", "lobby", "4"},
                      LinkCase{"AIM:GoChat?RoomName=Lobby&Exchange=5", "Lobby", "5"},
                      // "&" and "?" inside a room name travel unescaped.
                      LinkCase{"aim:gochat?roomname=a&b?c&exchange=4", "a&b?c", "4"},
                      LinkCase{"aim:gochat?roomname=x&exchange=1&exchange=2", "x&exchange=1", "2"},
                      LinkCase{"aim:gochat?roomname=lobby&exchange=", "lobby", ""},
                      LinkCase{"aim:gochat?roomname=lobby", "lobby", ""},
                      LinkCase{"aim:gochat?roomname=lobby&exchange=room4", "lobby", "room4"},
                      LinkCase{"aim:gochat?roomname=%22q%22&exchange=%0A", "\"q\"", "\n"},
                      LinkCase{"aim:gochat?roomname=100%&exchange=4", "100%", "4"},
                      LinkCase{"aim:gochat?roomname=a%zzb&exchange=4", "a%zzb", "4"},
                      LinkCase{"aim:gochat?roomname=a%4&exchange=4", "a%4", "4"}));

TEST(GoChatLinkRejects, OtherTextsAndEmptyRoomNames) {
  for (const char* link :
       {"", "aim:", "aim:gochat", "aim:gochat?roomname=", "aim:gochat?roomname=&exchange=4",
        "aim:goim?screenname=x", "http://example.invalid/?roomname=lobby&exchange=4",
        " aim:gochat?roomname=lobby&exchange=4"}) {
    EXPECT_FALSE(ParseGoChatLink(link).has_value()) << link;
  }
}

}  // namespace
}  // namespace roomsim
