// The interpreter's text helpers: RemoveHTML adds nothing, leaves no complete tag and is
// idempotent; Normalise leaves no blank and is idempotent; SplitWords gives between one and the
// asked number of pieces (the first character, modulo 8, asks).

#include "fuzz_support.h"
#include "interp/markup.h"
#include "interp/words.h"

void tv::fuzz::FuzzText(const std::wstring& text) {
  const std::wstring stripped = interp::RemoveHTML(text);
  const std::size_t lt = stripped.find(L'<');
  Check(stripped.size() <= text.size() && interp::RemoveHTML(stripped) == stripped &&
            (lt == std::wstring::npos || stripped.find(L'>', lt) == std::wstring::npos),
        "RemoveHTML: text added, a complete tag left, or not idempotent");
  const std::wstring normal = interp::Normalise(text);
  Check(normal.find(L' ') == std::wstring::npos && interp::Normalise(normal) == normal,
        "Normalise: a blank left, or not idempotent");
  const std::size_t asked = text.empty() ? 0 : static_cast<std::size_t>(text[0]) % 8;
  const std::size_t pieces = interp::SplitWords(text, asked).size();
  Check(pieces >= 1 && pieces <= std::max<std::size_t>(asked, 1), "SplitWords: piece count");
}
