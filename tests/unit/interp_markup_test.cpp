#include "interp/markup.h"

#include <gtest/gtest.h>

namespace tv::interp {
namespace {

TEST(RemoveHTMLTest, RemovesFromTheLeftmostLessThanToTheNextGreaterThan) {
  const struct {
    std::wstring in, out;
  } cases[] = {
      {L"", L""},
      {L"abc", L"abc"},
      {L"<b>/help</b>", L"/help"},
      {L"<font color=red>/clear</font>", L"/clear"},
      {L"<>", L""},
      {L"a<b", L"a<b"},
      {L"a>b", L"a>b"},
      {L"a>b<c>d", L"a>bd"},
      {L"<<b>>", L">"},
      {L"x<a<b>y", L"xy"},
      {L"&lt;b&gt;", L"&lt;b&gt;"},
      {L"<i>a</i>b<", L"ab<"},
      {L"a<b>c<d", L"ac<d"},
      {L"<a><b><c>", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveHTML(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace tv::interp
