#include "common/text.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(ToLowerTest, LowersLettersOfTheAnsiRangeAndBeyond) {
  const struct {
    std::wstring in, out;
  } cases[] = {
      {L"ABC xyz 123 /HELP", L"abc xyz 123 /help"},
      {L"\u00C0\u00C9\u00D6\u00D7\u00DE\u00DF", L"\u00E0\u00E9\u00F6\u00D7\u00FE\u00DF"},
      {L"\u0160\u0152\u017D\u0178\u0139", L"\u0161\u0153\u017E\u00FF\u013A"},
      {L"\u0391\u03A9\u0410\u042F\u0401", L"\u03B1\u03C9\u0430\u044F\u0451"},
      {L"\u0161\u0131\u0130", L"\u0161\u0131\u0130"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToLower(c.in), c.out);
}

TEST(RemoveAllTest, RemovesEveryOccurrenceLeftToRight) {
  EXPECT_EQ(RemoveAll(L"Chat Room: Chat", L"Chat"), L" Room: ");
  EXPECT_EQ(RemoveAll(L"aaa", L"aa"), L"a");
  EXPECT_EQ(RemoveAll(L"abc", L""), L"abc");
  EXPECT_EQ(RemoveAll(L"", L"x"), L"");
  EXPECT_EQ(RemoveAll(L"a b  c ", L" "), L"abc");
}

}  // namespace
}  // namespace tv
