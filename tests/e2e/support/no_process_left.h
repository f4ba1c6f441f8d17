#pragma once
// Declared as a fixture's first member, so destroyed after the tool and roomsim: fails the test
// when any of their processes outlives it.

#include <gtest/gtest.h>

#include "support/tool_process.h"

namespace e2e {

struct NoProcessLeftBehind {
  ~NoProcessLeftBehind() {
    EXPECT_EQ(ProcessCount(L"tavik-varrow.exe"), 0);
    EXPECT_EQ(ProcessCount(L"roomsim.exe"), 0);
  }
};

}  // namespace e2e
