#include "interp/words.h"

#include "common/text.h"

namespace tv::interp {

std::wstring Normalise(std::wstring_view text) { return RemoveAll(ToLower(text), L" "); }

std::vector<std::wstring> SplitWords(std::wstring_view text, std::size_t maxPieces) {
  std::vector<std::wstring> pieces;
  std::size_t from = 0;
  for (std::size_t at = text.find(L' ');
       at != std::wstring_view::npos && pieces.size() + 1 < maxPieces; at = text.find(L' ', from)) {
    pieces.push_back(Normalise(text.substr(from, at - from)));
    from = at + 1;
  }
  pieces.push_back(Normalise(text.substr(from)));
  return pieces;
}

}  // namespace tv::interp
