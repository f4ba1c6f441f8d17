#pragma once
// What the chat commands ask of the main window. Form1 implements it; tests fake it.

namespace tv::model {

class WindowCommands {
 public:
  virtual ~WindowCommands() = default;

  // "Send To Tray": tray icon added, window hidden.
  virtual void SendToTray() = 0;
  // "Show": window restored and shown, tray icon removed.
  virtual void RestoreFromTray() = 0;
  // Deletes the tray icon; nothing happens when there is none.
  virtual void RemoveTrayIcon() = 0;
  // Stops scanning and forgets the user, unticking the scan box.
  virtual void StopScan() = 0;
  // "/sysinfo": refreshes the figures and sends the system information line into the room,
  // whatever the sends switch says.
  virtual void SendSystemInfo() = 0;
  // Ends the process at once; none of the window's closing handlers runs. In the program it does
  // not return; when a fake returns, the interpreter does nothing more with the line.
  virtual void EndProcess() = 0;
};

}  // namespace tv::model
