#include "aim/room_link.h"

#include "common/text.h"

namespace tv::aim {
namespace {

void AppendEncoded(std::wstring& out, const std::wstring& text) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  for (wchar_t c : text) {
    if (c < 0x20 || c == L'"') {
      out += L'%';
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
}

}  // namespace

std::wstring RoomLink(const std::wstring& room, const std::wstring& exchange) {
  const std::wstring name = ToLower(RemoveAll(room, L" "));
  std::wstring link = L"aim:gochat?roomname=";
  AppendEncoded(link, name);
  link += L"&exchange=";
  AppendEncoded(link, exchange);
  return link;
}

void JoinRoom(const platform::ChatClientOs& os, const std::wstring& room,
              const std::wstring& exchange) {
  os.shell.ShellExecuteA(platform::kNoWindow, "open", os.codePage.ToAnsi(RoomLink(room, exchange)),
                         std::nullopt, std::nullopt, platform::kSwHide);
}

}  // namespace tv::aim
