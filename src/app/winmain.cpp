// The composition root: the real adapters, the main window, and the tool wired on them; then the
// message loop until the window is gone.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/tool.h"
#include "app/window_timer.h"
#include "platform/win32/win32_codepage.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system_figures.h"
#include "platform/win32/win32_tick_count.h"
#include "platform/win32/win32_window_list.h"

namespace {

// IsDialogMessage gives the window Tab, Shift+Tab and the other dialog keys.
int RunMessageLoop(HWND form) {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (form != nullptr && IsDialogMessageW(form, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

// A window that cannot be built whole does not start half-built: the user is told why.
int CannotStart(const std::wstring& why) {
  MessageBoxW(nullptr, (L"Tavik Varrow V.2 cannot start: " + why + L".").c_str(),
              tv::app::kFormCaption, MB_OK | MB_ICONERROR);
  return 2;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
  const tv::app::SingleInstance oneCopy;
  if (!oneCopy.first()) return tv::app::ActivateRunningCopy() ? 0 : 1;

  // The window's buttons and boxes need the common controls.
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  if (!InitCommonControlsEx(&controls))
    return CannotStart(L"setting up the common controls failed");

  tv::platform::Win32Desktop desktop;
  tv::platform::Win32Shell shell;
  const tv::platform::Win32CodePage codePage;
  tv::platform::Win32SystemFigures figures;
  tv::platform::Win32Registry registry;
  tv::platform::Win32Environment environment;
  tv::platform::Win32WindowList windows;
  tv::platform::Win32TickCount ticks;
  const tv::platform::ChatClientOs chatOs{desktop, shell, codePage};
  const tv::platform::SystemOs systemOs{figures, registry, environment, windows, ticks, codePage};

  tv::app::WindowTimer chatTymer(tv::app::kChatTymerId);
  tv::app::WindowTimer cleartmr(tv::app::kCleartmrId);
  tv::app::WindowTimer timer1(tv::app::kTimer1Id);
  tv::app::MainWindow window({chatTymer, cleartmr, timer1});
  tv::app::Tool tool(chatOs, systemOs, {chatTymer, cleartmr, timer1}, window);

  if (!window.Create(instance, tool.form)) return CannotStart(window.failure());
  window.Show(showCommand);
  return RunMessageLoop(window.hwnd());
}
