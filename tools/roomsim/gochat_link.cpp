#include "gochat_link.h"

namespace roomsim {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[i]) != Lower(prefix[i])) return false;
  }
  return true;
}

std::size_t RFindNoCase(std::string_view text, std::string_view what) {
  if (text.size() < what.size()) return std::string_view::npos;
  for (std::size_t i = text.size() - what.size() + 1; i-- > 0;) {
    if (StartsWithNoCase(text.substr(i), what)) return i;
  }
  return std::string_view::npos;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A "%" not followed by two hex digits stays as it is: the tool percent-encodes only a few
// characters, so a literal "%" in a room name is far more likely than a broken escape.
std::string Decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

}  // namespace

std::optional<RoomAddress> ParseGoChatLink(std::string_view link) {
  constexpr std::string_view kHead = "aim:gochat?roomname=";
  constexpr std::string_view kExchange = "&exchange=";
  if (!StartsWithNoCase(link, kHead)) return std::nullopt;
  std::string_view rest = link.substr(kHead.size());
  RoomAddress address;
  const std::size_t at = RFindNoCase(rest, kExchange);
  if (at != std::string_view::npos) {
    address.exchange = Decode(rest.substr(at + kExchange.size()));
    rest = rest.substr(0, at);
  }
  address.room = Decode(rest);
  if (address.room.empty()) return std::nullopt;
  return address;
}

}  // namespace roomsim
