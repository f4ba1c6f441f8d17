#pragma once
// The main window's controls without the window: one table gives each control's ID, kind,
// caption and place, in the order the window creates them. Tab walks the controls that take the
// focus in that order.

#include <span>
#include <string_view>

namespace tv::form {

// Control IDs. Other processes find each control with GetDlgItem(form, id): never renumber.
namespace ids {

inline constexpr int kUser = 100;
inline constexpr int kText1 = 101;
inline constexpr int kCheck1 = 102;
inline constexpr int kCmdMore = 103;
inline constexpr int kLabel2 = 104;
inline constexpr int kTxtChat = 105;
inline constexpr int kTxtEX = 106;
inline constexpr int kCmdJoin = 107;
inline constexpr int kCheck2 = 108;
inline constexpr int kLabel5 = 109;
inline constexpr int kClearStat = 110;
inline constexpr int kLblClear = 111;
inline constexpr int kLabel6 = 112;
inline constexpr int kLabel7 = 113;
inline constexpr int kChatsendlbl = 114;
inline constexpr int kLabel3 = 115;
inline constexpr int kLabel4 = 116;
inline constexpr int kLine1 = 117;
inline constexpr int kLine2 = 118;
inline constexpr int kLine3 = 119;

// The quick-join button Command<n>, n from 1 to 25, is kCommand0 + n.
inline constexpr int kCommand0 = 200;
constexpr int CommandId(int number) { return kCommand0 + number; }
// The n of Command<n> for a control ID; 0 for any other control.
constexpr int CommandNumber(int id) {
  return id > kCommand0 && id <= CommandId(25) ? id - kCommand0 : 0;
}

// The hidden status labels, right of the client area.
inline constexpr int kLabel1 = 301;
inline constexpr int kRamlbl = 302;
inline constexpr int kRamfreelbl = 303;
inline constexpr int kRunningprogramslbl = 304;
inline constexpr int kCPU = 305;

}  // namespace ids
using namespace ids;

// A place on the window in twips (1/1440 inch) from the top-left corner of the client area.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

inline constexpr int kClientWidthTwips = 3135;
// Client heights: down to the bottom of cmdMore, and down to the last row of room buttons.
inline constexpr int kCollapsedClientTwips = 855;
inline constexpr int kExpandedClientTwips = 6855;

// The captions of cmdMore, the only record of which height the window has.
inline constexpr std::wstring_view kMoreOptions = L"More Options";
inline constexpr std::wstring_view kLessOptions = L"Less Options";

enum class ControlKind {
  kRule,         // a red line; its place has a height of 0 (across) or a width of 0 (down)
  kLabel,        // red text on black
  kTextBox,      // red text on black; takes the focus
  kCheckBox,     // red caption on black; takes the focus
  kButton,       // the platform's look; takes the focus
  kStatusLabel,  // a label outside the client area, never seen
};

struct FormControl {
  int id = 0;
  ControlKind kind = ControlKind::kLabel;
  std::wstring_view caption;
  TwipsRect place;
};

// Every control, the 25 quick-join buttons included, in creation order.
std::span<const FormControl> FormControls();

// The control with that ID; null for none.
const FormControl* FindControl(int id);

}  // namespace tv::form
