// The console for terminals: the host in real time, on the embedded client
// or on IRC. The operator types a button's caption to press it; on the
// embedded client they can speak in the room as anyone ("alice: -join"),
// on IRC only as the host ("say TEXT"); `help` lists the rest.
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

// Reads the operator's commands from descriptor `input` on `loop` and runs
// each as a task of its own on `program`, printing answers to `out`. All
// three must outlive the loop's run.
void ReadConsoleCommands(EventLoop& loop, HostProgram& program, int input, std::ostream& out);

// Runs until the operator presses "exit" (or input ends and nothing is
// left to do). Reads commands from descriptor `input`. Returns the exit
// status.
int RunTextConsole(const ProgramOptions& options, int input, std::ostream& out);

}  // namespace zorvik
