// The one entry point of every fuzz target.

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tv::fuzz::FuzzText(tv::fuzz::DecodeText(data, size));
  return 0;
}
