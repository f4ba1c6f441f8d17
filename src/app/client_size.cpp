#include "app/client_size.h"

#include "app/dpi.h"

namespace tv::app {
namespace {

void SetRestoredClientSize(HWND window, SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  GetWindowPlacement(window, &placement);
  const SIZE outer = OuterSize(client, style, exStyle, dpi);
  placement.rcNormalPosition.right = placement.rcNormalPosition.left + outer.cx;
  placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + outer.cy;
  placement.showCmd = IsWindowVisible(window) ? SW_SHOWMINNOACTIVE : SW_HIDE;
  SetWindowPlacement(window, &placement);
}

}  // namespace

void SetClientSize(HWND window, SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
  if (IsIconic(window)) {
    SetRestoredClientSize(window, client, style, exStyle, dpi);
    return;
  }
  for (int pass = 0; pass < 2; ++pass) {  // a second pass when the menu bar re-wrapped
    RECT outer{};
    RECT now{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &now);
    if (now.right == client.cx && now.bottom == client.cy) return;
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + client.cx - now.right,
                 outer.bottom - outer.top + client.cy - now.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace tv::app
