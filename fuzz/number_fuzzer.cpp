// The number test of the chat commands: NumberValue and LeadingNumberValue against a regular
// expression of the accepted form and the C library's strtod, and ShortestDecimal reading back
// through std::stod, both on parsed values and on the input's first eight bytes as a double.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/number.h"
#include "fuzz_support.h"

namespace {

using tv::fuzz::Check;

constexpr std::size_t kNone = std::wstring_view::npos;

// std::regex recurses per character; longer texts get only the checks that need no reference.
constexpr std::size_t kRegexLimit = 256;

// Optional sign, digits with at most one point (at least one digit), optional exponent. Greedy
// matching from the start gives the longest number there.
const std::wregex& DecimalNumber() {
  static const std::wregex pattern(L"[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?");
  return pattern;
}

std::wstring_view SkipBlanks(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  return first == kNone ? std::wstring_view() : text.substr(first);
}

// The digits-only text as ASCII (every character of a match, and of ShortestDecimal, is ASCII).
std::string Narrow(std::wstring_view text) {
  std::string out;
  for (const wchar_t c : text) out += static_cast<char>(c);
  return out;
}

// A decimal number's value as the C library reads it.
double CValue(const std::string& number) { return std::strtod(number.c_str(), nullptr); }

bool SameDouble(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

void CheckAgainstReference(std::wstring_view text) {
  const std::wstring_view rest = SkipBlanks(text);
  std::match_results<std::wstring_view::const_iterator> match;
  const bool found = std::regex_search(rest.begin(), rest.end(), match, DecimalNumber(),
                                       std::regex_constants::match_continuous);
  const std::optional<double> value = tv::NumberValue(text);
  const double leading = tv::LeadingNumberValue(text);
  if (!found) {
    Check(!value, "NumberValue: a number without the decimal form");
    Check(SameDouble(leading, 0), "LeadingNumberValue: not 0 for a text without a number");
    return;
  }
  const auto length = static_cast<std::size_t>(match.length(0));
  const bool whole = rest.find_first_not_of(L' ', length) == kNone;
  const double expected = CValue(Narrow(rest.substr(0, length)));
  if (std::isinf(expected)) {
    Check(!value, "NumberValue: a number too large for a double");
    Check(SameDouble(leading, 0), "LeadingNumberValue: not 0 for a number too large");
    return;
  }
  Check(value.has_value() == whole, "NumberValue: disagrees with the decimal form");
  if (value) Check(SameDouble(*value, expected), "NumberValue: not the value strtod reads");
  Check(SameDouble(leading, expected), "LeadingNumberValue: not the value strtod reads");
}

// Reads a text back as the tool's caller would. glibc's strtod flags subnormal results as a range
// error, on which std::stod throws although the value is exact; strtod's result stands then.
double ReadBack(const std::string& text) {
  try {
    return std::stod(text);
  } catch (const std::out_of_range&) {
    return CValue(text);
  }
}

void CheckShortestDecimal(double value) {
  const std::wstring text = tv::ShortestDecimal(value);
  Check(!text.empty() && text.find_first_not_of(L"-0123456789.") == kNone,
        "ShortestDecimal: not plain positional notation");
  Check(text.rfind(L'-') == kNone || (text.rfind(L'-') == 0 && value < 0),
        "ShortestDecimal: a minus sign other than in front of a negative value");
  Check(text.find(L'.') == text.rfind(L'.'), "ShortestDecimal: two points");
  const std::string ascii = Narrow(text);
  Check(ReadBack(ascii) == value, "ShortestDecimal: does not read back as the value");
  if (value == 0) Check(text == L"0", "ShortestDecimal: zero is not \"0\"");
  if (value == std::trunc(value)) Check(text.find(L'.') == kNone, "ShortestDecimal: whole, with .");
  if (ascii.find('.') == std::string::npos) return;
  // Shortest: one fractional digit less no longer reads back as the value.
  Check(ascii.back() != '0' && ascii.back() != '.', "ShortestDecimal: a trailing 0 or point");
  std::string shorter = ascii.substr(0, ascii.size() - 1);
  if (shorter.back() == '.') shorter.pop_back();
  Check(ReadBack(shorter) != value, "ShortestDecimal: not the shortest form");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = tv::fuzz::DecodeText(data, size);
  if (text.size() <= kRegexLimit) CheckAgainstReference(text);

  const std::optional<double> value = tv::NumberValue(text);
  const double leading = tv::LeadingNumberValue(text);
  Check(tv::IsNumber(text) == value.has_value(), "IsNumber: disagrees with NumberValue");
  Check(std::isfinite(leading), "LeadingNumberValue: not finite");
  if (value) {
    Check(std::isfinite(*value), "NumberValue: not finite");
    Check(SameDouble(leading, *value), "LeadingNumberValue: differs from NumberValue on a number");
    Check(tv::NumberValue(L"  " + text + L" ").has_value(),
          "NumberValue: blanks around a number make it none");
  }
  // "/join" turns the leading number of the exchange into its link text.
  CheckShortestDecimal(leading);

  if (size >= sizeof(double)) {
    double raw = 0;
    std::memcpy(&raw, data, sizeof raw);
    // Only finite values reach it: LeadingNumberValue gives no others.
    if (std::isfinite(raw)) CheckShortestDecimal(raw);
  }
  return 0;
}
