#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/number.h"
#include "common/text.h"
#include "interp/interpreter.h"
#include "interp/markup.h"
#include "interp/words.h"

namespace tv {
namespace {

TEST(TextTest, LowersTheAnsiRangeAndBeyondAndRemovesLeftToRight) {
  // clang-format off
  const std::pair<std::wstring, std::wstring> lower[] = {
      {L"@AZ[ xyz 123 /HELP", L"@az[ xyz 123 /help"},
      {L"\u00C0\u00C9\u00D6\u00D7\u00DE\u00DF", L"\u00E0\u00E9\u00F6\u00D7\u00FE\u00DF"},
      {L"\u0160\u0152\u017D\u0178\u0139\u014A\u0149", L"\u0161\u0153\u017E\u00FF\u013A\u014B\u0149"},
      {L"\u0391\u03A9\u03A2\u0410\u042F\u0401", L"\u03B1\u03C9\u03A2\u0430\u044F\u0451"},
      {L"\u0161\u0131\u0130\u0430", L"\u0161\u0131\u0130\u0430"},
  };
  // clang-format on
  for (const auto& [in, out] : lower) EXPECT_EQ(ToLower(in), out);
  EXPECT_EQ(RemoveAll(L"Chat Room: Chat", L"Chat"), L" Room: ");
  EXPECT_EQ(RemoveAll(L"aaa", L"aa"), L"a");
  EXPECT_EQ(RemoveAll(L"abc", L""), L"abc");
}

// From the leftmost "<" to the next ">", again and again.
TEST(TextTest, RemoveHtml) {
  // clang-format off
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"<font color=red>/clear</font>", L"/clear"}, {L"<>", L""}, {L"a<b", L"a<b"}, {L"a>b<c>d", L"a>bd"},
      {L"<<b>>", L">"}, {L"x<a<b>y", L"xy"}, {L"&lt;b&gt;", L"&lt;b&gt;"}, {L"a<b>c<d", L"ac<d"},
  };
  // clang-format on
  for (const auto& [in, out] : cases) EXPECT_EQ(interp::RemoveHTML(in), out) << in;
}

// Plain decimal numbers only. Inputs past the range of a double are 0 when tiny, none when huge,
// however the digits and the exponent share the power; the fuzzer found the exponents near the
// long long limit, which once overflowed.
TEST(NumberTest, AcceptsPlainDecimalNumbersOnly) {
  const std::wstring zeros(400, L'0');
  // clang-format off
  const std::pair<std::wstring, std::optional<double>> cases[] = {
      {L"4", 4}, {L" 4 ", 4}, {L"4.5", 4.5}, {L"-1", -1}, {L"+.5", 0.5}, {L"5.", 5}, {L"1e3", 1000},
      {L"1E-2", 0.01}, {L"-2.5e+1", -25}, {L"1e-400", 0}, {zeros + L"5e-400", 0}, {L".1e400", {}},
      {L"", {}}, {L" ", {}}, {L".", {}}, {L"-", {}}, {L"4x", {}}, {L"1e", {}}, {L"1e+", {}}, {L"4 5", {}},
      {L"1.2.3", {}}, {L"0x10", {}}, {L"1,000", {}}, {L"inf", {}}, {L"nan", {}}, {L"1e400", {}},
      {L"\t4", {}}, {L"\uFF14", {}}, {L"--1", {}}, {L"10e9223372036854775807", {}},
      {L"10e+9223372036854775807", {}}, {L"0.01e-9223372036854775807", 0},
      {L"1e-99999999999999999999", 0}, {L"+0" + std::wstring(97, L'9') + std::wstring(77, L'0') +
          L"e+" + std::wstring(64, L'0') + L"9223372036854775807", {}},
  };
  // clang-format on
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(NumberValue(text), value) << text;
    EXPECT_EQ(IsNumber(text), value.has_value()) << text;
  }
}

TEST(NumberTest, TakesTheLeadingNumberInShortestPlainForm) {
  // clang-format off
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"4x", L"4"}, {L"room4", L"0"}, {L"4.50", L"4.5"}, {L"4.5.6", L"4.5"}, {L"1e2x", L"100"},
      {L"1ex", L"1"}, {L"", L"0"}, {L"-3abc", L"-3"}, {L"-0", L"0"}, {L" 7", L"7"}, {L"1e400", L"0"},
      {L"1e20", L"100000000000000000000"}, {L"1e-7", L"0.0000001"}, {L"10e9223372036854775807x", L"0"},
  };
  // clang-format on
  for (const auto& [text, shortest] : cases) {
    EXPECT_EQ(ShortestDecimal(LeadingNumberValue(text)), shortest) << text;
  }
}

// Minutes to a clear period: halves to even, refused when 32 bits cannot hold it.
TEST(NumberTest, ClearPeriod) {
  // clang-format off
  const std::pair<double, std::optional<std::int32_t>> cases[] = {
      {0.4, 24000}, {1.5, 90000}, {0.03125, 1875}, {0.40000833333333335, 24000}, {0.400025, 24002},
      {35791.39412499999, 2147483647}, {35791.394125, {}}, {1e300, {}}, {-1e300, {}},
  };
  // clang-format on
  for (const auto& [minutes, ms] : cases) EXPECT_EQ(interp::ClearPeriodMs(minutes), ms) << minutes;
}

TEST(NumberTest, WordsNormaliseAndSplitAtSingleBlanks) {
  EXPECT_EQ(interp::Normalise(L"/HeL P \u00C0\t\n"), L"/help\u00E0\t\n");
  // clang-format off
  const std::tuple<std::wstring, std::size_t, std::vector<std::wstring>> cases[] = {
      {L"/join  lobby 4", 3, {L"/join", L"", L"lobby4"}}, {L"/join my room 4", 3, {L"/join", L"my", L"room4"}},
      {L"/rj  4", 2, {L"/rj", L"4"}}, {L"/RJ", 2, {L"/rj"}}, {L"/rj ", 2, {L"/rj", L""}}, {L"", 2, {L""}},
      {L"a b c", 0, {L"abc"}}, {L" a", 2, {L"", L"a"}},
  };
  // clang-format on
  for (const auto& [text, n, pieces] : cases)
    EXPECT_EQ(interp::SplitWords(text, n), pieces) << text;
}

}  // namespace
}  // namespace tv
