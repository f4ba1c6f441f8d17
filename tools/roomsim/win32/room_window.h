#pragma once
// One chat room window with the tree that the tool expects of the chat client:
//   AIM_ChatWnd (caption "Chat Room: ROOM")
//     WndAte32Class  transcript pane
//       Ate32Class   transcript text (markup), shown as chat lines
//     WndAte32Class  input pane
//       Ate32Class   the line being typed; Enter sends it
//     _oscar_iconbtn x 6, the fifth of which sends
// All texts answer WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH in ANSI.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chat_room.h"
#include "transcript_markup.h"
#include "win32/window.h"

namespace roomsim::win32 {

inline constexpr char kChatWindowClass[] = "AIM_ChatWnd";
inline constexpr char kPaneClass[] = "WndAte32Class";
inline constexpr char kTextClass[] = "Ate32Class";
inline constexpr char kIconButtonClass[] = "_oscar_iconbtn";

// The fonts that every room draws with; owned by whoever owns the rooms.
struct RoomFonts {
  HFONT text = nullptr;
  HFONT button = nullptr;
};

// The text control of either pane. Its text lives in the ChatRoom. The transcript control draws
// the chat lines itself; the input control holds an edit box, kept in step with the room's input,
// whose Enter key sends.
class TextControl final : public Window {
 public:
  enum class Role { kTranscript, kInput };

  TextControl(ChatRoom& room, Role role, const RoomFonts& fonts, std::function<void()> onEnter);
  // Takes the edit box down first, while the members its procedure uses still exist.
  ~TextControl() override;
  bool Create(HWND pane);
  // Shows the room's text again after it changed outside this control.
  void Refresh();
  // Where the keyboard goes when the room window gets the focus.
  HWND FocusTarget() const { return edit_ != nullptr ? edit_ : Handle(); }
  // The WM_GETTEXTLENGTH messages answered: the tool sends one before each read of the text.
  std::size_t Polls() const { return polls_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  const std::string& Text() const;
  void SetText(const char* text);
  void TakeEditText();
  void PaintTranscript(HDC dc, const RECT& client);
  static LRESULT CALLBACK EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

  ChatRoom& room_;
  Role role_;
  const RoomFonts& fonts_;
  std::function<void()> onEnter_;
  HWND edit_ = nullptr;  // the input's edit box, a child of this control
  WNDPROC editProcedure_ = nullptr;
  bool showingRoomText_ = false;     // the edit box is being set from the room, not typed into
  std::vector<RenderedLine> lines_;  // the transcript parsed, as of parsedRevision_
  std::size_t parsedRevision_ = static_cast<std::size_t>(-1);
  std::size_t polls_ = 0;
};

// A pane frames one text control and keeps it filling the pane.
class Pane final : public Window {
 public:
  explicit Pane(TextControl& text) : text_(text) {}
  bool Create(HWND chatWindow, int id);
  // Makes the text control, filling the pane.
  bool CreateText();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  TextControl& text_;
};

// An icon button; only a button with an action does anything when pressed.
class IconButton final : public Window {
 public:
  IconButton(const char* caption, const RoomFonts& fonts, std::function<void()> action)
      : caption_(caption), fonts_(fonts), action_(std::move(action)) {}
  bool Create(HWND chatWindow, int id);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Release(bool sends);

  const char* caption_;
  const RoomFonts& fonts_;
  std::function<void()> action_;
  PressLatch latch_;
};

// The chat room window, its controls and its room.
class RoomWindow final : public Window {
 public:
  // `onClosed` runs once the window is gone; the owner must not delete the object inside it.
  RoomWindow(ChatRoom room, const RoomFonts& fonts, std::function<void()> onClosed);
  ~RoomWindow() override;

  // Creates the window tree at `origin`, shown and in front.
  bool Open(POINT origin);
  void BringToFront();
  bool IsOpen() const { return Handle() != nullptr; }

  const ChatRoom& Room() const { return room_; }
  // How often the tool has read the transcript, in whatever room the window showed.
  std::size_t TranscriptPolls() const { return transcript_.Polls(); }
  // The window becomes another room: new caption, empty transcript and input.
  void SwitchTo(ChatRoom room);
  void SayAsOther(std::string_view speaker, std::string_view message);
  void TypeAsUser(std::string_view message);
  void SetTranscript(std::string_view markup);
  // The send button's action.
  void Send();

 private:
  static constexpr int kButtonCount = 6;
  static constexpr int kSendButton = 4;  // the fifth

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroyed() override;
  void Layout();
  void Repaint();

  ChatRoom room_;
  std::function<void()> onClosed_;
  TextControl transcript_;
  TextControl input_;
  Pane transcriptPane_;
  Pane inputPane_;
  std::vector<std::unique_ptr<IconButton>> buttons_;
};

}  // namespace roomsim::win32
