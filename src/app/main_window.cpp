#include "app/main_window.h"

#include <commctrl.h>

#include <algorithm>

#include "aim/chat_window.h"
#include "app/dpi.h"
#include "app/form_layout.h"
#include "app/resource.h"
#include "interp/clear_timer.h"

namespace tv::app {
namespace {

using Field = interp::ToolState::Field;
using Label = sysinfo::StatusLabels::Label;

constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kFontPoints = 8;
constexpr UINT_PTR kTxtChatSubclassId = 1;

constexpr wchar_t kAnnouncement[] = L"[Tavik Varrow V.2][Searching User]";
constexpr char kTrayTip[] = "Tavik Varrow V.2";
constexpr wchar_t kMoreOptions[] = L"More Options";
constexpr wchar_t kLessOptions[] = L"Less Options";
constexpr wchar_t kAboutText[] =
    L"Tavik Varrow V.2 by its authors. Thanks to the contributors of the chat scanner, the chat "
    L"window modules and the tips.\r\nThanks to everyone who tested it.";

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(std::max(GetWindowTextLengthW(window), 0)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool IsChecked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool IsRule(int id) { return id == kLine1 || id == kLine2 || id == kLine3; }

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
  const interp::TwipsRect& t = item.place;
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

const interp::QuickJoinButton* QuickJoinButtonOf(int id) {
  for (const interp::QuickJoinButton& button : interp::QuickJoinButtons()) {
    if (CommandId(button.number) == id) return &button;
  }
  return nullptr;
}

int ControlOf(Label label) {
  switch (label) {
    case Label::kLabel1:
      return kLabel1;
    case Label::kRamlbl:
      return kRamlbl;
    case Label::kRamfreelbl:
      return kRamfreelbl;
    case Label::kRunningprogramslbl:
      return kRunningprogramslbl;
    case Label::kCPU:
      return kCPU;
  }
  return 0;
}

}  // namespace

MainWindow::MainWindow(const MainWindowParts& parts)
    : chatOs_(parts.chatOs),
      systemOs_(parts.systemOs),
      chat_(parts.chat),
      state_(parts.state),
      labels_(parts.labels),
      chatTymer_(parts.chatTymer),
      cleartmr_(parts.cleartmr),
      redBrush_(CreateSolidBrush(kRed)) {}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool MainWindow::Create(HINSTANCE instance) {
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
  if (!windowClass_->registered()) return false;

  UniqueMenu menuBar(CreateMenu());
  AppendMenuW(menuBar.get(), MF_STRING, kMnuABout, L"About");
  AppendMenuW(menuBar.get(), MF_STRING, kMnuTray, L"Send To Tray");
  actionsMenu_.reset(CreatePopupMenu());
  AppendMenuW(actionsMenu_.get(), MF_STRING, kMnuShow, L"Show");

  // A first guess at the size; Form_Load sets the exact client size at the window's own DPI.
  const UINT dpi = SystemDpi();
  const SIZE outer =
      OuterSize({TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kCollapsedClientTwips, dpi)},
                kFormStyle, kFormExStyle, dpi);
  HWND window =
      CreateWindowExW(kFormExStyle, kFormClassName, kFormCaption, kFormStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, outer.cx, outer.cy, nullptr, menuBar.get(), instance, this);
  if (window == nullptr) return false;
  static_cast<void>(menuBar.release());  // the window destroys its menu bar
  return true;
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
  return self->HandleMessage(message, wParam, lParam);
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
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *FromInteger<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      Form_Unload();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case kTrayCallbackMessage:
      trayIcon_MouseEvent(LOWORD(lParam));
      return 0;
    default:
      if (message == taskbarCreatedMessage_ && message != 0) tray_.Restore();
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

// ---- Building and sizing ----

bool MainWindow::OnCreate() {
  dpi_ = WindowDpi(hwnd_);
  taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
  uxtheme_.reset(LoadLibraryW(L"uxtheme.dll"));
  CreateControls();
  LayoutControls();
  ApplyFont();
  SetWindowSubclass(Control(kTxtChat), &MainWindow::TxtChatProc, kTxtChatSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  lastFocus_ = Control(kCheck1);

  state_.SetListener([this](Field field) { ShowToolState(field); });
  labels_.SetListener([this](Label label) { ShowStatusLabel(label); });
  chatTymer_.Bind(hwnd_);
  cleartmr_.Bind(hwnd_);
  timer1_.Bind(hwnd_);
  // The finest rate there is; the uptime label changes once a minute and is written only then.
  timer1_.Start(std::chrono::milliseconds(1));
  Form_Load();
  return true;
}

void MainWindow::CreateControls() {
  auto* instance = FromInteger<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  // Creation order is the focus order: Tab walks the child windows in the order they were made.
  for (const FormControl& item : FormControls()) {
    const DWORD exStyle = item.kind == ControlKind::kTextBox ? WS_EX_CLIENTEDGE : 0;
    HWND control = CreateWindowExW(
        exStyle, ClassOf(item.kind), std::wstring(item.text).c_str(), StyleOf(item.kind), 0, 0, 0,
        0, hwnd_, FromInteger<HMENU>(static_cast<INT_PTR>(item.id)), instance, nullptr);
    // Themed check boxes draw their captions in the theme's colour; the classic look honours
    // WM_CTLCOLORSTATIC, so the captions come out red.
    if (control != nullptr && item.kind == ControlKind::kCheckBox) UseClassicLook(control);
  }
}

void MainWindow::LayoutControls() {
  for (const FormControl& item : FormControls()) {
    const RECT r = PixelRect(item, dpi_);
    SetWindowPos(Control(item.id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// "MS Shell Dlg" is Microsoft Sans Serif on Windows, the face whose widths the layout's label
// sizes fit, and scales with the DPI; Wine maps it to Tahoma.
void MainWindow::ApplyFont() {
  font_.reset(CreateFontW(-MulDiv(kFontPoints, static_cast<int>(dpi_), 72), 0, 0, 0, FW_NORMAL,
                          FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          L"MS Shell Dlg"));
  for (const FormControl& item : FormControls()) {
    SendMessageW(Control(item.id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
}

void MainWindow::UseClassicLook(HWND control) {
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  if (!uxtheme_) return;  // no themes, so the classic look already
  const auto setWindowTheme = reinterpret_cast<SetWindowThemeFn>(
      reinterpret_cast<void*>(GetProcAddress(uxtheme_.get(), "SetWindowTheme")));
  if (setWindowTheme != nullptr) setWindowTheme(control, L"", L"");
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

// Sized from the frame the window really has, so that a menu bar that takes two lines or an
// unusual frame still leaves the client area its intended size.
void MainWindow::ApplyClientSize() {
  const SIZE want{TwipsToPixels(kClientWidthTwips, dpi_), TwipsToPixels(clientHeightTwips_, dpi_)};
  if (IsIconic(hwnd_)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(hwnd_, &placement);
    const SIZE outer = OuterSize(want, kFormStyle, kFormExStyle, dpi_);
    placement.rcNormalPosition.right = placement.rcNormalPosition.left + outer.cx;
    placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + outer.cy;
    placement.showCmd = IsWindowVisible(hwnd_) ? SW_SHOWMINNOACTIVE : SW_HIDE;
    SetWindowPlacement(hwnd_, &placement);
    return;
  }
  for (int pass = 0; pass < 2; ++pass) {  // a second pass when the menu bar re-wrapped
    RECT outer{};
    RECT client{};
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &client);
    if (client.right == want.cx && client.bottom == want.cy) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + want.cx - client.right,
                 outer.bottom - outer.top + want.cy - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ---- Messages ----

void MainWindow::OnCommand(int id, int code) {
  switch (id) {
    case kCheck1:
      if (code == BN_CLICKED) Check1_Click();
      return;
    case kText1:
      if (code == EN_CHANGE) Text1_Change();
      return;
    case kCheck2:
      if (code == BN_CLICKED) Check2_Click();
      return;
    case kCmdMore:
      if (code == BN_CLICKED) cmdMore_Click();
      return;
    case kCmdJoin:
      if (code == BN_CLICKED) cmdJoin_Click();
      return;
    case kMnuABout:
      mnuABout_Click();
      return;
    case kMnuTray:
      mnuTray_Click();
      return;
    case kMnuShow:
      mnuShow_Click();
      return;
    case kMnuHide:
      mnuHide_Click();
      return;
    default:
      break;
  }
  // IDOK and IDCANCEL (Enter and Esc outside the room box) land here and do nothing.
  const interp::QuickJoinButton* button = QuickJoinButtonOf(id);
  if (button != nullptr && code == BN_CLICKED) CommandN_Click(*button);
}

void MainWindow::OnTimer(UINT_PTR id) {
  if (id == chatTymer_.id()) {
    chat_.chat_tymer_Timer();
  } else if (id == cleartmr_.id()) {
    cleartmr_Timer();
  } else if (id == timer1_.id()) {
    Timer1_Timer();
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
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  if (HIWORD(wParam) == 0 && lastFocus_ != nullptr) SetFocus(lastFocus_);
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  LayoutControls();
  ApplyFont();
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyClientSize();
}

void MainWindow::OnDestroy() {
  // The controls go with the window; nothing may write to them any more.
  state_.SetListener(nullptr);
  labels_.SetListener(nullptr);
  chatTymer_.Unbind();
  cleartmr_.Unbind();
  timer1_.Unbind();
  // An icon left behind would outlive the program until the pointer passes over it.
  tray_.Remove();
  PostQuitMessage(0);
}

// ---- The controls' events ----

void MainWindow::Form_Load() {
  labels_.ShowProgramCount();
  labels_.ShowCPU();
  SetClientHeight(kCollapsedClientTwips);
}

void MainWindow::Form_Unload() { DestroyWindow(hwnd_); }

void MainWindow::Check1_Click() {
  const bool ticked = IsChecked(Control(kCheck1));
  state_.SetScanOn(ticked);
  if (ticked) {
    chat_.scan_on();
    chat_.SendChat(kAnnouncement);
  }
  if (!IsChecked(Control(kCheck1))) StopScan();
}

void MainWindow::Text1_Change() { state_.SetUserName(WindowText(Control(kText1))); }

void MainWindow::Check2_Click() { state_.SetSendsOff(IsChecked(Control(kCheck2))); }

void MainWindow::cmdMore_Click() {
  HWND button = Control(kCmdMore);
  const std::wstring caption = WindowText(button);
  if (caption == kMoreOptions) {
    SetClientHeight(kExpandedClientTwips);
    SetWindowTextW(button, kLessOptions);
  } else if (caption == kLessOptions) {
    SetWindowTextW(button, kMoreOptions);
    SetClientHeight(kCollapsedClientTwips);
  }
}

void MainWindow::mnuABout_Click() { MessageBoxW(hwnd_, kAboutText, L"About", MB_OK); }

void MainWindow::mnuTray_Click() {
  tray_.Add(hwnd_, smallIcon_.get(), kTrayTip, kTrayCallbackMessage);
  mnuHide_Click();
}

void MainWindow::mnuHide_Click() {
  if (IsIconic(hwnd_)) return;
  ShowWindow(hwnd_, SW_MINIMIZE);
  ShowWindow(hwnd_, SW_HIDE);
}

void MainWindow::mnuShow_Click() {
  if (IsIconic(hwnd_)) {
    ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
  }
  RemoveTrayIcon();
}

void MainWindow::RemoveTrayIcon() { tray_.Remove(); }

void MainWindow::StopScan() { interp::StopScan(state_, chat_); }

void MainWindow::SendSystemInfo() {
  aim::SendChatText(chatOs_, sysinfo::SystemInfoLine(labels_, systemOs_));
}

void MainWindow::EndProcess() {
  RemoveTrayIcon();
  // At once, without the window's closing handlers.
  ExitProcess(0);
}

void MainWindow::cmdJoin_Click() {
  HWND room = Control(kTxtChat);
  if (interp::JoinByName(chatOs_, WindowText(room), WindowText(Control(kTxtEX)))) {
    SetWindowTextW(room, L"");
  }
}

void MainWindow::txtChat_KeyPress(wchar_t key) {
  if (key == L'\r') cmdJoin_Click();
}

void MainWindow::CommandN_Click(const interp::QuickJoinButton& button) {
  interp::JoinQuickRoom(chatOs_, button, WindowText(Control(CommandId(button.number))));
}

void MainWindow::cleartmr_Timer() { interp::ClearTimerTick(chatOs_, state_); }

void MainWindow::Timer1_Timer() { labels_.Timer1_Timer(); }

void MainWindow::trayIcon_MouseEvent(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
      mnuShow_Click();
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

// ---- Keeping the controls in step ----

void MainWindow::ShowToolState(Field field) {
  switch (field) {
    case Field::kUserName:
      SyncText(kText1, state_.userName());
      return;
    case Field::kScanOn:
      ShowScanOn();
      return;
    case Field::kSendsOff:
      SyncCheck(kCheck2, state_.sendsOff());
      return;
    case Field::kSendsText:
      SyncText(kChatsendlbl, state_.sendsText());
      return;
    case Field::kClearMinutesText:
      SyncText(kLblClear, state_.clearMinutesText());
      return;
    case Field::kClearStatusText:
      SyncText(kClearStat, state_.clearStatusText());
      return;
    case Field::kClearIntervalMs:
    case Field::kClearTimerOn:
      return;  // the clear timer itself holds them
  }
}

// A change of the box by code runs its click handler, as a click would.
void MainWindow::ShowScanOn() {
  HWND box = Control(kCheck1);
  if (IsChecked(box) == state_.scanOn()) return;
  SendMessageW(box, BM_SETCHECK, state_.scanOn() ? BST_CHECKED : BST_UNCHECKED, 0);
  Check1_Click();
}

void MainWindow::ShowStatusLabel(Label label) {
  const std::wstring* caption = nullptr;
  switch (label) {
    case Label::kLabel1:
      caption = &labels_.Label1();
      break;
    case Label::kRamlbl:
      caption = &labels_.ramlbl();
      break;
    case Label::kRamfreelbl:
      caption = &labels_.ramfreelbl();
      break;
    case Label::kRunningprogramslbl:
      caption = &labels_.runningprogramslbl();
      break;
    case Label::kCPU:
      caption = &labels_.CPU();
      break;
  }
  if (caption != nullptr) SyncText(ControlOf(label), *caption);
}

// Only a different text is written: writing Text1 raises EN_CHANGE, which would set the state
// again.
void MainWindow::SyncText(int id, const std::wstring& text) {
  HWND control = Control(id);
  if (WindowText(control) != text) SetWindowTextW(control, text.c_str());
}

void MainWindow::SyncCheck(int id, bool checked) {
  HWND box = Control(id);
  if (IsChecked(box) != checked) {
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

// ---- The room box: Enter joins ----

LRESULT CALLBACK MainWindow::TxtChatProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR subclassId, DWORD_PTR self) {
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
      FromInteger<MainWindow*>(self)->txtChat_KeyPress(static_cast<wchar_t>(wParam));
      // A one-line box only beeps at Enter.
      if (wParam == L'\r') return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, &MainWindow::TxtChatProc, subclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace tv::app
