// The text console on Windows: the host on Win32Loop, beside the desktop
// chat client (its windows driven through user32, its room heard through
// its history view) or on the embedded client, with the operator's commands
// read from standard input (a console or a pipe) and the log of lines on
// `out`, exactly as the text console prints it elsewhere.
#pragma once

#include <ostream>

#include "app/host_program.h"
#include "bridge/kit/client_kit.h"
#include "bridge/loop/win32_loop.h"
#include "bridge/win32/win32_room_feed.h"
#include "bridge/win32/win32_window_api.h"

namespace zorvik {

enum class Win32Client {
  kDesktop,   // the chat client's own windows, in another program
  kEmbedded,  // the in-process stand-in, for trying the host without it
};

// The desktop client's parts, made before the program that uses them.
struct Win32DesktopClient {
  explicit Win32DesktopClient(Win32Loop& loop) : kit(windows, loop), feed(loop, kit) {}
  Win32WindowApi windows;
  ClientKit kit;
  Win32RoomFeed feed;
};

// Runs until the operator presses "exit" (or, on the embedded client, input
// ends and nothing is left to do). Returns the exit status.
int RunWin32Console(const ProgramOptions& options, Win32Client client, std::ostream& out);

}  // namespace zorvik
