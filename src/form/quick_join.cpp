#include "form/quick_join.h"

#include <array>

#include "aim/room_link.h"
#include "common/number.h"
#include "common/text.h"

namespace tv::form {
namespace {

constexpr std::array<QuickJoinButton, 25> kButtons{{
    {1, L"Horny", L"", L"4", 1, 1},
    {2, L"Chat", L"", L"4", 1, 2},
    {3, L"Chat 2", L"", L"4", 2, 1},
    {4, L"Chat 1", L"", L"4", 1, 3},
    {5, L"Chat 3", L"", L"4", 2, 2},
    {6, L"Chat 4", L"", L"4", 2, 3},
    {13, L"Cloud 9", L"", L"4", 4, 1},
    {14, L"Hey", L"", L"4", 3, 3},
    {15, L"god", L"", L"4", 4, 3},
    {16, L"Bi", L"", L"4", 4, 2},
    {8, L"Lesbian", L"", L"4", 5, 1},
    {9, L"Gay", L"", L"4", 5, 2},
    {10, L"Sex", L"", L"4", 5, 3},
    {11, L"Azn", L"", L"4", 3, 2},
    {7, L"Love", L"", L"4", 3, 1},
    {12, L"BuddyChatr00m", L"", L"5", 1, 1},
    {17, L"Alone At Home", L"", L"5", 1, 2},
    {18, L"Single Again", L"", L"5", 2, 1},
    // The caption is too short for the room's name.
    {19, L"Rmnce Conct.", L"romanceconnection", L"5", 2, 2},
    {20, L"Bi Chat", L"", L"5", 3, 1},
    {21, L"Lesbian Chat", L"", L"5", 3, 2},
    {22, L"Twenties Love", L"", L"5", 4, 1},
    {23, L"Thirties Love", L"", L"5", 4, 2},
    {24, L"Fourties Love", L"", L"5", 5, 1},
    {25, L"Older Women", L"", L"5", 5, 2},
}};

}  // namespace

std::span<const QuickJoinButton> QuickJoinButtons() { return kButtons; }

const QuickJoinButton* FindQuickJoinButton(int number) {
  for (const QuickJoinButton& button : kButtons) {
    if (button.number == number) return &button;
  }
  return nullptr;
}

void JoinQuickRoom(const platform::ChatClientOs& os, const QuickJoinButton& button,
                   const std::wstring& caption) {
  const std::wstring room = button.fixedRoom.empty() ? caption : std::wstring(button.fixedRoom);
  aim::JoinRoom(os, room, std::wstring(button.exchange));
}

bool JoinByName(const platform::ChatClientOs& os, std::wstring_view room,
                std::wstring_view exchange) {
  if (!IsNumber(exchange) || room.empty()) return false;
  // A room of blanks passes: it joins the room with the empty name, as the link allows.
  return aim::JoinRoom(os, ToLower(RemoveAll(room, L" ")), std::wstring(exchange));
}

}  // namespace tv::form
