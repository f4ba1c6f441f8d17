#pragma once
// The child windows of the controls table (form/controls.h) on the main window.

#include <windows.h>

#include <string>

#include "app/handles.h"

namespace tv::form {
class Form1;
}

namespace tv::app {

// The text of any window: a control's caption or text.
std::wstring WindowText(HWND window);

// Whether the control with that ID is one of the red rules.
bool IsRule(int id);

// Makes every control of the table a child of `form`, with its ID and caption, in the table's
// order: Tab walks the child windows in the order they were made. Check boxes get the classic look
// through `uxtheme` (null: there are no themes), so that their captions come out red too. False
// when a control cannot be made.
bool CreateControlWindows(HWND form, HMODULE uxtheme);

// Places and sizes every control for `dpi`.
void PlaceControlWindows(HWND form, UINT dpi);

// The controls' font for `dpi`, already given to every control; it must live as long as they do.
// Null, given to none, when it cannot be made.
UniqueFont SetControlFont(HWND form, UINT dpi);

// Gives every key typed in the room box (txtChat) to `form`'s txtChat_KeyPress, Enter included,
// which a window with dialog keys would otherwise take for the default button. `form` must outlive
// the box. False when the box cannot be hooked.
bool SubclassRoomBox(HWND edit, form::Form1& form);

}  // namespace tv::app
