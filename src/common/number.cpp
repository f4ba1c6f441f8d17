#include "common/number.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace tv {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsSign(wchar_t c) { return c == L'+' || c == L'-'; }

// Length of the longest decimal number at the start of `text`; 0 when there is none. An exponent
// mark without digits after it is not part of the number.
std::size_t ScanDecimal(std::wstring_view text) {
  std::size_t i = 0;
  auto skipDigits = [&] {
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i - start;
  };
  if (i < text.size() && IsSign(text[i])) ++i;
  std::size_t digits = skipDigits();
  if (i < text.size() && text[i] == L'.') {
    ++i;
    digits += skipDigits();
  }
  if (digits == 0) return 0;
  const std::size_t mantissaEnd = i;
  if (text.substr(i).starts_with(L'e') || text.substr(i).starts_with(L'E')) {
    ++i;
    if (i < text.size() && IsSign(text[i])) ++i;
    if (skipDigits() > 0) return i;
  }
  return mantissaEnd;
}

// Whether a number that a double cannot hold is too small rather than too large: the power of
// ten of its first significant digit is negative. `number` is a whole ScanDecimal match in ASCII.
bool IsTiny(std::string_view number) {
  const std::size_t e = number.find_first_of("eE");
  const std::string_view mantissa = number.substr(0, e);
  long long exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = number.substr(e + 1);
    const bool negative = digits.front() == '-';
    if (negative || digits.front() == '+') digits.remove_prefix(1);
    // Too many digits for a long long, or nearly so: far beyond any mantissa length either way,
    // and capped so that adding the mantissa's power below cannot overflow.
    constexpr long long kFar = std::numeric_limits<long long>::max() / 2;
    if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec != std::errc() ||
        exponent > kFar) {
      exponent = kFar;
    }
    if (negative) exponent = -exponent;
  }
  const std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return true;  // all zeros
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const auto power = first < point ? static_cast<long long>(point - first) - 1
                                   : -static_cast<long long>(first - point);
  return power + exponent < 0;
}

// The value of a whole ScanDecimal match.
std::optional<double> ToDouble(std::wstring_view number) {
  // from_chars takes no leading "+"; everything else of the match is ASCII it accepts.
  if (number.front() == L'+') number.remove_prefix(1);
  const std::string ascii(number.begin(), number.end());
  double value = 0;
  const char* const end = ascii.data() + ascii.size();
  const auto [stop, ec] = std::from_chars(ascii.data(), end, value);
  if (ec == std::errc() && stop == end) return value;
  // from_chars reports overflow and underflow alike.
  if (ec == std::errc::result_out_of_range && IsTiny(ascii))
    return ascii.front() == '-' ? -0.0 : 0.0;
  return std::nullopt;
}

std::wstring_view SkipBlanks(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  return first == std::wstring_view::npos ? std::wstring_view() : text.substr(first);
}

}  // namespace

std::optional<double> NumberValue(std::wstring_view text) {
  text = SkipBlanks(text);
  const std::size_t length = ScanDecimal(text);
  if (length == 0 || text.find_first_not_of(L' ', length) != std::wstring_view::npos) {
    return std::nullopt;
  }
  return ToDouble(text.substr(0, length));
}

bool IsNumber(std::wstring_view text) { return NumberValue(text).has_value(); }

double LeadingNumberValue(std::wstring_view text) {
  text = SkipBlanks(text);
  const std::size_t length = ScanDecimal(text);
  if (length == 0) return 0;
  return ToDouble(text.substr(0, length)).value_or(0);
}

std::wstring ShortestDecimal(double value) {
  if (value == 0) value = 0;  // drops the sign of -0
  // The longest fixed forms of a double, its largest values and its smallest subnormals, take
  // about 330 characters.
  char buffer[400];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc()) return L"0";
  return std::wstring(buffer, end);
}

}  // namespace tv
