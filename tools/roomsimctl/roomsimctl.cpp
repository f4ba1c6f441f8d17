// roomsimctl: speaks for the other people in a running roomsim, from the command line.
//   roomsimctl say SPEAKER MESSAGE   a line of another speaker
//   roomsimctl type MESSAGE          the local user types and sends a line
//   roomsimctl open ROOM             a window of its own for the room, in front
//   roomsimctl hang MILLISECONDS     roomsim stops answering for that long
//   roomsimctl move X Y              moves the chat room window (to sit beside the tool)
//   roomsimctl click-tool chat-scan|more   clicks "Chat Scan" or "More Options" of the tool

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/control_ids.h"
#include "roomsim_client.h"

int main(int argc, char** argv) {
  const std::string verb = argc > 1 ? argv[1] : "";
  bool ok = false;
  if (verb == "say" && argc == 4) {
    ok = roomsim::client::SayAsOther(argv[2], argv[3]);
  } else if (verb == "type" && argc == 3) {
    ok = roomsim::client::TypeAsUser(argv[2]);
  } else if (verb == "open" && argc == 3) {
    ok = roomsim::client::OpenRoom(argv[2]);
  } else if (verb == "hang" && argc == 3) {
    ok = roomsim::client::Hang(std::chrono::milliseconds(std::strtoul(argv[2], nullptr, 10)));
  } else if (verb == "move" && argc == 4) {
    HWND chat = FindWindowA("AIM_ChatWnd", nullptr);
    ok = chat && SetWindowPos(chat, nullptr, std::atoi(argv[2]), std::atoi(argv[3]), 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (verb == "click-tool" && argc == 3) {
    const std::string what = argv[2];
    const int id = what == "chat-scan" ? tv::app::kCheck1 : what == "more" ? tv::app::kCmdMore : 0;
    HWND form = FindWindowW(tv::app::kFormClassName, nullptr);
    HWND control = form && id ? GetDlgItem(form, id) : nullptr;
    ok = control && SendMessageA(control, BM_CLICK, 0, 0) == 0;
  } else {
    std::fprintf(
        stderr,
        "usage: roomsimctl say SPEAKER MESSAGE | type MESSAGE | open ROOM | hang MS | move X Y | "
        "click-tool chat-scan|more\n");
    return 2;
  }
  if (!ok) std::fprintf(stderr, "roomsimctl: no running roomsim took the command\n");
  return ok ? 0 : 1;
}
