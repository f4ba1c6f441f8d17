#include "app/main_window.h"

#include <string_view>

#include "app/client_size.h"
#include "app/control_windows.h"
#include "app/dpi.h"
#include "app/resource.h"
#include "app/single_instance.h"
#include "platform/win32/system_library.h"

namespace tv::app {
namespace {

constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

constexpr char kTrayTip[] = "Tavik Varrow V.2";
constexpr wchar_t kAboutText[] =
    L"Tavik Varrow V.2 by its authors. Thanks to the contributors of the chat scanner, the chat "
    L"window modules and the tips.\r\nThanks to everyone who tested it.";

}  // namespace

MainWindow::MainWindow(const MainWindowParts& parts)
    : chatTymer_(parts.chatTymer),
      cleartmr_(parts.cleartmr),
      timer1_(parts.timer1),
      redBrush_(CreateSolidBrush(kRed)) {}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool MainWindow::Create(HINSTANCE instance, form::Form1& form) {
  form_ = &form;
  if (!RegisterWindowClass(instance)) return Failed(L"registering the window class");
  UniqueMenu menuBar = CreateMenus();
  if (!menuBar) return Failed(L"making the menus");
  // A first guess at the size; Form_Load sets the exact client size at the window's own DPI.
  const UINT dpi = SystemDpi();
  const SIZE outer = OuterSize({TwipsToPixels(form::kClientWidthTwips, dpi),
                                TwipsToPixels(form::kCollapsedClientTwips, dpi)},
                               kFormStyle, kFormExStyle, dpi);
  HWND window =
      CreateWindowExW(kFormExStyle, kFormClassName, kFormCaption, kFormStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, outer.cx, outer.cy, nullptr, menuBar.get(), instance, this);
  // A failure inside WM_CREATE has said which step it was.
  if (window == nullptr) return failure_.empty() ? Failed(L"creating the window") : false;
  static_cast<void>(menuBar.release());  // the window destroys its menu bar
  return true;
}

bool MainWindow::Failed(const wchar_t* step) {
  const DWORD error = GetLastError();
  wchar_t* reason = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
  failure_ = std::wstring(step) + L" failed (error " + std::to_wstring(error) + L")";
  if (reason != nullptr) {
    std::wstring text(reason);
    LocalFree(reason);
    while (!text.empty() &&
           std::wstring_view(L" .\r\n").find(text.back()) != std::wstring_view::npos) {
      text.pop_back();
    }
    failure_ += L": " + text;
  }
  return false;
}

bool MainWindow::RegisterWindowClass(HINSTANCE instance) {
  LoadIcons(instance);
  WNDCLASSEXW description{};
  description.cbSize = sizeof(description);
  description.lpfnWndProc = &MainWindow::WindowProc;
  description.hInstance = instance;
  description.hIcon = bigIcon_.get();
  description.hIconSm = smallIcon_.get();
  description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  description.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  description.lpszClassName = kFormClassName;
  windowClass_ = std::make_unique<WindowClass>(description);
  return windowClass_->registered();
}

// The menu bar shows "About" and "Send To Tray"; "Actions" pops up from the tray icon. Null when
// any of it cannot be made.
UniqueMenu MainWindow::CreateMenus() {
  UniqueMenu menuBar(CreateMenu());
  actionsMenu_.reset(CreatePopupMenu());
  if (!menuBar || !actionsMenu_ || !AppendMenuW(menuBar.get(), MF_STRING, kMnuABout, L"About") ||
      !AppendMenuW(menuBar.get(), MF_STRING, kMnuTray, L"Send To Tray") ||
      !AppendMenuW(actionsMenu_.get(), MF_STRING, kMnuShow, L"Show")) {
    return nullptr;
  }
  return menuBar;
}

void MainWindow::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(FromInteger<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = FromInteger<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // No exception may unwind through the system's dispatch code, which knows nothing of C++: a
  // handler that fails does nothing, as a failed step does everywhere else in the tool.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      return OnCtlColor(FromInteger<HDC>(wParam), FromInteger<HWND>(lParam));
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_SIZE:
      // Minimised, the window may stay active (Wine keeps it so) and hear of no deactivation, yet
      // its restore runs WM_ACTIVATE, which hands the focus back.
      if (wParam == SIZE_MINIMIZED) RememberFocus();
      return 0;
    case WM_POWERBROADCAST:
      OnPowerBroadcast(wParam);
      return TRUE;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *FromInteger<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      Form_Unload();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case kTrayCallbackMessage:
      trayIcon_MouseEvent(LOWORD(lParam));
      return 0;
    default:
      if (message == taskbarCreatedMessage_ && message != 0) trayIcon_.Restore();
      if (message == activateMessage_ && message != 0) {
        OnActivateRunningCopy();
        return 1;
      }
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

// ---- Building and sizing ----

bool MainWindow::OnCreate() {
  dpi_ = WindowDpi(hwnd_);
  taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
  activateMessage_ = ActivateMessage();
  uxtheme_.reset(platform::LoadSystemLibrary("uxtheme.dll"));  // never a planted copy
  if (!CreateControlWindows(hwnd_, uxtheme_.get())) return Failed(L"creating the controls");
  PlaceControlWindows(hwnd_, dpi_);
  controlFont_ = SetControlFont(hwnd_, dpi_);
  if (!controlFont_) return Failed(L"making the controls' font");
  if (!SubclassRoomBox(Control(kTxtChat), *form_)) return Failed(L"hooking the room box's keys");
  lastFocus_ = Control(kCheck1);

  chatTymer_.Bind(hwnd_);
  cleartmr_.Bind(hwnd_);
  timer1_.Bind(hwnd_);
  form_->Form_Load();
  return true;
}

void MainWindow::LoadIcons(HINSTANCE instance) {
  const auto load = [instance](int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TV_IDI_APP), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                         LR_DEFAULTCOLOR));
  };
  bigIcon_.reset(load(SM_CXICON, SM_CYICON));
  smallIcon_.reset(load(SM_CXSMICON, SM_CYSMICON));
}

