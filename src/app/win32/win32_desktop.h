// The host on Windows with the program's own windows: the splash first,
// then the console, the info menu, the about and help boxes and the
// feedback form, all on user32 and dispatched by Win32Loop. Beside the
// desktop chat client when its main window is there; otherwise on the
// embedded client, with a room window of its own to speak in.
#pragma once

#include <ostream>

#include "app/host_program.h"

namespace zorvik {

// The desktop client's main window class, by which the host finds it.
inline constexpr char kDesktopClientClass[] = "AOL Frame25";

// Runs until the operator presses "exit" (or closes the console). Says on
// `out`, in one line, which client it hosts on. Returns the exit status.
int RunWin32Desktop(const ProgramOptions& options, std::ostream& out);

}  // namespace zorvik
