#include "interp/markup.h"

namespace tv::interp {

std::wstring RemoveHTML(std::wstring_view strMessage) {
  std::wstring s(strMessage);
  // Nothing before the tag just removed holds a "<", so each search for the next tag may start
  // where that tag began.
  std::size_t lt = s.find(L'<');
  while (lt != std::wstring::npos) {
    const std::size_t gt = s.find(L'>', lt + 1);
    if (gt == std::wstring::npos) break;
    s.erase(lt, gt - lt + 1);
    lt = s.find(L'<', lt);
  }
  return s;
}

}  // namespace tv::interp
