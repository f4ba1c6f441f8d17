#include "form/controls.h"

#include <array>
#include <vector>

#include "form/quick_join.h"

namespace tv::form {
namespace {

using K = ControlKind;

struct Grid {
  std::array<int, 3> lefts;
  int firstTop;
  int width;
};
constexpr int kRowPitch = 360;
constexpr int kButtonHeight = 255;
constexpr Grid kExchange4Grid{{240, 1200, 2160}, 3120, 855};
constexpr Grid kExchange5Grid{{240, 1680, 0}, 5160, 1335};

// The quick-join button's place: the exchange 4 grid has three columns of 855 by 255, the exchange
// 5 grid two columns of 1335 by 255, each five rows deep.
TwipsRect ButtonPlace(const QuickJoinButton& button) {
  const Grid& grid = button.exchange == L"5" ? kExchange5Grid : kExchange4Grid;
  return {grid.lefts.at(button.column - 1), grid.firstTop + (button.row - 1) * kRowPitch,
          grid.width, kButtonHeight};
}

// In creation order; the 25 quick-join buttons (quick_join.cpp) follow cmdJoin.
constexpr FormControl kTable[] = {
    // The rules first, so that they lie on top of the labels they cross.
    {kLine1, K::kRule, L"", {0, 2280, 3120, 0}},
    {kLine3, K::kRule, L"", {3120, 2280, 0, 600}},
    {kLine2, K::kRule, L"", {0, 2760, 3120, 0}},
    // The controls that take the focus, in Tab order.
    {kCheck1, K::kCheckBox, L"Chat Scan", {2040, 240, 1095, 255}},
    {kText1, K::kTextBox, L"", {0, 240, 1920, 285}},
    {kCmdMore, K::kButton, kMoreOptions, {0, 600, 3135, 255}},
    {kTxtChat, K::kTextBox, L"", {0, 1320, 1695, 285}},
    {kTxtEX, K::kTextBox, L"4", {1680, 1320, 255, 285}},
    {kCmdJoin, K::kButton, L"Join Room", {2040, 1320, 1095, 255}},
    {kCheck2, K::kCheckBox, L"Chatsends Off Except For Help and Sysinfo", {0, 1800, 3015, 375}},
    // The value labels come before the captions they overlap by a pixel, so that they lie on top
    // and show their first letter whole.
    {kUser, K::kLabel, L"User", {0, 0, 495, 255}},
    {kLabel2, K::kLabel, L"Quick Chatroom Join", {840, 1080, 1575, 255}},
    {kClearStat, K::kLabel, L"Off", {960, 2280, 255, 255}},
    {kLblClear, K::kLabel, L"0", {1320, 2280, 375, 255}},
    {kChatsendlbl, K::kLabel, L"On", {960, 2520, 375, 255}},
    {kLabel5, K::kLabel, L"Clear Timer -", {0, 2280, 975, 255}},
    {kLabel6, K::kLabel, L"Minutes", {1800, 2280, 615, 255}},
    {kLabel7, K::kLabel, L"Chat Sends - ", {0, 2520, 975, 255}},
    {kLabel3, K::kLabel, L"Exchange 4 Chatrooms", {720, 2880, 1815, 255}},
    {kLabel4, K::kLabel, L"Exchange 5 Chatrooms", {720, 4920, 1695, 255}},
    {kLabel1, K::kStatusLabel, L"Uptime", {3960, 120, 2655, 255}},
    {kRamlbl, K::kStatusLabel, L"Ram Available", {3960, 480, 2655, 255}},
    {kRamfreelbl, K::kStatusLabel, L"Ram Free", {3960, 840, 2655, 255}},
    {kRunningprogramslbl, K::kStatusLabel, L"Running Programs", {3960, 1200, 2655, 255}},
    {kCPU, K::kStatusLabel, L"CPU Model", {3960, 1560, 2655, 255}},
};

std::vector<FormControl> InCreationOrder() {
  std::vector<FormControl> all;
  for (const FormControl& row : kTable) {
    all.push_back(row);
    if (row.id != kCmdJoin) continue;
    for (const QuickJoinButton& button : QuickJoinButtons()) {
      all.push_back({CommandId(button.number), K::kButton, button.caption, ButtonPlace(button)});
    }
  }
  return all;
}

}  // namespace

std::span<const FormControl> FormControls() {
  static const std::vector<FormControl> controls = InCreationOrder();
  return controls;
}

const FormControl* FindControl(int id) {
  for (const FormControl& control : FormControls()) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

}  // namespace tv::form
