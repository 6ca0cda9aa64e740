// The console for terminals: the host in real time, on the embedded client
// or on IRC. The operator types a button's caption to press it; on the
// embedded client they can speak in the room as anyone ("alice: -join"),
// on IRC only as the host ("say TEXT"); `help` lists the rest.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "console/console_front_end.h"
#include "console/console_printer.h"
#include "app/host_program.h"

namespace zorvik {

// Told what a command is about to make someone say, as the room will show
// it: the speaker (empty for the host, whatever its name on the client) and
// the text.
using SpokenObserver = std::function<void(const std::string& name, const std::string& text)>;

// Carries out one typed command on `program`, printing answers to `out`.
// May dispatch (a pressed button runs its handler to the end).
void RunConsoleCommand(HostProgram& program, std::string_view command, std::ostream& out,
                       const SpokenObserver& spoken = {});

// The text of `help`.
std::string_view ConsoleHelp();

// A typed line longer than this (in bytes) is not a command anyone meant:
// it is refused rather than kept without end.
inline constexpr std::size_t kLongestCommand = 64 * 1024;

// Cuts the operator's typed bytes into command lines (LF or CR LF ends a
// line) and hands each to `sink`, in order. A line longer than any command
// is refused on `out` and dropped whole, however it continues.
class ConsoleInputLines {
 public:
  using LineSink = std::function<void(std::string line)>;
  // `out` must outlive the reader.
  ConsoleInputLines(LineSink sink, std::ostream& out);
  void Feed(std::string_view bytes);

 private:
  LineSink sink_;
  std::ostream& out_;
  std::string pending_;
  bool overlong_ = false;
};

// Runs `line` as a command in a task of its own on `loop`, so that a command
// that waits never holds up reading the next one. `program` and `out` must
// outlive the task.
void PostConsoleCommand(EventLoop& loop, HostProgram& program, std::string line,
                        std::ostream& out, const SpokenObserver& spoken = {});

// Reads the operator's lines from descriptor `input` on `loop` and hands
// each to `sink`; says so on `out` when the input ends. `out` must outlive
// the loop's run.
void ReadConsoleLines(EventLoop& loop, int input, std::ostream& out,
                      ConsoleInputLines::LineSink sink);

// Reads the operator's commands from descriptor `input` on `loop` and runs
// each as a task of its own on `program`, printing answers to `out`. All
// three must outlive the loop's run.
void ReadConsoleCommands(EventLoop& loop, HostProgram& program, int input, std::ostream& out,
                         SpokenObserver spoken = {});

// Runs until the operator presses "exit" (or input ends and nothing is
// left to do). Reads commands from descriptor `input`; shown on `display`
// (line mode prints to `out`). Returns the exit status.
int RunTextConsole(const ProgramOptions& options, int input, std::ostream& out,
                   ConsoleDisplay display = ConsoleDisplay::kLines);

}  // namespace zorvik
