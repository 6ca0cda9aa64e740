// Prints what a person at the terminal would see of a running host: the
// room's lines as they appear, what the client sends on the operator's
// behalf, the program's windows coming and going, message boxes, and the
// console's state whenever it changes.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "app/host_program.h"
#include "windows/message_box.h"

namespace zorvik {

// Chat text made safe for a terminal: control characters (escape
// sequences included) are shown as \xNN, everything else as it is.
std::string Printable(std::string_view text);

// One line with the console's state: seats, creatures, hit points, the
// buttons that can be pressed and the listeners that are on.
std::string DescribeConsole(const HostConsole& console);

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

 private:
  // What only the embedded client shows: its instant messages and mail.
  void ObserveEmbeddedClient();

  HostProgram& program_;
  std::ostream& out_;
  std::string last_state_;
};

}  // namespace zorvik
