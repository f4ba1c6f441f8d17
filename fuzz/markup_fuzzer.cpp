// RemoveHTML on arbitrary text: the result of the one-tag-at-a-time rule, done literally, and
// what follows from that rule (idempotence, nothing added, no complete tag left).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "interp/markup.h"

namespace {

using tv::fuzz::Check;

constexpr std::size_t kNone = std::wstring_view::npos;

// The rule as written: find the leftmost "<" and the first ">" after it, cut both and what lies
// between, and start again from the beginning; stop when either is missing. Quadratic, so only
// run on short texts.
std::wstring RemoveTagsLiterally(std::wstring_view message) {
  std::wstring s(message);
  for (;;) {
    const std::size_t lt = s.find(L'<');
    if (lt == kNone) return s;
    const std::size_t gt = s.find(L'>', lt + 1);
    if (gt == kNone) return s;
    s = s.substr(0, lt) + s.substr(gt + 1);
  }
}

bool IsSubsequence(std::wstring_view part, std::wstring_view whole) {
  std::size_t at = 0;
  for (const wchar_t c : part) {
    at = whole.find(c, at);
    if (at == kNone) return false;
    ++at;
  }
  return true;
}

constexpr std::size_t kLiteralCheckLimit = 2048;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring message = tv::fuzz::DecodeText(data, size);
  const std::wstring stripped = tv::interp::RemoveHTML(message);

  if (message.size() <= kLiteralCheckLimit) {
    Check(stripped == RemoveTagsLiterally(message), "RemoveHTML: not the tag-by-tag result");
  }
  Check(IsSubsequence(stripped, message), "RemoveHTML: characters added or reordered");
  if (message.find(L'<') == kNone) Check(stripped == message, "RemoveHTML: changed a tagless text");
  // Stripping stops only when the leftmost "<" has no ">" after it.
  const std::size_t lt = stripped.find(L'<');
  Check(lt == kNone || stripped.find(L'>', lt) == kNone, "RemoveHTML: a complete tag left");
  Check(tv::interp::RemoveHTML(stripped) == stripped, "RemoveHTML: not idempotent");
  return 0;
}
