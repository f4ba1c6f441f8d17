#include <gtest/gtest.h>

#include "common/number.h"
#include "common/text.h"
#include "interp/markup.h"
#include "interp/words.h"
#include "model/tool_state.h"

namespace tv {
namespace {

// Tags go from the leftmost "<" to the next ">", again and again; a typed line splits at single
// blanks, the last piece taking the rest.
TEST(TextTest, LowersStripsTagsAndSplitsWords) {
  // clang-format off
  const std::pair<std::wstring, std::wstring> lower[] = {
      {L"@AZ[ xyz 123 /HELP", L"@az[ xyz 123 /help"},
      {L"\u00C0\u00C9\u00D6\u00D7\u00DE\u00DF", L"\u00E0\u00E9\u00F6\u00D7\u00FE\u00DF"},
      {L"\u0160\u0152\u017D\u0178\u0139\u014A\u0149", L"\u0161\u0153\u017E\u00FF\u013A\u014B\u0149"},
      {L"\u0391\u03A9\u03A2\u0410\u042F\u0400\u040F", L"\u03B1\u03C9\u03A2\u0430\u044F\u0450\u045F"},
      {L"\u0161\u0131\u0130\u0430\u0148\u017E\u0180", L"\u0161\u0131\u0130\u0430\u0148\u017E\u0180"},
  };
  // clang-format on
  for (const auto& [in, out] : lower) EXPECT_EQ(ToLower(in), out);
  EXPECT_EQ(RemoveAll(L"abc", L""), L"abc");  // a caption starting with a blank asks for this
  // clang-format off
  const std::pair<std::wstring, std::wstring> html[] = {
      {L"<font color=red>/clear</font>", L"/clear"}, {L"<>", L""}, {L"a<b", L"a<b"}, {L"a>b<c>d", L"a>bd"},
      {L"<<b>>", L">"}, {L"x<a<b>y", L"xy"}, {L"a<b>c<d", L"ac<d"},
  };
  // clang-format on
  for (const auto& [in, out] : html) EXPECT_EQ(interp::RemoveHTML(in), out) << in;
  EXPECT_EQ(interp::Normalise(L"/HeL P \u00C0\t\n"), L"/help\u00E0\t\n");
  // clang-format off
  const std::tuple<std::wstring, std::size_t, std::vector<std::wstring>> words[] = {
      {L"/join  lobby 4", 3, {L"/join", L"", L"lobby4"}}, {L"/rj  4", 2, {L"/rj", L"4"}}, {L"/rj ", 2, {L"/rj", L""}},
      {L"", 2, {L""}}, {L"a b c", 0, {L"abc"}}, {L" a", 2, {L"", L"a"}},
  };
  // clang-format on
  for (const auto& [in, n, out] : words) EXPECT_EQ(interp::SplitWords(in, n), out) << in;
}

// Plain decimal numbers only. Inputs past the range of a double are 0 when tiny, none when huge,
// however the digits and the exponent share the power; the fuzzer found the exponents near the
// long long limit, which once overflowed. The leading number of any text is shown in its shortest
// plain form, and minutes become a clear period with halves to even, refused when 32 bits cannot
// hold it.
TEST(NumberTest, PlainNumbersLeadingNumbersAndClearPeriods) {
  // clang-format off
  const std::pair<std::wstring, std::optional<double>> plain[] = {
      {L" 4 ", 4}, {L"+.5", 0.5}, {L"5.", 5}, {L"1E-2", 0.01}, {L"-2.5e+1", -25}, {L"1e-400", 0},
      {std::wstring(400, L'0') + L"5e-400", 0}, {L".1e400", {}}, {L"", {}}, {L".", {}}, {L"1e+", {}},
      {L"4 5", {}}, {L"1.2.3", {}}, {L"0x10", {}}, {L"1,000", {}}, {L"inf", {}}, {L"\t4", {}}, {L"\uFF14", {}},
      {L"--1", {}}, {L"10e9223372036854775807", {}}, {L"10e+9223372036854775807", {}},
      {L"0.01e-9223372036854775807", 0}, {L"1e-99999999999999999999", 0}, {L"+0" + std::wstring(97, L'9') +
          std::wstring(77, L'0') + L"e+" + std::wstring(64, L'0') + L"9223372036854775807", {}},
  };
  // clang-format on
  for (const auto& [text, value] : plain) EXPECT_EQ(NumberValue(text), value) << text;
  // clang-format off
  const std::pair<std::wstring, std::wstring> lead[] = {
      {L"room4", L"0"}, {L"4.50.6", L"4.5"}, {L"1e2x", L"100"}, {L"1ex", L"1"}, {L"-3abc", L"-3"}, {L"-0", L"0"},
      {L" 7", L"7"}, {L"1e20", L"100000000000000000000"}, {L"1e-7", L"0.0000001"}, {L"10e9223372036854775807x", L"0"},
  };
  // clang-format on
  for (const auto& [in, out] : lead) EXPECT_EQ(ShortestDecimal(LeadingNumberValue(in)), out) << in;
  // clang-format off
  const std::pair<double, std::optional<std::int32_t>> clear[] = {
      {0.4, 24000}, {1.5, 90000}, {0.03125, 1875}, {0.40000833333333335, 24000}, {0.400025, 24002},
      {35791.39412499999, 2147483647}, {35791.394125, {}}, {1e300, {}}, {-1e300, {}},
      {-2147483648.0 / 60000, -2147483647 - 1},
  };
  // clang-format on
  for (const auto& [minutes, ms] : clear) EXPECT_EQ(model::ClearPeriodMs(minutes), ms) << minutes;
}

}  // namespace
}  // namespace tv
