#pragma once
// Sizing a top-level window by its client area rather than by its outer size.

#include <windows.h>

namespace tv::app {

// Gives `window` a client area of `client` pixels, measured against the frame it really has, so
// that a menu bar that takes two lines or an unusual frame still leaves the client area that
// size. A minimised window gets it for when it is restored; the position stays. `style` and
// `exStyle` are the window's own.
void SetClientSize(HWND window, SIZE client, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace tv::app
