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

// The bytes as text. Well-formed UTF-8 sequences give their code point, so that seeds stay
// readable and mutations still reach characters beyond Latin-1; any other byte stands for the
// Latin-1 character of the same code.
inline std::wstring DecodeText(const std::uint8_t* data, std::size_t size) {
  std::wstring out;
  out.reserve(size);
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t lead = data[i];
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    char32_t code = lead & (0x7Fu >> length);
    bool wellFormed = length > 1 && i + length <= size;
    for (std::size_t k = 1; wellFormed && k < length; ++k) {
      wellFormed = (data[i + k] & 0xC0u) == 0x80u;
      code = (code << 6) | (data[i + k] & 0x3Fu);
    }
    const char32_t least = length == 4 ? 0x10000 : length == 3 ? 0x800 : 0x80;
    wellFormed =
        wellFormed && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    if (wellFormed) {
      out += static_cast<wchar_t>(code);
      i += length;
    } else {
      out += static_cast<wchar_t>(lead);
      ++i;
    }
  }
  return out;
}

// Each target defines this: the properties of what it calls, for one input.
void FuzzText(const std::wstring& text);

}  // namespace tv::fuzz
