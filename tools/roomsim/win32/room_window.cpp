#include "win32/room_window.h"

#include <utility>

#include "win32/handles.h"

namespace roomsim::win32 {
namespace {

constexpr int kMargin = 6;
constexpr int kInputHeight = 44;
constexpr int kButtonHeight = 26;
constexpr int kButtonWidth = 52;
constexpr int kLineGap = 3;
constexpr SIZE kRoomSize{460, 420};
constexpr COLORREF kOwnColour = RGB(0xff, 0x00, 0x00);
constexpr COLORREF kOtherColour = RGB(0x00, 0x00, 0xff);
constexpr COLORREF kMessageColour = RGB(0x00, 0x00, 0x00);
constexpr COLORREF kPaper = RGB(0xff, 0xff, 0xff);
constexpr const char* kButtonCaptions[] = {"Aa", "B", "I", "U", "Send", ":-)"};

RECT ClientRect(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  return rect;
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  ::SetBkColor(dc, colour);
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// "Speaker (clock): message", or without the clock when the line has none.
std::string DisplayText(const RenderedLine& line) {
  std::string text = line.speaker;
  if (!line.clock.empty()) text += " (" + line.clock + ")";
  return text + ": " + line.message;
}

int DrawTextHeight(HDC dc, const std::string& text, RECT rect, UINT format) {
  return ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
}

}  // namespace

// --- TextControl ---

TextControl::TextControl(ChatRoom& room, Role role, const RoomFonts& fonts,
                         std::function<void()> onEnter)
    : room_(room), role_(role), fonts_(fonts), onEnter_(std::move(onEnter)) {}

TextControl::~TextControl() {
  if (edit_ != nullptr) ::DestroyWindow(edit_);
}

bool TextControl::Create(HWND pane) {
  if (!Window::Create(kTextClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, ClientRect(pane),
                      pane)) {
    return false;
  }
  if (role_ == Role::kTranscript) return true;
  const RECT client = ClientRect(Handle());
  edit_ = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, kMargin, kMargin,
                            client.right - 2 * kMargin, client.bottom - 2 * kMargin, Handle(),
                            nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (edit_ == nullptr) return false;
  ::SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.text), FALSE);
  // The edit box's own procedure knows nothing of sending: Enter is caught on the way in.
  ::SetWindowLongPtrA(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editProcedure_ = FromInteger<WNDPROC>(::SetWindowLongPtrA(
      edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextControl::EditProcedure)));
  Refresh();
  return true;
}

LRESULT CALLBACK TextControl::EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = FromInteger<TextControl*>(::GetWindowLongPtrA(edit, GWLP_USERDATA));
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    if (self->onEnter_) self->onEnter_();
    return 0;
  }
  if (message == WM_CHAR && (wParam == '\r' || wParam == '\n')) return 0;  // no beep
  const WNDPROC original = self->editProcedure_;
  if (message == WM_NCDESTROY) {
    // The edit box is going: it no longer leads to this control.
    ::SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::SetWindowLongPtrA(edit, GWLP_USERDATA, 0);
    self->edit_ = nullptr;
  }
  return ::CallWindowProcA(original, edit, message, wParam, lParam);
}

const std::string& TextControl::Text() const {
  return role_ == Role::kTranscript ? room_.Transcript() : room_.Input();
}

void TextControl::SetText(const char* text) {
  std::string value = text == nullptr ? std::string() : std::string(text);
  if (role_ == Role::kTranscript) {
    room_.SetTranscript(std::move(value));
  } else {
    room_.SetInput(std::move(value));
  }
  Refresh();
}

