#pragma once
// The main window's controls and their places in twips (1/1440 inch) from the top-left
// corner of the client area. The window creates them in the order of FormControls().

#include <string_view>
#include <vector>

#include "interp/quick_join.h"

namespace tv::app {

inline constexpr int kClientWidthTwips = 3135;
// Client heights: down to the bottom of cmdMore, and down to the last row of room buttons.
inline constexpr int kCollapsedClientTwips = 855;
inline constexpr int kExpandedClientTwips = 6855;

enum class ControlKind {
  kRule,         // a red line; its place has a height of 0 (across) or a width of 0 (down)
  kLabel,        // red text on black
  kTextBox,      // red text on black
  kCheckBox,     // red caption on black
  kButton,       // the platform's look
  kStatusLabel,  // a label outside the client area, never seen
};

struct FormControl {
  int id = 0;
  ControlKind kind = ControlKind::kLabel;
  std::wstring_view text;
  interp::TwipsRect place;
};

// Every control in creation order: the rules first, so that they lie on top of the labels they
// cross; then the controls that take the focus, in focus order; then the labels.
std::vector<FormControl> FormControls();

}  // namespace tv::app
