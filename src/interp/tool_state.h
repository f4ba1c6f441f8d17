#pragma once
// The tool's switches and the user's screen name. One instance, owned by the main window, lives as
// long as the process; the interpreter reads and writes it, the clear timer's tick reads it.
//
// The window shows every field in its control and subscribes to changes to keep the controls
// current. For the two fields the user may edit by hand (the name in its text box, the sends
// switch in its check box) the window calls the setter as soon as the user edits the control, so
// the interpreter sees the user's value at its next test. Only "/cson" and "/csoff" write
// sendsText, so ticking the sends box by hand leaves its label alone.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "chatctl/chat.h"
#include "platform/timer.h"

namespace tv::interp {

class ToolState {
 public:
  enum class Field {
    kUserName,
    kScanOn,
    kSendsOff,
    kSendsText,
    kClearMinutesText,
    kClearStatusText,
    kClearIntervalMs,
    kClearTimerOn,
  };

  // Runs after a field has taken a different value, with the new value in place. It may call the
  // setters again (StopScan runs nested that way); setting a field to its value reports nothing.
  using Listener = std::function<void(Field)>;

  // `clearTimer` is the window's clear timer (cleartmr); this object switches it.
  explicit ToolState(platform::Timer& clearTimer);
  ToolState(const ToolState&) = delete;
  ToolState& operator=(const ToolState&) = delete;

  void SetListener(Listener listener) { listener_ = std::move(listener); }

  // The user's screen name, normalised when the interpreter set it; empty while no user is known.
  const std::wstring& userName() const { return userName_; }
  bool scanOn() const { return scanOn_; }
  // While on, the gated replies are withheld.
  bool sendsOff() const { return sendsOff_; }
  // "On" or "Off", as the last "/cson" or "/csoff" left it.
  const std::wstring& sendsText() const { return sendsText_; }
  // The minutes of the last accepted "/ct" as typed (normalised); "0" after "/ctoff".
  const std::wstring& clearMinutesText() const { return clearMinutesText_; }
  // "On" after an accepted "/ct", "Off" after "/ctoff".
  const std::wstring& clearStatusText() const { return clearStatusText_; }
  std::int32_t clearIntervalMs() const { return clearIntervalMs_; }
  bool clearTimerOn() const { return clearTimerOn_; }

  void SetUserName(std::wstring name);
  void SetScanOn(bool on);
  void SetSendsOff(bool off);
  void SetSendsText(std::wstring text);
  void SetClearMinutesText(std::wstring text);
  void SetClearStatusText(std::wstring text);

  // Switches the clear timer on, with a new period when one is given, else the old one. A full
  // period counts from now, also when the timer was on already. The timer fires only while the
  // period is above 0.
  void StartClearTimer(std::optional<std::int32_t> periodMs);
  // Switches the clear timer off; the period stays.
  void StopClearTimer();

 private:
  template <typename T>
  void Assign(T& field, T value, Field which);

  platform::Timer& clearTimer_;
  Listener listener_;
  std::wstring userName_;
  bool scanOn_ = false;
  bool sendsOff_ = false;
  std::wstring sendsText_ = L"On";
  std::wstring clearMinutesText_ = L"0";
  std::wstring clearStatusText_ = L"Off";
  std::int32_t clearIntervalMs_ = 0;
  bool clearTimerOn_ = false;
};

// Switches scanning off and forgets the user: scanOn off, userName emptied, then the scanner's
// scan_off. The window's StopScan runs this; when its scan box follows scanOn off, the box's
// handler runs StopScan again inside the first run, and that nested run changes nothing.
void StopScan(ToolState& state, chatctl::Chat& chat);

}  // namespace tv::interp