void TextControl::Refresh() {
  if (role_ == Role::kTranscript) {
    ::InvalidateRect(Handle(), nullptr, FALSE);
    return;
  }
  if (edit_ == nullptr) return;
  showingRoomText_ = true;
  ::SetWindowTextA(edit_, room_.Input().c_str());
  const auto end = static_cast<WPARAM>(room_.Input().size());
  ::SendMessageA(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
  showingRoomText_ = false;
}

// What the user typed becomes the room's input.
void TextControl::TakeEditText() {
  const int length = ::GetWindowTextLengthA(edit_);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(edit_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  room_.SetInput(std::move(text));
}

LRESULT TextControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      SetText(FromInteger<const char*>(lParam));
      return TRUE;
    case WM_GETTEXT:
      return static_cast<LRESULT>(CopyOut(Text(), FromInteger<char*>(lParam), wParam));
    case WM_GETTEXTLENGTH:
      ++polls_;
      return static_cast<LRESULT>(Text().size());
    case WM_COMMAND:
      if (lParam == reinterpret_cast<LPARAM>(edit_) && HIWORD(wParam) == EN_CHANGE &&
          !showingRoomText_) {
        TakeEditText();
      }
      return 0;
    case WM_SETFOCUS:
    case WM_LBUTTONDOWN:
      if (edit_ != nullptr) ::SetFocus(edit_);
      return 0;
    case WM_SIZE:
      if (edit_ != nullptr) {
        ::MoveWindow(edit_, kMargin, kMargin, LOWORD(lParam) - 2 * kMargin,
                     HIWORD(lParam) - 2 * kMargin, TRUE);
      }
      ::InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting fills the whole control
    case WM_PAINT: {
      PaintScope paint(Handle());
      const RECT client = ClientRect(Handle());
      if (role_ == Role::kTranscript) {
        SelectedObject font(paint.Dc(), fonts_.text);
        PaintTranscript(paint.Dc(), client);
      } else {
        Fill(paint.Dc(), client, kPaper);
      }
      return 0;
    }
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

// The newest lines at the bottom, as far up as they fit; the transcript is parsed again only when
// the room has changed.
void TextControl::PaintTranscript(HDC dc, const RECT& client) {
  if (parsedRevision_ != room_.Revision()) {
    lines_ = ParseTranscript(room_.Transcript());
    parsedRevision_ = room_.Revision();
  }
  Fill(dc, client, kPaper);
  constexpr UINT kFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_LEFT;
  int bottom = client.bottom - kMargin;
  for (auto line = lines_.rbegin(); line != lines_.rend() && bottom > client.top; ++line) {
    const std::string text = DisplayText(*line);
    RECT rect{client.left + kMargin, 0, client.right - kMargin, 0};
    const int height = DrawTextHeight(dc, text, rect, kFormat);
    rect.top = bottom - height;
    rect.bottom = bottom;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kMessageColour);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, kFormat);
    // The speaker again, in the speaker's colour, over the start of the first row.
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, kPaper);
    ::SetTextColor(dc, line->ownLine ? kOwnColour : kOtherColour);
    ::DrawTextA(dc, line->speaker.c_str(), static_cast<int>(line->speaker.size()), &rect,
                DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
    bottom = rect.top - kLineGap;
  }
}

// --- Pane ---

bool Pane::Create(HWND chatWindow, int id) {
  const RECT none{0, 0, 0, 0};
  return Window::Create(kPaneClass, "", WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE, none, chatWindow,
                        id);
}

bool Pane::CreateText() {
  if (!text_.Create(Handle())) return false;
  const RECT client = ClientRect(Handle());
  ::MoveWindow(text_.Handle(), 0, 0, client.right, client.bottom, TRUE);
  return true;
}

