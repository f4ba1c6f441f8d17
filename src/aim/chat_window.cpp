#include "aim/chat_window.h"

#include <algorithm>
#include <optional>
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

// No window answers for kNoWindow.
bool Send(const ChatClientOs& os, WindowHandle window, unsigned message, std::uintptr_t wParam,
          std::intptr_t lParam) {
  return os.desktop.SendMessageA(window, message, wParam, lParam).answered;
}

bool SetAnsiText(const ChatClientOs& os, WindowHandle window, const std::string& ansi) {
  return Send(os, window, platform::kWmSetText, 0, reinterpret_cast<std::intptr_t>(ansi.c_str()));
}

bool SetText(const ChatClientOs& os, WindowHandle window, const std::wstring& text) {
  return SetAnsiText(os, window, os.codePage.ToAnsi(text));
}

// WM_GETTEXTLENGTH: nothing when the window is missing, does not answer, or claims a length no
// text has.
// Asked in Unicode, the length is only a witness of change: Wine answers that without copying the
// text, but the ANSI text may be longer.
std::optional<std::size_t> TextLength(const ChatClientOs& os, WindowHandle window,
                                      bool inUnicode = false) {
  const platform::SendResult length =
      inUnicode ? os.desktop.SendMessageW(window, platform::kWmGetTextLength, 0, 0)
                : os.desktop.SendMessageA(window, platform::kWmGetTextLength, 0, 0);
  if (!length.answered || length.value < 0 || length.value > kMaxForeignTextLength) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(length.value);
}

// WM_GETTEXT into a buffer of `size` characters pre-filled with `fill`: the first size - 1
// characters at most. Only the characters WM_GETTEXT reports as copied are taken, since the text
// may have changed since its length was asked. The text stays in the ANSI code page.
std::optional<std::string> CopyText(const ChatClientOs& os, WindowHandle window, std::size_t size,
                                    char fill) {
  std::string buffer(size, fill);
  const platform::SendResult copied = os.desktop.SendMessageA(
      window, platform::kWmGetText, buffer.size(), reinterpret_cast<std::intptr_t>(buffer.data()));
  if (!copied.answered) return std::nullopt;
  buffer.resize(std::min(static_cast<std::size_t>(std::max<std::intptr_t>(copied.value, 0)),
                         buffer.size() - 1));
  return buffer;
}

std::optional<std::string> ReadAnsiText(const ChatClientOs& os, WindowHandle window, char fill) {
  const std::optional<std::size_t> length = TextLength(os, window);
  return length ? CopyText(os, window, *length + 1, fill) : std::nullopt;
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
  // Double-byte: trail bytes overlap lead bytes, but a byte that cannot lead always ends a
  // character, so a boundary follows the last such byte. Every byte from there to the cut can
  // lead, so the characters from there are two bytes each. In a single-byte page no byte leads,
  // and the cut itself is a boundary.
  std::size_t at = cut;
  while (at > 0 && page.IsLeadByte(static_cast<unsigned char>(ansi[at - 1]))) --at;
  return std::min(at + (cut - at + 1) / 2 * 2, ansi.size());
}

// The last kTranscriptTailLength characters of the ANSI text. Only the end is converted: the scan
// tick reads a transcript of any size twice a second. No character takes more than MaxCharSize
// bytes, so this suffix holds the whole tail; an unknown code page is converted whole.
std::wstring TailOf(std::string_view ansi, const platform::CodePage& page) {
  const std::size_t charSize = page.MaxCharSize();
  const std::size_t suffix = charSize * (kTranscriptTailLength + 1);
  std::size_t from = 0;
  if (charSize != 0 && ansi.size() > suffix) {
    from = CharacterStart(ansi, ansi.size() - suffix, page);
  }
  std::wstring text = page.FromAnsi(ansi.substr(from));
  if (text.size() > kTranscriptTailLength) text.erase(0, text.size() - kTranscriptTailLength);
  return text;
}

std::wstring GetText(const ChatClientOs& os, WindowHandle window, char fill) {
  return os.codePage.FromAnsi(ReadAnsiText(os, window, fill).value_or(std::string()));
}

// The tool's line goes out through the input box the user types in: whatever it held is put back
// afterwards, as read (in ANSI, so not a byte changes), rather than sent or lost. An input that
// cannot be read may hold the user's text, so nothing is sent through it.
void PutInputText(const ChatClientOs& os, const std::wstring& text,
                  void (*press)(const ChatClientOs&)) {
  const WindowHandle input = FindInputControl(os);
  const std::optional<std::string> draft = ReadAnsiText(os, input, '\0');
  if (!draft || !SetText(os, input, text)) return;
  press(os);
  SetAnsiText(os, input, *draft);
}

void ClickSendButton(const ChatClientOs& os) { ClickWindow(os, FindSendButton(os)); }

}  // namespace

std::wstring GetTranscriptText(const ChatClientOs& os) {
  return GetText(os, FindTranscriptControl(os, kChatWnd, kPane, kText), ' ');
}

TranscriptTail ReadTranscriptTail(const ChatClientOs& os, const TranscriptWitness* since) {
  TranscriptTail tail;
  tail.room = os.desktop.FindWindowA(kChatWnd);
  const WindowHandle control =
      FindChild(os, FindChild(os, tail.room, kNoWindow, kPane), kNoWindow, kText);
  const std::optional<std::size_t> length = TextLength(os, control, true);
  if (!length) return tail;
  tail.witness = {control, *length, {}};
  if (since != nullptr && since->control == control && since->length == *length) {
    const std::optional<std::string> head = CopyText(os, control, kWitnessHeadLength + 1, ' ');
    if (!head) return tail;
    tail.witness.head = *head;
    tail.read = tail.unchanged = *head == since->head;
    if (tail.unchanged) return tail;
  }
  const std::optional<std::string> ansi = ReadAnsiText(os, control, ' ');
  if (!ansi) return tail;
  tail.read = true;
  tail.witness.head = ansi->substr(0, kWitnessHeadLength);
  tail.text = TailOf(*ansi, os.codePage);
  return tail;
}

std::wstring GetTranscriptTail(const ChatClientOs& os) { return ReadTranscriptTail(os).text; }

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
