// The number test agrees with the C library on plain decimal texts, and ShortestDecimal of any
// value it gives reads back as that value (the "/join" exchange goes into the link in that form).

#include <cmath>
#include <cstdlib>

#include "common/number.h"
#include "fuzz_support.h"

namespace {

double CValue(const std::wstring& text, bool& whole) {
  const std::string ascii(text.begin(), text.end());
  char* end = nullptr;
  const double value = std::strtod(ascii.c_str(), &end);
  whole = end != ascii.c_str() && ascii.find_first_not_of(' ', end - ascii.c_str()) == ascii.npos;
  return value;
}

}  // namespace

void tv::fuzz::FuzzText(const std::wstring& text) {
  const std::optional<double> value = NumberValue(text);
  const double leading = LeadingNumberValue(text);
  Check(IsNumber(text) == value.has_value(), "IsNumber: disagrees with NumberValue");
  Check(std::isfinite(leading) && (!value || *value == leading),
        "LeadingNumberValue: not finite, or not the value of a whole number");
  // strtod also reads hexadecimal, inf and nan, and skips other white space: leave those out.
  bool whole = false;
  if (text.find_first_not_of(L" +-.0123456789eE") == std::wstring::npos) {
    const double c = CValue(text, whole);
    const std::optional<double> expected =
        whole && std::isfinite(c) ? std::optional(c) : std::nullopt;
    Check(value == expected, "NumberValue: not the value strtod reads");
  }
  const std::wstring shortest = ShortestDecimal(leading);
  Check(CValue(shortest, whole) == leading && whole, "ShortestDecimal: does not read back");
}
