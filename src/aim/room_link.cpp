#include "aim/room_link.h"

#include <string_view>

#include "common/text.h"

namespace tv::aim {
namespace {

bool IsSafe(unsigned char byte) {
  constexpr std::string_view kMarks = "-._~!$&'()*+,;=:@/?";
  return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= '0' && byte <= '9') || kMarks.find(static_cast<char>(byte)) != kMarks.npos;
}

// The bytes, not the characters, are encoded: a look-alike that the code page would turn into a
// quote never gets that far, and a double-byte character whose trail byte is "\" arrives whole.
bool AppendEncoded(std::string& link, const std::wstring& text, const platform::CodePage& page) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::optional<std::string> bytes = page.ToAnsiExact(text);
  if (!bytes) return false;
  for (const char c : *bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsSafe(byte)) {
      link += c;
    } else {
      link += '%';
      link += kHex[byte >> 4];
      link += kHex[byte & 0xF];
    }
  }
  return true;
}

}  // namespace

std::optional<std::string> RoomLink(const std::wstring& room, const std::wstring& exchange,
                                    const platform::CodePage& codePage) {
  std::string link = "aim:gochat?roomname=";
  if (!AppendEncoded(link, ToLower(RemoveAll(room, L" ")), codePage)) return std::nullopt;
  link += "&exchange=";
  if (!AppendEncoded(link, exchange, codePage)) return std::nullopt;
  return link;
}

bool JoinRoom(const platform::ChatClientOs& os, const std::wstring& room,
              const std::wstring& exchange) {
  const std::optional<std::string> link = RoomLink(room, exchange, os.codePage);
  if (!link) return false;
  os.shell.ShellExecuteA(platform::kNoWindow, "open", *link, std::nullopt, std::nullopt,
                         platform::kSwHide);
  return true;
}

}  // namespace tv::aim
