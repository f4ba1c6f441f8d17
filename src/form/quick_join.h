#pragma once
// The quick-join panel without its window: the 25 room buttons with their rooms and their places in
// the two grids, and the rule of the join-by-name field. Every join goes through aim::JoinRoom,
// which lower-cases the room and removes its blanks. The controls table makes a button of each.

#include <span>
#include <string>
#include <string_view>

#include "platform/chat_client.h"

namespace tv::form {

struct QuickJoinButton {
  int number = 0;               // n of `Command<n>`
  std::wstring_view caption;    // as shown on the button
  std::wstring_view fixedRoom;  // the room joined; empty: the caption at the click
  std::wstring_view exchange;   // "4" or "5", also the grid the button sits in
  int row = 0;                  // 1-based, within its grid
  int column = 0;               // 1-based, within its grid
};

// All 25 buttons, in keyboard focus order.
std::span<const QuickJoinButton> QuickJoinButtons();

// The button Command<number>; null for none.
const QuickJoinButton* FindQuickJoinButton(int number);

// A click on the button: joins its fixed room, or else the room named by `caption` (the caption
// read at the moment of the click), on the button's exchange.
void JoinQuickRoom(const platform::ChatClientOs& os, const QuickJoinButton& button,
                   const std::wstring& caption);

// "Join Room" with the two texts as typed. Joins nothing when `exchange` is not a number (blanks
// around it are allowed), when `room` is empty, or when no link can name the room (a character
// the ANSI code page lacks); otherwise joins `room` lower-cased and without blanks on `exchange`
// exactly as typed. Returns whether it joined: the window then empties the room box.
bool JoinByName(const platform::ChatClientOs& os, std::wstring_view room,
                std::wstring_view exchange);

}  // namespace tv::form
