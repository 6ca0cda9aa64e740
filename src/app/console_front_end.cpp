#include "app/console_front_end.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/console_printer.h"
#include "app/text_console.h"

namespace zorvik {

namespace {

// The log of lines: the room, the runner's news and the console's state as
// they come, boxes printed in place.
class LineFrontEnd : public ConsoleFrontEnd {
 public:
  LineFrontEnd(PollLoop& loop, int input, std::ostream& out, bool echoed)
      : loop_(loop), input_(input), out_(out), boxes_(out), echoed_(echoed) {}

  std::ostream& notes() override { return out_; }
  MessageBoxes& boxes() override { return boxes_; }

  void Attach(HostProgram& program, bool commands) override {
    printer_.emplace(program, out_);
    if (!commands) return;
    SpokenObserver spoken;
    if (echoed_) {
      spoken = [this](const std::string& name, const std::string& text) {
        printer_->SkipEcho(name, text);
      };
    }
    ReadConsoleCommands(loop_, program, input_, out_, std::move(spoken));
  }

  void HostLine(const std::string& nick, const std::string& text) override {
    if (printer_) printer_->PrintLine(nick, text);
  }

 private:
  PollLoop& loop_;
  const int input_;
  std::ostream& out_;
  PrintedBoxes boxes_;
  const bool echoed_;
  std::optional<ConsolePrinter> printer_;
};

}  // namespace

ConsoleDisplay ChooseDisplay(int input, int output) {
  if (!isatty(input) || !isatty(output)) return ConsoleDisplay::kLines;
  const char* term = std::getenv("TERM");
  if (!FullScreenAvailable() || !term || !*term || std::strcmp(term, "dumb") == 0) {
    return ConsoleDisplay::kEchoedLines;
  }
  return ConsoleDisplay::kFullScreen;
}

std::unique_ptr<ConsoleFrontEnd> MakeConsoleFrontEnd(ConsoleDisplay display, PollLoop& loop,
                                                      int input, std::ostream& out) {
  if (display == ConsoleDisplay::kFullScreen) {
    if (auto screen = MakeFullScreenConsole(loop, input, out)) return screen;
    display = ConsoleDisplay::kEchoedLines;
  }
  return std::make_unique<LineFrontEnd>(loop, input, out,
                                        display == ConsoleDisplay::kEchoedLines);
}

}  // namespace zorvik
