#pragma once
// The tool's switches and the user's screen name. One instance lives as long as the process; the
// interpreter reads and writes it, the main window (Form1) shows each field in the control that
// holds it and writes back the two that the user may edit by hand: the name in Text1 and the sends
// switch in Check2. Only "/cson" and "/csoff" write sendsText, so ticking Check2 by hand leaves its
// label alone.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/timer.h"

namespace tv::model {

// The shortest clear period "/ct" accepts, in minutes.
inline constexpr double kMinClearMinutes = 0.4;

// Minutes as a clear-timer period: milliseconds rounded to the nearest whole number, halves to
// the even neighbour. Nothing when the result does not fit a signed 32-bit integer, the longest
// period the window's timer holds.
std::optional<std::int32_t> ClearPeriodMs(double minutes);

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
  // setters again; setting a field to the value it has reports nothing.
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

  // Switches the clear timer on with the period, above 0 (ClearPeriodMs of kMinClearMinutes or
  // more). A full period counts from now, also when the timer was on already.
  void StartClearTimer(std::int32_t periodMs);
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

}  // namespace tv::model
