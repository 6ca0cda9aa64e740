// Prints what a person at the terminal would see of a running host: the
// room's lines as they appear, what the client sends on the operator's
// behalf, the program's windows coming and going, message boxes, and the
// console's state whenever something the operator sees there changes.
#pragma once

#include <deque>
#include <ostream>
#include <string>
#include <string_view>

#include "app/host_program.h"
#include "windows/message_box.h"

namespace zorvik {

// Chat text made safe for a terminal: every byte of a control character
// (C0, DEL and C1, so escape sequences included) and every byte that is not
// part of valid UTF-8 is shown as \xNN; valid UTF-8 otherwise stays as it
// is. The replay's transcript has escapes of its own (transcript.h).
std::string Printable(std::string_view text);

// One line with the console's state: seats, creatures, hit points and the
// buttons that can be pressed; with `listeners`, also what the host is
// listening for in the room, "joins", "player 2's attack" (a detail that
// `show` prints, but the running log leaves out).
std::string DescribeConsole(const HostConsole& console, bool listeners = false);

// The note for an instant message the client sent: the host's switch of
// the operator's instant messages said as such, any other one as it is.
std::string DescribeInstantMessage(const std::string& to, const std::string& message);

// Message boxes printed as their title and lines; OK is taken as pressed.
class PrintedBoxes : public MessageBoxes {
 public:
  explicit PrintedBoxes(std::ostream& out) : out_(out) {}
  void Show(const std::string& title, const std::string& text) override;

 private:
  std::ostream& out_;
};

class ConsolePrinter {
 public:
  // Observes `program` from now on; both must outlive the printer's use.
  ConsolePrinter(HostProgram& program, std::ostream& out);
  ConsolePrinter(const ConsolePrinter&) = delete;
  ConsolePrinter& operator=(const ConsolePrinter&) = delete;

  // Prints the console's state if it differs from what was printed last.
  void PrintConsoleIfChanged();

  // Prints a line of the room, or one the host says where the room feed
  // does not carry it back (IRC), as `name: text`.
  void PrintLine(const std::string& name, const std::string& text);

  // The operator's terminal has already shown this line as they typed it:
  // the next line printed with this text (and name, unless empty) is left
  // out, so that it does not stand there twice.
  void SkipEcho(const std::string& name, const std::string& text);

 private:
  // What only the embedded client shows: its instant messages and mail.
  void ObserveEmbeddedClient();

  HostProgram& program_;
  std::ostream& out_;
  std::string last_state_;
  std::deque<std::pair<std::string, std::string>> echoed_;
};

}  // namespace zorvik
