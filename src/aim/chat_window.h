#pragma once
// The chat room window of the AIM client, driven from outside by window class and messages.
// Every call looks the windows up anew; nothing is cached. A window missing along the way, or
// one that does not answer, makes the rest of the operation do nothing: reads give empty text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/chat_client.h"

namespace tv::aim {

// Characters of the transcript that the scanner looks at.
inline constexpr std::size_t kTranscriptTailLength = 500;

// The most characters the tool reads from another program's text control, far above any real
// transcript. A control that claims a longer (or a negative) length counts as missing: nothing is
// allocated for it and no WM_GETTEXT goes out, so a lying window costs neither side memory.
inline constexpr std::intptr_t kMaxForeignTextLength = std::intptr_t{16} * 1024 * 1024;

// The whole markup text of the transcript.
std::wstring GetTranscriptText(const platform::ChatClientOs& os);

// What shows whether a transcript may have changed since it was read: its text control, its
// length and its first kWitnessHeadLength characters. A chat client changes a transcript only by
// adding lines at its end, trimming the oldest at its start, or clearing it: each changes the
// length or the head. Only a rewrite that keeps both goes unseen.
inline constexpr std::size_t kWitnessHeadLength = 128;
struct TranscriptWitness {
  platform::WindowHandle control = platform::kNoWindow;
  std::size_t length = 0;  // as asked in Unicode
  std::string head;        // ANSI
  friend bool operator==(const TranscriptWitness&, const TranscriptWitness&) = default;
};

// The end of the transcript of the chat room window found first, and which window that was.
struct TranscriptTail {
  platform::WindowHandle room = platform::kNoWindow;
  // False when there is no room, no transcript, or it did not answer: then nothing is known of
  // the room, not even that its transcript is empty.
  bool read = false;
  // True when the transcript is as `since` witnessed it: then `text` was not read and is empty.
  bool unchanged = false;
  // The last kTranscriptTailLength characters (all of them when shorter), the same as the end of
  // GetTranscriptText in every ANSI code page; only the end is converted.
  std::wstring text;
  // The transcript as read, for the next call.
  TranscriptWitness witness;
};
// Looks the windows up and asks the transcript's length in Unicode. With a witness of an earlier
// read of the same control and length, it then reads only the head: when that is the same too, the
// whole text is not read (WM_GETTEXT, and under Wine an ANSI WM_GETTEXTLENGTH, would copy all of
// it across processes).
TranscriptTail ReadTranscriptTail(const platform::ChatClientOs& os,
                                  const TranscriptWitness* since = nullptr);

// ReadTranscriptTail's text: empty when it could not be read.
std::wstring GetTranscriptTail(const platform::ChatClientOs& os);

// Replaces the transcript's text; the empty text clears the chat.
void SetTranscriptText(const platform::ChatClientOs& os, const std::wstring& text);

// Puts the text into the input pane and clicks the send button (ClickWindow). What the input pane
// held before, the user's half-typed line, is put back afterwards; an input pane that cannot be
// read gets nothing.
void SendChatText(const platform::ChatClientOs& os, const std::wstring& text);

// As SendChatText, but presses the send button (PressSendButton).
void SendChatLine(const platform::ChatClientOs& os, const std::wstring& text);

// Button-down then button-up, both with wParam 13 (left button with Shift and Ctrl).
void ClickWindow(const platform::ChatClientOs& os, platform::WindowHandle window);

// Finds the send button and sends button-down, space key-up, button-up.
void PressSendButton(const platform::ChatClientOs& os);

// The room name from the chat window's caption: "Chat Room: Lobby" gives " Lobby".
std::wstring GetRoomName(const platform::ChatClientOs& os);

// Asks the chat room window to close.
void CloseChatWindow(const platform::ChatClientOs& os);

}  // namespace tv::aim
