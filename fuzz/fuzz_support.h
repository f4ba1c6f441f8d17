#pragma once
// The harness shared by the fuzz targets: harness.cpp turns the fuzzer's bytes into text and
// hands it to the target's FuzzText; Check stops the run when a property fails, so that libFuzzer
// keeps the input as a crash.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tv::fuzz {

// Stops the run when `ok` is false. abort() rather than an exception: libFuzzer saves the input
// on any signal, and no code under test can swallow it.
inline void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "property failed: %s\n", what);
  std::abort();
}

// The bytes as text: a UTF-8 lead byte takes its continuation bytes (unchecked) into one
// character, so that seeds stay readable and mutations reach the Basic Multilingual Plane; any
// other byte is the Latin-1 character of the same code.
inline std::wstring DecodeText(const std::uint8_t* data, std::size_t size) {
  std::wstring out;
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t extra = data[i] >= 0xE0 ? 2 : data[i] >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + extra >= size) {
      out += static_cast<wchar_t>(data[i]);
      continue;
    }
    auto c = static_cast<wchar_t>(data[i] & (0x3F >> extra));
    for (std::size_t k = 0; k < extra; ++k) c = static_cast<wchar_t>(c << 6 | (data[++i] & 0x3F));
    out += c;
  }
  return out;
}

// Each target defines this: the properties of what it calls, for one input.
void FuzzText(const std::wstring& text);

}  // namespace tv::fuzz
