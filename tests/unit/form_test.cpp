#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "fake_chat_room.h"
#include "form/controls.h"
#include "form/quick_join.h"
#include "form/tool_state.h"
#include "platform/fake/fake_timer.h"

namespace tv::form {
namespace {

bool Overlap(const TwipsRect& a, const TwipsRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// Properties of the layout rather than its numbers: whole pixels at 96 DPI (15 twips), so that
// the window scales it without rounding; rules are lines; everything shown fits the expanded
// window; buttons never overlap; each quick-join button sits under the heading of the exchange it
// joins, and no two join the same room.
TEST(FormControlsTest, LayoutAndQuickJoinButtonsHoldTogether) {
  std::set<int> ids;
  std::vector<const FormControl*> buttons;
  for (const FormControl& c : FormControls()) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    for (const int twips : {c.place.left, c.place.top, c.place.width, c.place.height}) {
      EXPECT_EQ(twips % 15, 0) << c.id;
    }
    EXPECT_EQ(c.kind == ControlKind::kRule, c.place.width == 0 || c.place.height == 0) << c.id;
    if (c.kind == ControlKind::kStatusLabel) continue;  // off the window: the figures' store
    EXPECT_LE(c.place.left + c.place.width, kClientWidthTwips) << c.id;
    EXPECT_LE(c.place.top + c.place.height, kExpandedClientTwips) << c.id;
    if (c.kind != ControlKind::kButton) continue;
    for (const FormControl* other : buttons) EXPECT_FALSE(Overlap(c.place, other->place)) << c.id;
    buttons.push_back(&c);
  }
  const int heading4 = FindControl(kLabel3)->place.top, heading5 = FindControl(kLabel4)->place.top;
  testing::FakeChatRoom room;
  std::set<std::string> links;
  for (const QuickJoinButton& button : QuickJoinButtons()) {
    const FormControl* control = FindControl(CommandId(button.number));
    ASSERT_NE(control, nullptr) << button.number;
    ASSERT_EQ(FindQuickJoinButton(control->id), &button);
    const int top = control->place.top;
    EXPECT_TRUE(button.exchange == L"5" ? top > heading5 : top > heading4 && top < heading5)
        << button.number;
    JoinQuickRoom(room.Os(), button, std::wstring(control->caption));
    EXPECT_TRUE(room.shell.Calls().back().file.ends_with("&exchange=" +
                                                         std::string(1, button.exchange[0])));
    EXPECT_TRUE(links.insert(room.shell.Calls().back().file).second) << button.number;
  }
  EXPECT_EQ(links.size(), 25u);
}

TEST(ToolStateTest, ReportsChangesWithTheNewValueInPlaceAndRunsTheClearTimer) {
  platform::FakeTimer timer;
  ToolState state{timer};
  std::vector<ToolState::Field> changes;
  std::wstring seen;
  state.SetListener([&](ToolState::Field field) {
    changes.push_back(field);
    seen = state.userName();
  });
  state.SetUserName(L"tester");
  state.SetUserName(L"tester");
  state.SetSendsOff(true);
  state.SetSendsText(L"On");
  EXPECT_EQ(changes, (std::vector{ToolState::Field::kUserName, ToolState::Field::kSendsOff}));
  EXPECT_EQ(seen, L"tester");
  // A running timer restarted with a period of 0 or less stops; without a period it keeps its own.
  const struct {
    std::optional<std::int32_t> period;
    std::int32_t runs;  // 0: stopped
  } steps[] = {{60'000, 60'000}, {0, 0}, {std::nullopt, 0}, {5, 5}, {std::nullopt, 5}, {-1, 0}};
  for (const auto& s : steps) {
    state.StartClearTimer(s.period);
    EXPECT_TRUE(state.clearTimerOn());
    EXPECT_EQ(timer.running() ? timer.period().count() : 0, s.runs) << s.period.value_or(-99);
  }
  state.StopClearTimer();
  EXPECT_FALSE(state.clearTimerOn() || timer.running());
}

}  // namespace
}  // namespace tv::form
