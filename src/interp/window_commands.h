#pragma once
// What the interpreter asks of the main window. The window implements it; tests fake it.

namespace tv::interp {

class WindowCommands {
 public:
  virtual ~WindowCommands() = default;

  // The "Send To Tray" menu command: tray icon added, window hidden.
  virtual void mnuTray_Click() = 0;
  // The "Show" menu command: window restored and shown, tray icon removed.
  virtual void mnuShow_Click() = 0;
  // Deletes the tray icon; nothing happens when there is none.
  virtual void RemoveTrayIcon() = 0;
  // Stops scanning and forgets the user (interp::StopScan), the scan box unticked with it.
  virtual void StopScan() = 0;
  // "/sysinfo": refreshes the figures and sends the system information line into the room,
  // whatever the sends switch says.
  virtual void SendSystemInfo() = 0;
  // Ends the process at once; none of the window's closing handlers runs. In the program it does
  // not return; when a fake returns, the interpreter does nothing more with the line.
  virtual void EndProcess() = 0;
};

}  // namespace tv::interp
