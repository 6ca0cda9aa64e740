// The host in an IRC channel, steered from the terminal: the text console
// with the IRC client in place of the embedded one. The channel's lines and
// the host's own are printed as they pass, with the link's news ("[irc]")
// and private messages ("[im]") in between.
#pragma once

#include <ostream>

#include "app/host_program.h"
#include "app/irc_options.h"

namespace zorvik {

// Runs until the operator presses "exit" or the client gives up for good.
// Reads commands from descriptor `input`. Returns the exit status: 0 after
// "exit", 1 when the client gave up.
int RunIrcConsole(const ProgramOptions& options, const IrcOptions& irc, int input,
                  std::ostream& out);

}  // namespace zorvik
