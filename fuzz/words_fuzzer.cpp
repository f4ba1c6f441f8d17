// The normalised form and the split of a message into command words. The first byte is the
// number of pieces asked for (its value modulo 8, so the seed "3/join my room 4" asks for three);
// the rest is the message.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "fuzz_support.h"
#include "interp/words.h"

namespace {

using tv::fuzz::Check;

constexpr std::size_t kNone = std::wstring_view::npos;

void CheckNormalise(std::wstring_view text) {
  const std::wstring normal = tv::interp::Normalise(text);
  std::wstring expected;
  for (const wchar_t c : text) {
    if (c != L' ') expected += tv::LowerChar(c);
  }
  Check(normal == expected, "Normalise: not lower case without blanks");
  // Names are normalised once and compared with names normalised again.
  Check(tv::interp::Normalise(normal) == normal, "Normalise: not idempotent");
}

// Splits at the first `maxPieces - 1` blanks, before any normalising.
std::vector<std::wstring> SplitAtBlanks(std::wstring_view text, std::size_t maxPieces) {
  std::vector<std::wstring> raw;
  std::size_t from = 0;
  while (raw.size() + 1 < maxPieces) {
    const std::size_t blank = text.find(L' ', from);
    if (blank == kNone) break;
    raw.emplace_back(text.substr(from, blank - from));
    from = blank + 1;
  }
  raw.emplace_back(text.substr(from));
  return raw;
}

void CheckSplit(std::wstring_view text, std::size_t maxPieces) {
  const std::vector<std::wstring> pieces = tv::interp::SplitWords(text, maxPieces);
  const std::vector<std::wstring> raw = SplitAtBlanks(text, maxPieces == 0 ? 1 : maxPieces);
  Check(!pieces.empty(), "SplitWords: no piece");
  Check(pieces.size() == raw.size(), "SplitWords: wrong number of pieces");
  for (std::size_t i = 0; i < pieces.size() && i < raw.size(); ++i) {
    Check(pieces[i] == tv::interp::Normalise(raw[i]), "SplitWords: a piece is not normalised");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t maxPieces = data[0] % 8;
  const std::wstring text = tv::fuzz::DecodeText(data + 1, size - 1);
  CheckNormalise(text);
  CheckSplit(text, maxPieces);
  return 0;
}