void MainWindow::SetClientHeight(int twips) {
  clientHeightTwips_ = twips;
  ApplyClientSize();
}

void MainWindow::ApplyClientSize() {
  const SIZE client{TwipsToPixels(form::kClientWidthTwips, dpi_),
                    TwipsToPixels(clientHeightTwips_, dpi_)};
  SetClientSize(hwnd_, client, kFormStyle, kFormExStyle, dpi_);
}

// ---- Messages ----

void MainWindow::OnCommand(int id, int code) {
  switch (id) {
    case kMnuABout:
      mnuABout_Click();
      return;
    case kMnuTray:
      form_->mnuTray_Click();
      return;
    case kMnuShow:
      form_->mnuShow_Click();
      return;
    case kMnuHide:
      form_->mnuHide_Click();
      return;
    default:
      break;
  }
  // IDOK and IDCANCEL (Enter and Esc outside the room box) land here and do nothing.
  if (code == BN_CLICKED) form_->Click(id);
  if (code == EN_CHANGE) form_->Change(id);
}

void MainWindow::OnTimer(UINT_PTR id) {
  if (id == chatTymer_.id()) {
    form_->chat_tymer_Timer();
  } else if (id == cleartmr_.id()) {
    form_->cleartmr_Timer();
  } else if (id == timer1_.id()) {
    form_->Timer1_Timer();
  }
}

LRESULT MainWindow::OnCtlColor(HDC dc, HWND control) {
  if (IsRule(GetDlgCtrlID(control))) return reinterpret_cast<LRESULT>(redBrush_.get());
  SetTextColor(dc, kRed);
  SetBkColor(dc, kBlack);
  return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
}

// A plain window does not keep its focused control across deactivation as a dialog does.
void MainWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    RememberFocus();
    return;
  }
  if (HIWORD(wParam) == 0 && lastFocus_ != nullptr) SetFocus(lastFocus_);
}

void MainWindow::RememberFocus() {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
}

// Windows sends both codes on a resume that the user sees; refreshing twice costs nothing.
void MainWindow::OnPowerBroadcast(WPARAM event) {
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) form_->Form_Resume();
}

// The process may be ended as soon as this returns: the session ends as closing the window does.
void MainWindow::OnEndSession(bool ending) {
  if (ending) Form_Unload();
}

void MainWindow::OnActivateRunningCopy() {
  form_->mnuShow_Click();
  SetForegroundWindow(hwnd_);
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  PlaceControlWindows(hwnd_, dpi_);
  // Without a font for the new DPI the controls keep the old one.
  if (UniqueFont font = SetControlFont(hwnd_, dpi_)) controlFont_ = std::move(font);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyClientSize();
}

void MainWindow::OnDestroy() {
  chatTymer_.Unbind();
  cleartmr_.Unbind();
  timer1_.Unbind();
  // An icon left behind would outlive the program until the pointer passes over it.
  trayIcon_.Remove();
  PostQuitMessage(0);
}

// ---- What the window does itself ----

void MainWindow::Form_Unload() { DestroyWindow(hwnd_); }

void MainWindow::mnuABout_Click() { MessageBoxW(hwnd_, kAboutText, L"About", MB_OK); }

void MainWindow::trayIcon_MouseEvent(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
      form_->mnuShow_Click();
      return;
    case WM_RBUTTONUP:
      ShowActionsMenu();
      return;
    default:
      return;
  }
}

void MainWindow::ShowActionsMenu() {
  POINT pointer{};
  GetCursorPos(&pointer);
  // Without it the menu would stay open when the user clicks elsewhere.
  SetForegroundWindow(hwnd_);
  TrackPopupMenuEx(actionsMenu_.get(), TPM_RIGHTBUTTON, pointer.x, pointer.y, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

// ---- form::FormView ----

std::wstring MainWindow::Text(int control) const { return WindowText(Control(control)); }

void MainWindow::SetText(int control, const std::wstring& text) {
  SetWindowTextW(Control(control), text.c_str());
}

bool MainWindow::IsChecked(int control) const {
  return SendMessageW(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetCheck(int control, bool checked) {
  SendMessageW(Control(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindow::AddTrayIcon() {
  trayIcon_.Add(hwnd_, smallIcon_.get(), kTrayTip, kTrayCallbackMessage);
}

void MainWindow::MinimiseAndHide() {
  ShowWindow(hwnd_, SW_MINIMIZE);
  ShowWindow(hwnd_, SW_HIDE);
}

void MainWindow::RestoreAndShow() {
  ShowWindow(hwnd_, SW_RESTORE);
  ShowWindow(hwnd_, SW_SHOW);
}

}  // namespace tv::app