LRESULT Pane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE && text_.Handle() != nullptr) {
    const RECT client = ClientRect(Handle());
    ::MoveWindow(text_.Handle(), 0, 0, client.right, client.bottom, TRUE);
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

// --- IconButton ---

bool IconButton::Create(HWND chatWindow, int id) {
  const RECT none{0, 0, 0, 0};
  return Window::Create(kIconButtonClass, caption_, WS_CHILD | WS_VISIBLE, 0, none, chatWindow, id);
}

void IconButton::Release(bool sends) {
  ::InvalidateRect(Handle(), nullptr, FALSE);
  if (sends && action_) action_();
}

LRESULT IconButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      latch_.Down();
      ::InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP:
      Release(latch_.Up());
      return 0;
    case WM_KEYUP:
      Release(latch_.KeyUp(static_cast<unsigned>(wParam)));
      return 0;
    case WM_PAINT: {
      PaintScope paint(Handle());
      RECT client = ClientRect(Handle());
      ::DrawFrameControl(paint.Dc(), &client, DFC_BUTTON,
                         DFCS_BUTTONPUSH | (latch_.IsDown() ? DFCS_PUSHED : 0));
      SelectedObject font(paint.Dc(), fonts_.button);
      ::SetBkMode(paint.Dc(), TRANSPARENT);
      ::DrawTextA(paint.Dc(), caption_, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      return 0;
    }
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

// --- RoomWindow ---

RoomWindow::RoomWindow(ChatRoom room, const RoomFonts& fonts, std::function<void()> onClosed)
    : room_(std::move(room)),
      onClosed_(std::move(onClosed)),
      transcript_(room_, TextControl::Role::kTranscript, fonts, nullptr),
      input_(room_, TextControl::Role::kInput, fonts, [this] { Send(); }),
      transcriptPane_(transcript_),
      inputPane_(input_) {
  for (int i = 0; i < kButtonCount; ++i) {
    std::function<void()> action;
    if (i == kSendButton) action = [this] { Send(); };
    buttons_.push_back(std::make_unique<IconButton>(kButtonCaptions[i], fonts, std::move(action)));
  }
}

RoomWindow::~RoomWindow() = default;

bool RoomWindow::Open(POINT origin) {
  const RECT bounds{origin.x, origin.y, origin.x + kRoomSize.cx, origin.y + kRoomSize.cy};
  if (!Create(kChatWindowClass, room_.Caption().c_str(), WS_OVERLAPPEDWINDOW, 0, bounds, nullptr)) {
    return false;
  }
  // Child order is what the tool counts: transcript pane, input pane, then the icon buttons. The
  // transcript's text control comes last of all, once the window is shown, so that whoever can
  // find it finds the whole tree, ready.
  int id = 1;
  if (!transcriptPane_.Create(Handle(), id++) || !inputPane_.Create(Handle(), id++) ||
      !inputPane_.CreateText()) {
    return false;
  }
  for (auto& button : buttons_) {
    if (!button->Create(Handle(), id++)) return false;
  }
  Layout();
  BringToFront();
  return transcriptPane_.CreateText();
}

void RoomWindow::BringToFront() {
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  // The tool uses the first chat window in z-order, as a new room of the chat client comes first.
  ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(Handle());
}

void RoomWindow::SayAsOther(std::string_view speaker, std::string_view message) {
  room_.SayAsOther(speaker, message);
  Repaint();
}

void RoomWindow::TypeAsUser(std::string_view message) {
  room_.TypeAndSend(std::string(message));
  Repaint();
}

void RoomWindow::SetTranscript(std::string_view markup) {
  room_.SetTranscript(std::string(markup));
  Repaint();
}

void RoomWindow::Send() {
  room_.SendInput();
  Repaint();
}

void RoomWindow::Repaint() {
  transcript_.Refresh();
  input_.Refresh();
}

void RoomWindow::SwitchTo(ChatRoom room) {
  room_ = std::move(room);
  ::SetWindowTextA(Handle(), room_.Caption().c_str());
  Repaint();
}

void RoomWindow::Layout() {
  const RECT client = ClientRect(Handle());
  const int width = client.right - 2 * kMargin;
  const int buttonsTop = client.bottom - kMargin - kButtonHeight;
  const int inputTop = buttonsTop - kMargin - kInputHeight;
  ::MoveWindow(transcriptPane_.Handle(), kMargin, kMargin, width, inputTop - 2 * kMargin, TRUE);
  ::MoveWindow(inputPane_.Handle(), kMargin, inputTop, width, kInputHeight, TRUE);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    ::MoveWindow(buttons_[i]->Handle(), kMargin + static_cast<int>(i) * (kButtonWidth + kMargin),
                 buttonsTop, kButtonWidth, kButtonHeight, TRUE);
  }
}

LRESULT RoomWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFOCUS:
      if (input_.Handle() != nullptr) ::SetFocus(input_.FocusTarget());
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

void RoomWindow::OnDestroyed() {
  if (onClosed_) onClosed_();
}

}  // namespace roomsim::win32
