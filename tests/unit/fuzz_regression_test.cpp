// Inputs that the fuzz targets in fuzz/ found failing, kept once fixed.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/number.h"

namespace tv::interp {
namespace {

// An exponent near the largest long long overflowed the sum with the mantissa's power of ten
// (undefined behaviour; in practice a huge number read as 0, so "/ct 10e9223372036854775807"
// refused the clear speed instead of ignoring the line).
TEST(FuzzRegressionTest, ExponentsNearTheLongLongLimitDoNotOverflow) {
  EXPECT_EQ(NumberValue(L"10e9223372036854775807"), std::nullopt);
  EXPECT_EQ(NumberValue(L"10e+9223372036854775807"), std::nullopt);
  EXPECT_EQ(NumberValue(L"0.01e-9223372036854775807"), std::optional<double>(0));
  EXPECT_EQ(NumberValue(L"0.01e-9223372036854775808"), std::optional<double>(0));
  EXPECT_EQ(LeadingNumberValue(L"10e9223372036854775807x"), 0);

  // The input as the number fuzzer found it.
  const std::wstring found = L"+0" + std::wstring(97, L'9') + std::wstring(77, L'0') + L"e+" +
                             std::wstring(64, L'0') + L"9223372036854775807";
  EXPECT_EQ(NumberValue(found), std::nullopt);
}

}  // namespace
}  // namespace tv::interp
