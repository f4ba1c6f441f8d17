#include "form/controls.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "fake_chat_room.h"
#include "form/quick_join.h"

namespace tv::form {
namespace {

std::vector<std::string> Links(const testing::FakeChatRoom& room) {
  std::vector<std::string> links;
  for (const auto& call : room.shell.Calls()) links.push_back(call.verb + " " + call.file);
  return links;
}

TEST(FormControlsTest, TabWalksTheFocusOrderAndEveryIdIsOnce) {
  std::vector<int> order;
  std::set<int> ids;
  for (const FormControl& control : FormControls()) {
    EXPECT_TRUE(ids.insert(control.id).second) << control.id;
    const bool focus = control.kind == ControlKind::kTextBox ||
                       control.kind == ControlKind::kCheckBox ||
                       control.kind == ControlKind::kButton;
    if (focus) order.push_back(control.id);
  }
  std::vector<int> expected = {kCheck1, kText1, kCmdMore, kTxtChat, kTxtEX, kCmdJoin};
  for (int n : {1, 2, 3, 4, 5, 6, 13, 14, 15, 16, 8, 9, 10, 11, 7, 12}) {
    expected.push_back(CommandId(n));
  }
  for (int n = 17; n <= 25; ++n) expected.push_back(CommandId(n));
  expected.push_back(kCheck2);
  EXPECT_EQ(order, expected);
}

struct ButtonCase {
  int number;
  std::wstring caption;
  TwipsRect place;
  std::string room, exchange;  // as they reach the link
};

void PrintTo(const ButtonCase& c, std::ostream* out) { *out << "Command" << c.number; }

class QuickJoinButtonTest : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(QuickJoinButtonTest, SitsInItsGridPlaceAndJoinsItsRoom) {
  const ButtonCase& c = GetParam();
  const FormControl* control = FindControl(CommandId(c.number));
  const QuickJoinButton* button = FindQuickJoinButton(CommandId(c.number));
  ASSERT_NE(control, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(control->caption, c.caption);
  EXPECT_EQ(control->place, c.place);
  testing::FakeChatRoom room;
  JoinQuickRoom(room.Os(), *button, std::wstring(button->caption));
  EXPECT_EQ(Links(room), std::vector<std::string>{"open aim:gochat?roomname=" + c.room +
                                                  "&exchange=" + c.exchange});
  EXPECT_TRUE(room.desktop.Log().empty()) << "a join touches no chat window";
}

constexpr int kE4 = 855, kE5 = 1335, kH = 255;

// clang-format off
INSTANTIATE_TEST_SUITE_P(AllButtons, QuickJoinButtonTest, ::testing::Values(
    ButtonCase{1, L"Horny", {240, 3120, kE4, kH}, "horny", "4"},
    ButtonCase{2, L"Chat", {1200, 3120, kE4, kH}, "chat", "4"},
    ButtonCase{4, L"Chat 1", {2160, 3120, kE4, kH}, "chat1", "4"},
    ButtonCase{3, L"Chat 2", {240, 3480, kE4, kH}, "chat2", "4"},
    ButtonCase{5, L"Chat 3", {1200, 3480, kE4, kH}, "chat3", "4"},
    ButtonCase{6, L"Chat 4", {2160, 3480, kE4, kH}, "chat4", "4"},
    ButtonCase{7, L"Love", {240, 3840, kE4, kH}, "love", "4"},
    ButtonCase{11, L"Azn", {1200, 3840, kE4, kH}, "azn", "4"},
    ButtonCase{14, L"Hey", {2160, 3840, kE4, kH}, "hey", "4"},
    ButtonCase{13, L"Cloud 9", {240, 4200, kE4, kH}, "cloud9", "4"},
    ButtonCase{16, L"Bi", {1200, 4200, kE4, kH}, "bi", "4"},
    ButtonCase{15, L"god", {2160, 4200, kE4, kH}, "god", "4"},
    ButtonCase{8, L"Lesbian", {240, 4560, kE4, kH}, "lesbian", "4"},
    ButtonCase{9, L"Gay", {1200, 4560, kE4, kH}, "gay", "4"},
    ButtonCase{10, L"Sex", {2160, 4560, kE4, kH}, "sex", "4"},
    ButtonCase{12, L"BuddyChatr00m", {240, 5160, kE5, kH}, "buddychatr00m", "5"},
    ButtonCase{17, L"Alone At Home", {1680, 5160, kE5, kH}, "aloneathome", "5"},
    ButtonCase{18, L"Single Again", {240, 5520, kE5, kH}, "singleagain", "5"},
    ButtonCase{19, L"Rmnce Conct.", {1680, 5520, kE5, kH}, "romanceconnection", "5"},
    ButtonCase{20, L"Bi Chat", {240, 5880, kE5, kH}, "bichat", "5"},
    ButtonCase{21, L"Lesbian Chat", {1680, 5880, kE5, kH}, "lesbianchat", "5"},
    ButtonCase{22, L"Twenties Love", {240, 6240, kE5, kH}, "twentieslove", "5"},
    ButtonCase{23, L"Thirties Love", {1680, 6240, kE5, kH}, "thirtieslove", "5"},
    ButtonCase{24, L"Fourties Love", {240, 6600, kE5, kH}, "fourtieslove", "5"},
    ButtonCase{25, L"Older Women", {1680, 6600, kE5, kH}, "olderwomen", "5"}));
// clang-format on

struct ByNameCase {
  std::wstring room, exchange;
  bool joins;
  std::string link;  // when it joins
};

void PrintTo(const ByNameCase& c, std::ostream* out) {
  *out << "room " << ::testing::PrintToString(c.room) << " exchange "
       << ::testing::PrintToString(c.exchange);
}

class JoinByNameTest : public ::testing::TestWithParam<ByNameCase> {};

TEST_P(JoinByNameTest, JoinsOnlyANamedRoomOnANumericExchange) {
  const ByNameCase& c = GetParam();
  testing::FakeChatRoom room;
  EXPECT_EQ(JoinByName(room.Os(), c.room, c.exchange), c.joins);
  const std::vector<std::string> expected =
      c.joins ? std::vector<std::string>{"open " + c.link} : std::vector<std::string>{};
  EXPECT_EQ(Links(room), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, JoinByNameTest,
    ::testing::Values(ByNameCase{L"My Room", L"4", true, "aim:gochat?roomname=myroom&exchange=4"},
                      ByNameCase{L"LOBBY", L"4.5", true, "aim:gochat?roomname=lobby&exchange=4.5"},
                      // The exchange goes into the link exactly as typed, blanks and all.
                      ByNameCase{L"lobby", L" 5 ", true, "aim:gochat?roomname=lobby&exchange= 5 "},
                      ByNameCase{L"lobby", L"-4", true, "aim:gochat?roomname=lobby&exchange=-4"},
                      ByNameCase{L"lobby", L"1e3", true, "aim:gochat?roomname=lobby&exchange=1e3"},
                      ByNameCase{L" a b ", L"4", true, "aim:gochat?roomname=ab&exchange=4"},
                      ByNameCase{L"lobby", L"abc", false, ""}, ByNameCase{L"lobby", L"", false, ""},
                      ByNameCase{L"lobby", L"four", false, ""},
                      ByNameCase{L"lobby", L"4x", false, ""},
                      ByNameCase{L"lobby", L"   ", false, ""}, ByNameCase{L"", L"4", false, ""},
                      ByNameCase{L"   ", L"4", true, "aim:gochat?roomname=&exchange=4"}));

}  // namespace
}  // namespace tv::form
