// What the terminal's runners (the text console, IRC, the demo) show the
// host on: either a log of lines for pipes, services and tests, or the
// full-screen console when standard input and output are terminals. The
// runner wires the host; the front end shows it and takes the operator's
// commands.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/host_program.h"
#include "bridge/loop/poll_loop.h"
#include "windows/message_box.h"

namespace zorvik {

enum class ConsoleDisplay {
  kLines,       // a readable log on the output stream
  kEchoedLines, // the same, on a terminal that already shows what is typed
  kFullScreen,  // the seats, the room and an input line, in place
};

// Full screen when both descriptors are terminals, the terminal can do it
// (TERM is set and not "dumb") and the program was built with it; else
// lines.
ConsoleDisplay ChooseDisplay(int input, int output);

// How the IRC link stands, for the top of the full-screen console.
struct LinkState {
  std::string text;       // "connected to #battles", "reconnecting in 4 s", ...
  bool counting = false;  // the text counts down: ask again in a second
};

class ConsoleFrontEnd {
 public:
  ConsoleFrontEnd() = default;
  ConsoleFrontEnd(const ConsoleFrontEnd&) = delete;
  ConsoleFrontEnd& operator=(const ConsoleFrontEnd&) = delete;
  virtual ~ConsoleFrontEnd() = default;

  // Where the runner's own news goes ("[irc] ...", "[exit] goodbye"), a
  // line at each std::endl.
  virtual std::ostream& notes() = 0;
  // The host's message boxes (about, help).
  virtual MessageBoxes& boxes() = 0;
  // Starts showing `program` and, with `commands`, taking the operator's
  // commands. Called once, before the program starts; `program` must
  // outlive the front end's use.
  virtual void Attach(HostProgram& program, bool commands) = 0;
  // A line the host said that the room feed does not bring back (IRC).
  virtual void HostLine(const std::string& nick, const std::string& text) = 0;

  // Several hosts, one per IRC channel, in place of Attach: one channel is
  // shown at a time, the first to begin with, and the operator's commands
  // go to its host; "channel #NAME" shows another and "channel" lists them.
  // Called once, before the programs start.
  struct Channel {
    std::string name;
    HostProgram* program;
  };
  virtual void AttachChannels(std::vector<Channel> channels);
  // HostLine for the host of channel `index` (of those attached).
  virtual void ChannelHostLine(std::size_t index, const std::string& nick,
                               const std::string& text);
  // Asked, with the index of the channel shown (0 with one channel),
  // whenever the top of the screen is drawn; lines ignore it.
  virtual void SetLinkState(std::function<LinkState(std::size_t shown)> state) { (void)state; }
};

// The front end for `display`, on `loop`, reading commands from `input`
// and printing lines to `out`. All must outlive it.
std::unique_ptr<ConsoleFrontEnd> MakeConsoleFrontEnd(ConsoleDisplay display, PollLoop& loop,
                                                      int input, std::ostream& out);

// The full-screen console, or null when the program was built without it
// or the terminal cannot be set up (then lines are used).
std::unique_ptr<ConsoleFrontEnd> MakeFullScreenConsole(PollLoop& loop, int input,
                                                        std::ostream& out);
// Whether the program was built with the full-screen console.
bool FullScreenAvailable();

}  // namespace zorvik
