#include <gtest/gtest.h>

#include "common/number.h"
#include "interp/interpreter.h"
#include "interp/words.h"

namespace tv::interp {
namespace {

TEST(NumberValueTest, AcceptsPlainDecimalNumbersOnly) {
  const struct {
    std::wstring text;
    std::optional<double> value;
  } cases[] = {
      {L"4", 4},      {L" 4 ", 4},    {L"4.5", 4.5},   {L"-1", -1},       {L"+.5", 0.5},
      {L"5.", 5},     {L"1e3", 1000}, {L"1E-2", 0.01}, {L"-2.5e+1", -25}, {L"0.4", 0.4},
      {L"1e-400", 0}, {L"", {}},      {L" ", {}},      {L".", {}},        {L"-", {}},
      {L"4x", {}},    {L"1e", {}},    {L"1e+", {}},    {L"four", {}},     {L"4 5", {}},
      {L"1.2.3", {}}, {L"0x10", {}},  {L"1,000", {}},  {L"inf", {}},      {L"nan", {}},
      {L"1e400", {}}, {L"$5", {}},    {L"\t4", {}},    {L"\uFF14", {}},   {L"--1", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberValue(c.text), c.value) << c.text;
    EXPECT_EQ(IsNumber(c.text), c.value.has_value()) << c.text;
  }
}

TEST(LeadingNumberTest, TakesTheNumberAtTheStartInShortestPlainForm) {
  const struct {
    std::wstring text, shortest;
  } cases[] = {
      {L"4", L"4"},           {L"4x", L"4"},
      {L"room4", L"0"},       {L"4.50", L"4.5"},
      {L"4.5.6", L"4.5"},     {L"1e2x", L"100"},
      {L"1ex", L"1"},         {L"", L"0"},
      {L".", L"0"},           {L"-3abc", L"-3"},
      {L"-0", L"0"},          {L" 7", L"7"},
      {L"1e400", L"0"},       {L"1e20", L"100000000000000000000"},
      {L"0.0001", L"0.0001"}, {L"1e-7", L"0.0000001"},
      {L"0.1", L"0.1"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortestDecimal(LeadingNumberValue(c.text)), c.shortest);
}

TEST(ClearPeriodTest, RoundsHalvesToEvenAndRefusesWhatA32BitPeriodCannotHold) {
  const struct {
    double minutes;
    std::optional<std::int32_t> ms;
  } cases[] = {
      {0.4, 24000},       {1.5, 90000},
      {5, 300000},        {0.40000833333333335, 24000},
      {0.400025, 24002},  {35791.39412499999, 2147483647},
      {35791.394125, {}}, {1e300, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ClearPeriodMs(c.minutes), c.ms) << c.minutes;
}

TEST(WordsTest, NormalisesAndSplitsAtSingleBlanks) {
  EXPECT_EQ(Normalise(L"/HeL P \u00C0\t\n"), L"/help\u00E0\t\n");
  const struct {
    std::wstring text;
    std::size_t maxPieces;
    std::vector<std::wstring> pieces;
  } cases[] = {
      {L"/join  lobby 4", 3, {L"/join", L"", L"lobby4"}},
      {L"/join my room 4", 3, {L"/join", L"my", L"room4"}},
      {L"/rj  4", 2, {L"/rj", L"4"}},
      {L"/RJ", 2, {L"/rj"}},
      {L"/rj ", 2, {L"/rj", L""}},
      {L"", 2, {L""}},
      {L"a b c", 0, {L"abc"}},
      {L"<b>/ct 5</b>", 3, {L"<b>/ct", L"5</b>"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitWords(c.text, c.maxPieces), c.pieces) << c.text;
}

}  // namespace
}  // namespace tv::interp
