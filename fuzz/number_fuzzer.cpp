// The number test agrees with the C library on plain decimal texts, and ShortestDecimal of any
// value it gives reads back as that value (the "/join" exchange goes into the link in that form).

#include <cmath>
#include <cstdlib>

#include "common/number.h"
#include "fuzz_support.h"

void tv::fuzz::FuzzText(const std::wstring& text) {
  const std::optional<double> value = NumberValue(text);
  const double leading = LeadingNumberValue(text);
  Check(IsNumber(text) == value.has_value() && std::isfinite(leading) &&
            (!value || *value == leading),
        "IsNumber, NumberValue and LeadingNumberValue disagree");
  // strtod's reading of the whole text, when finite.
  const auto c = [](const std::wstring& wide) -> std::optional<double> {
    const std::string ascii(wide.begin(), wide.end());
    char* end = nullptr;
    const double read = std::strtod(ascii.c_str(), &end);
    const bool whole = end != ascii.c_str() &&
                       ascii.find_first_not_of(' ', end - ascii.c_str()) == std::string::npos;
    return whole && std::isfinite(read) ? std::optional(read) : std::nullopt;
  };
  // strtod also reads hexadecimal, inf and nan, and skips other white space: leave those out.
  if (text.find_first_not_of(L" +-.0123456789eE") == std::wstring::npos) {
    Check(value == c(text), "NumberValue: not the value strtod reads");
  }
  Check(c(ShortestDecimal(leading)) == leading, "ShortestDecimal: does not read back");
}
