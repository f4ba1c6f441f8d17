// RemoveHTML adds nothing, leaves no complete tag and is idempotent.

#include "fuzz_support.h"
#include "interp/markup.h"

void tv::fuzz::FuzzText(const std::wstring& text) {
  const std::wstring stripped = interp::RemoveHTML(text);
  const std::size_t lt = stripped.find(L'<');
  Check(stripped.size() <= text.size(), "RemoveHTML: text added");
  Check(lt == std::wstring::npos || stripped.find(L'>', lt) == std::wstring::npos,
        "RemoveHTML: a complete tag left");
  Check(interp::RemoveHTML(stripped) == stripped, "RemoveHTML: not idempotent");
}
