#include "console/console_front_end.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <streambuf>

#include "console/console_printer.h"
#include "console/text_console.h"
#include "bridge/irc/irc_message.h"
#include "match/chat_text.h"

namespace zorvik {

namespace {

// Passes what is written on to `out` while open, and drops it while shut:
// the printer of a channel that is not shown writes here.
class GatedBuffer : public std::streambuf {
 public:
  explicit GatedBuffer(std::ostream& out) : out_(out) {}
  bool open = false;

 protected:
  int overflow(int c) override {
    if (open && c != traits_type::eof()) out_.put(static_cast<char>(c));
    return c == traits_type::eof() ? 0 : c;
  }
  std::streamsize xsputn(const char* text, std::streamsize size) override {
    if (open) out_.write(text, size);
    return size;
  }
  int sync() override {
    if (open) out_.flush();
    return 0;
  }

 private:
  std::ostream& out_;
};

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

  void AttachChannels(std::vector<Channel> channels) override {
    for (const Channel& channel : channels) {
      auto shown = std::make_unique<Shown>(channel, out_);
      shown->printer.emplace(*channel.program, shown->stream);
      shown_.push_back(std::move(shown));
    }
    if (shown_.empty()) return;
    shown_.front()->buffer.open = true;
    ReadConsoleLines(loop_, input_, out_, [this](std::string line) {
      const std::string_view command = TrimSpaces(line);
      if (command == "channel" || command.starts_with("channel ")) {
        return Switch(TrimSpaces(command.substr(7)));
      }
      SpokenObserver spoken;
      if (echoed_) {
        spoken = [this](const std::string& name, const std::string& text) {
          shown_[current_]->printer->SkipEcho(name, text);
        };
      }
      PostConsoleCommand(loop_, *shown_[current_]->channel.program, std::move(line), out_,
                         spoken);
    });
  }

  void ChannelHostLine(std::size_t index, const std::string& nick,
                       const std::string& text) override {
    if (shown_.empty()) return HostLine(nick, text);
    if (index < shown_.size()) shown_[index]->printer->PrintLine(nick, text);
  }

 private:
  struct Shown {
    Shown(Channel shown, std::ostream& out) : channel(shown), buffer(out), stream(&buffer) {}
    Channel channel;
    GatedBuffer buffer;
    std::ostream stream;
    std::optional<ConsolePrinter> printer;
  };

  void Switch(std::string_view name) {
    if (name.empty()) {
      out_ << "[channel] channels:";
      for (std::size_t i = 0; i < shown_.size(); ++i) {
        out_ << ' ' << Printable(shown_[i]->channel.name) << (i == current_ ? " (shown)" : "");
      }
      out_ << std::endl;
      return;
    }
    for (std::size_t i = 0; i < shown_.size(); ++i) {
      if (!SameIrcName(shown_[i]->channel.name, name)) continue;
      shown_[current_]->buffer.open = false;
      current_ = i;
      shown_[i]->buffer.open = true;
      out_ << "[channel] showing " << Printable(shown_[i]->channel.name) << ": "
           << DescribeConsole(shown_[i]->channel.program->console()) << std::endl;
      return;
    }
    out_ << "[channel] no channel " << Printable(std::string(name)) << " here; type channel"
         << std::endl;
  }


  PollLoop& loop_;
  const int input_;
  std::ostream& out_;
  PrintedBoxes boxes_;
  const bool echoed_;
  std::optional<ConsolePrinter> printer_;
  std::vector<std::unique_ptr<Shown>> shown_;  // with several channels
  std::size_t current_ = 0;
};

}  // namespace

void ConsoleFrontEnd::AttachChannels(std::vector<Channel> channels) {
  // A console that shows one host only: the first channel's.
  if (channels.empty()) return;
  notes() << "[channel] this console shows " << Printable(channels.front().name)
          << " only; the other channels are steered from IRC" << std::endl;
  Attach(*channels.front().program, true);
}

void ConsoleFrontEnd::ChannelHostLine(std::size_t index, const std::string& nick,
                                      const std::string& text) {
  if (index == 0) HostLine(nick, text);
}

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
