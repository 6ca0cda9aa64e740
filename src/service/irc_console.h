// The host in an IRC channel, steered from the terminal: the text console
// with the IRC client in place of the embedded one. The channel's lines and
// the host's own are printed as they pass, with the link's news ("[irc]")
// and private messages ("[im]") in between.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string_view>

#include "console/console_front_end.h"
#include "app/host_program.h"
#include "service/irc_options.h"

namespace zorvik {

// Runs until the operator presses "exit" or the client gives up for good.
// Reads commands from descriptor `input`, shown on `display`. Returns the
// exit status: 0 after "exit", 1 when the client gave up.
int RunIrcConsole(const ProgramOptions& options, const IrcOptions& irc, int input,
                  std::ostream& out, ConsoleDisplay display = ConsoleDisplay::kLines);

// When the client's news `news` (heard at `now`) says the link will be
// tried again: the time it names; nothing for any other news.
std::optional<Micros> ReconnectTime(std::string_view news, Micros now);

// What the client shows of its link.
struct LinkFacts {
  bool joined = false;
  bool registered = false;
  std::size_t waiting = 0;  // lines queued
  std::size_t dropped = 0;  // lines dropped from a full queue, ever
  std::optional<Micros> reconnect_at;
  bool given_up = false;
};

// The link's state for the top of the screen at `now`: "connected",
// "reconnecting in N s", ..., and the lines waiting.
LinkState DescribeLink(const LinkFacts& facts, Micros now);

}  // namespace zorvik
