#pragma once
// The screen of the main window as Form1 sees it: the controls of the controls table by ID, the
// window's height, its tray icon and whether it is shown. The Win32 window implements it; tests
// fake it. Calls with an ID that names no control do nothing, and reads give "" and false.

#include <string>

namespace tv::form {

class FormView {
 public:
  virtual ~FormView() = default;

  // A label's or button's caption, a text box's text, a check box's caption.
  virtual std::wstring Text(int control) const = 0;
  // Setting a text box's text by code runs its change handler, as the user's typing does.
  virtual void SetText(int control, const std::wstring& text) = 0;
  virtual bool IsChecked(int control) const = 0;
  // Runs no handler: a click handler that should follow runs from the caller.
  virtual void SetCheck(int control, bool checked) = 0;

  // The client area's height in twips; the width stays.
  virtual void SetClientHeight(int twips) = 0;

  // The window's one tray icon: added with the window's icon and the tip "Tavik Varrow V.2", or
  // deleted. Adding it twice leaves one; deleting a missing one does nothing.
  virtual void AddTrayIcon() = 0;
  virtual void RemoveTrayIcon() = 0;

  virtual bool IsMinimised() const = 0;
  virtual void MinimiseAndHide() = 0;
  // Back to its normal size, and shown.
  virtual void RestoreAndShow() = 0;

  // Ends the process at once, without the window's closing handlers. The real one never returns.
  virtual void EndProcess() = 0;
};

}  // namespace tv::form
