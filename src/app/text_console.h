// The console for terminals: the host on the embedded client in real time.
// The operator types a button's caption to press it and can speak in the
// room as anyone ("alice: -join"); `help` lists the rest.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "app/console_printer.h"
#include "app/host_program.h"

namespace zorvik {

// Carries out one typed command on `program`, printing answers to `out`.
// May dispatch (a pressed button runs its handler to the end).
void RunConsoleCommand(HostProgram& program, std::string_view command, std::ostream& out);

// The text of `help`.
std::string_view ConsoleHelp();

// Runs until the operator presses "exit" (or input ends and nothing is
// left to do). Reads commands from descriptor `input`. Returns the exit
// status.
int RunTextConsole(const ProgramOptions& options, int input, std::ostream& out);

}  // namespace zorvik
