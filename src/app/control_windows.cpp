#include "app/control_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/dpi.h"
#include "form/controls.h"
#include "form/form1.h"

namespace tv::app {
namespace {

using form::ControlKind;
using form::FormControl;

constexpr int kFontPoints = 8;
constexpr UINT_PTR kRoomBoxSubclassId = 1;

const wchar_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kTextBox:
      return L"EDIT";
    case ControlKind::kCheckBox:
    case ControlKind::kButton:
      return L"BUTTON";
    default:
      return L"STATIC";
  }
}

// WS_CLIPSIBLINGS everywhere: the rules cross label rows and must stay drawn over them.
DWORD StyleOf(ControlKind kind) {
  const DWORD base = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  switch (kind) {
    case ControlKind::kTextBox:
      return base | WS_TABSTOP | ES_AUTOHSCROLL;
    case ControlKind::kCheckBox:
      return base | WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE;
    case ControlKind::kButton:
      return base | WS_TABSTOP | BS_PUSHBUTTON;
    default:
      // Cut at the right edge rather than wrapped onto a second line that the height hides.
      return base | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
  }
}

// A rule is a line one device pixel thick (more at high DPI) that includes both end points.
RECT PixelRect(const FormControl& item, UINT dpi) {
  const form::TwipsRect& t = item.place;
  const int left = TwipsToPixels(t.left, dpi);
  const int top = TwipsToPixels(t.top, dpi);
  const int thickness = std::max(1, MulDiv(1, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI));
  int right = TwipsToPixels(t.left + t.width, dpi);
  int bottom = TwipsToPixels(t.top + t.height, dpi);
  if (item.kind == ControlKind::kRule) {
    right += thickness;
    bottom += thickness;
  }
  return {left, top, right, bottom};
}

// Themed check boxes draw their captions in the theme's colour; the classic look honours
// WM_CTLCOLORSTATIC.
void UseClassicLook(HWND control, HMODULE uxtheme) {
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  if (uxtheme == nullptr) return;
  const auto setWindowTheme = reinterpret_cast<SetWindowThemeFn>(
      reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")));
  if (setWindowTheme != nullptr) setWindowTheme(control, L"", L"");
}

LRESULT CALLBACK RoomBoxProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                             UINT_PTR subclassId, DWORD_PTR form) {
  switch (message) {
    case WM_GETDLGCODE: {
      // Asks the dialog keys for Enter, which would otherwise become IDOK and never reach here.
      LRESULT code = DefSubclassProc(edit, message, wParam, lParam);
      const auto* pending = FromInteger<const MSG*>(lParam);
      if (pending != nullptr && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_CHAR:
      try {  // the system's dispatch code must not see an exception
        FromInteger<form::Form1*>(form)->txtChat_KeyPress(static_cast<wchar_t>(wParam));
      } catch (...) {
      }
      // A one-line box only beeps at Enter.
      if (wParam == L'\r') return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, &RoomBoxProc, subclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(std::max(GetWindowTextLengthW(window), 0)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool IsRule(int id) {
  const FormControl* item = form::FindControl(id);
  return item != nullptr && item->kind == ControlKind::kRule;
}

bool CreateControlWindows(HWND form, HMODULE uxtheme) {
  auto* instance = FromInteger<HINSTANCE>(GetWindowLongPtrW(form, GWLP_HINSTANCE));
  for (const FormControl& item : form::FormControls()) {
    const DWORD exStyle = item.kind == ControlKind::kTextBox ? WS_EX_CLIENTEDGE : 0;
    HWND control = CreateWindowExW(
        exStyle, ClassOf(item.kind), std::wstring(item.caption).c_str(), StyleOf(item.kind), 0, 0,
        0, 0, form, FromInteger<HMENU>(static_cast<INT_PTR>(item.id)), instance, nullptr);
    if (control == nullptr) return false;
    if (item.kind == ControlKind::kCheckBox) UseClassicLook(control, uxtheme);
  }
  return true;
}

void PlaceControlWindows(HWND form, UINT dpi) {
  for (const FormControl& item : form::FormControls()) {
    const RECT r = PixelRect(item, dpi);
    SetWindowPos(GetDlgItem(form, item.id), nullptr, r.left, r.top, r.right - r.left,
                 r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// "MS Shell Dlg" is Microsoft Sans Serif on Windows, the face whose widths the layout's label
// sizes fit, and scales with the DPI; Wine maps it to Tahoma.
UniqueFont SetControlFont(HWND form, UINT dpi) {
  UniqueFont font(CreateFontW(-MulDiv(kFontPoints, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL,
                              FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              L"MS Shell Dlg"));
  if (!font) return font;
  for (const FormControl& item : form::FormControls()) {
    SendMessageW(GetDlgItem(form, item.id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  return font;
}

bool SubclassRoomBox(HWND edit, form::Form1& form) {
  return SetWindowSubclass(edit, &RoomBoxProc, kRoomBoxSubclassId,
                           reinterpret_cast<DWORD_PTR>(&form)) != FALSE;
}

}  // namespace tv::app
