#include "aim/chat_window.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "common/text.h"

namespace tv::aim {
namespace {

using platform::ChatClientOs;
using platform::kNoWindow;
using platform::WindowHandle;

// Both spellings of each class name find the same windows (lookup ignores case); the operations
// use the lower-case one except where the original code spelled it otherwise.
constexpr char kChatWnd[] = "aim_chatwnd";
constexpr char kChatWndMixed[] = "AIM_ChatWnd";
constexpr char kPane[] = "wndate32class";
constexpr char kPaneMixed[] = "WndAte32Class";
constexpr char kText[] = "ate32class";
constexpr char kTextMixed[] = "Ate32Class";
constexpr char kIconButton[] = "_oscar_iconbtn";
constexpr int kSendButtonIndex = 5;
constexpr std::uintptr_t kClickKeys = 13;  // MK_LBUTTON | MK_SHIFT | MK_CONTROL

WindowHandle FindChild(const ChatClientOs& os, WindowHandle parent, WindowHandle after,
                       const char* className) {
  if (parent == kNoWindow) return kNoWindow;
  return os.desktop.FindWindowExA(parent, after, className);
}

WindowHandle FindTranscriptControl(const ChatClientOs& os, const char* chatClass,
                                   const char* paneClass, const char* textClass) {
  const WindowHandle chat = os.desktop.FindWindowA(chatClass);
  const WindowHandle pane = FindChild(os, chat, kNoWindow, paneClass);
  return FindChild(os, pane, kNoWindow, textClass);
}

WindowHandle FindInputControl(const ChatClientOs& os) {
  const WindowHandle chat = os.desktop.FindWindowA(kChatWnd);
  const WindowHandle transcriptPane = FindChild(os, chat, kNoWindow, kPane);
  const WindowHandle inputPane = FindChild(os, chat, transcriptPane, kPane);
  return FindChild(os, inputPane, kNoWindow, kText);
}

// The fifth icon button, each search continuing after the previous hit. Stops at the first miss:
// searching on after a miss would start again from the first button and click the wrong one.
WindowHandle FindSendButton(const ChatClientOs& os) {
  const WindowHandle chat = os.desktop.FindWindowA(kChatWnd);
  WindowHandle button = kNoWindow;
  for (int i = 0; i < kSendButtonIndex; ++i) {
    button = FindChild(os, chat, button, kIconButton);
    if (button == kNoWindow) break;
  }
  return button;
}

bool Send(const ChatClientOs& os, WindowHandle window, unsigned message, std::uintptr_t wParam,
          std::intptr_t lParam) {
  if (window == kNoWindow) return false;
  return os.desktop.SendMessageA(window, message, wParam, lParam).answered;
}

bool SetText(const ChatClientOs& os, WindowHandle window, const std::wstring& text) {
  const std::string ansi = os.codePage.ToAnsi(text);
  return Send(os, window, platform::kWmSetText, 0, reinterpret_cast<std::intptr_t>(ansi.c_str()));
}

// WM_GETTEXTLENGTH, then WM_GETTEXT into a buffer of length + 1 characters pre-filled with
// `fill`. Only the characters WM_GETTEXT reports as copied are taken: the text may have changed
// between the two messages. The text stays in the ANSI code page.
std::string GetAnsiText(const ChatClientOs& os, WindowHandle window, char fill) {
  if (window == kNoWindow) return {};
  const platform::SendResult length =
      os.desktop.SendMessageA(window, platform::kWmGetTextLength, 0, 0);
  if (!length.answered || length.value < 0 || length.value > kMaxForeignTextLength) return {};
  std::string buffer(static_cast<std::size_t>(length.value) + 1, fill);
  const platform::SendResult copied = os.desktop.SendMessageA(
      window, platform::kWmGetText, buffer.size(), reinterpret_cast<std::intptr_t>(buffer.data()));
  if (!copied.answered || copied.value <= 0) return {};
  buffer.resize(std::min(static_cast<std::size_t>(copied.value), buffer.size() - 1));
  return buffer;
}

// The first character boundary at or after `cut`, so that converting from there gives the same
// characters as converting the whole text.
std::size_t CharacterStart(std::string_view ansi, std::size_t cut, const platform::CodePage& page) {
  if (page.MaxCharSize() > 2) {
    // UTF-8: a continuation byte never starts a character, and no character has more than three.
    const std::size_t limit = std::min(ansi.size(), cut + 3);
    while (cut < limit && (static_cast<unsigned char>(ansi[cut]) & 0xC0) == 0x80) ++cut;
    return cut;
  }
  if (page.MaxCharSize() < 2) return cut;
  // Double-byte: trail bytes overlap lead bytes, but a byte that cannot lead always ends a
  // character, so a boundary follows the last such byte; walk whole characters from there.
  std::size_t at = cut;
  while (at > 0 && page.IsLeadByte(static_cast<unsigned char>(ansi[at - 1]))) --at;
  while (at < cut) at += page.IsLeadByte(static_cast<unsigned char>(ansi[at])) ? 2 : 1;
  return std::min(at, ansi.size());
}

std::wstring GetText(const ChatClientOs& os, WindowHandle window, char fill) {
  return os.codePage.FromAnsi(GetAnsiText(os, window, fill));
}

void PutInputText(const ChatClientOs& os, const std::wstring& text,
                  void (*press)(const ChatClientOs&)) {
  if (!SetText(os, FindInputControl(os), text)) return;
  press(os);
}

void ClickSendButton(const ChatClientOs& os) { ClickWindow(os, FindSendButton(os)); }

}  // namespace

std::wstring GetTranscriptText(const ChatClientOs& os) {
  return GetText(os, FindTranscriptControl(os, kChatWnd, kPane, kText), ' ');
}

std::wstring GetTranscriptTail(const ChatClientOs& os) {
  const std::string ansi = GetAnsiText(os, FindTranscriptControl(os, kChatWnd, kPane, kText), ' ');
  // Only the end is converted: the scan tick reads a transcript of any size twice a second. No
  // character takes more than MaxCharSize bytes, so this suffix holds the whole tail; an unknown
  // code page is converted whole.
  const std::size_t charSize = os.codePage.MaxCharSize();
  const std::size_t suffix = charSize * (kTranscriptTailLength + 1);
  std::size_t from = 0;
  if (charSize != 0 && ansi.size() > suffix) {
    from = CharacterStart(ansi, ansi.size() - suffix, os.codePage);
  }
  std::wstring text = os.codePage.FromAnsi(std::string_view(ansi).substr(from));
  if (text.size() > kTranscriptTailLength) text.erase(0, text.size() - kTranscriptTailLength);
  return text;
}

void SetTranscriptText(const ChatClientOs& os, const std::wstring& text) {
  SetText(os, FindTranscriptControl(os, kChatWndMixed, kPaneMixed, kTextMixed), text);
}

void SendChatText(const ChatClientOs& os, const std::wstring& text) {
  PutInputText(os, text, &ClickSendButton);
}

void SendChatLine(const ChatClientOs& os, const std::wstring& text) {
  PutInputText(os, text, &PressSendButton);
}

void ClickWindow(const ChatClientOs& os, WindowHandle window) {
  if (!Send(os, window, platform::kWmLButtonDown, kClickKeys, 0)) return;
  Send(os, window, platform::kWmLButtonUp, kClickKeys, 0);
}

void PressSendButton(const ChatClientOs& os) {
  const WindowHandle button = FindSendButton(os);
  if (!Send(os, button, platform::kWmLButtonDown, 0, 0)) return;
  if (!Send(os, button, platform::kWmKeyUp, platform::kVkSpace, 0)) return;
  Send(os, button, platform::kWmLButtonUp, 0, 0);
}

std::wstring GetRoomName(const ChatClientOs& os) {
  const std::wstring caption = GetText(os, os.desktop.FindWindowA(kChatWnd), '\0');
  const std::wstring first = caption.substr(0, caption.find(L' '));
  return RemoveAll(RemoveAll(caption, first), L"Room: ");
}

void CloseChatWindow(const ChatClientOs& os) {
  Send(os, os.desktop.FindWindowA(kChatWndMixed), platform::kWmClose, 0, 0);
}

}  // namespace tv::aim
