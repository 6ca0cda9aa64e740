// The text console on Windows: the host on Win32Loop, beside the desktop
// chat client (its windows driven through user32, its room heard through
// its history view) or on the embedded client, with the operator's commands
// read from standard input (a console or a pipe) and the log of lines on
// `out`, exactly as the text console prints it elsewhere.
#pragma once

#include <ostream>

#include "app/host_program.h"

namespace zorvik {

enum class Win32Client {
  kDesktop,   // the chat client's own windows, in another program
  kEmbedded,  // the in-process stand-in, for trying the host without it
};

// Runs until the operator presses "exit" (or, on the embedded client, input
// ends and nothing is left to do). Returns the exit status.
int RunWin32Console(const ProgramOptions& options, Win32Client client, std::ostream& out);

}  // namespace zorvik
