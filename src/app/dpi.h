#pragma once
// Dots per inch of the window and the frame size they give. The per-monitor calls exist from
// Windows 10 (1607) on; before that the system's DPI serves for every window.

#include <windows.h>

namespace tv::app {

inline constexpr int kTwipsPerInch = 1440;

// The DPI `window` is drawn at (96 = 100 %).
UINT WindowDpi(HWND window);

// The system DPI, for sizes needed before a window exists.
UINT SystemDpi();

// The outer size of a window with that style and a one-line menu bar around a client area of
// `client` pixels, at `dpi`.
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// Twips to pixels at `dpi`, rounded to the nearest pixel.
inline int TwipsToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

}  // namespace tv::app
