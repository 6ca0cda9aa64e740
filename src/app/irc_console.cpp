#include "app/irc_console.h"

#include <random>

#include "app/console_printer.h"
#include "app/text_console.h"
#include "bridge/irc/irc_client.h"
#include "bridge/irc/irc_connection.h"
#include "bridge/loop/poll_loop.h"

namespace zorvik {

int RunIrcConsole(const ProgramOptions& options, const IrcOptions& irc, int input,
                  std::ostream& out) {
  PollLoop loop;
  IrcClientSettings settings = irc.client;
  // The reconnection jitter only spreads hosts apart; unlike the dice it
  // need not repeat from run to run.
  settings.jitter_seed = std::random_device()();
  settings.version = std::string("zorvik ") + ZORVIK_VERSION;
  const IrcEndpoint endpoint = irc.endpoint;
  IrcClient client(
      loop, [&loop, endpoint] { return std::make_unique<IrcConnection>(loop, endpoint); },
      settings);
  int status = 0;
  client.SetStatusObserver([&](IrcStatus kind, const std::string& text) {
    switch (kind) {
      case IrcStatus::kInfo:
        out << "[irc] " << Printable(text) << std::endl;
        break;
      case IrcStatus::kMessage:
        out << "[im] " << Printable(text) << std::endl;
        break;
      case IrcStatus::kFatal:
        out << "[irc] giving up: " << Printable(text) << std::endl;
        status = 1;
        loop.Quit();
        break;
    }
  });
  client.SetSentObserver([&out](const std::string& nick, const std::string& text) {
    out << Printable(nick) << ": " << Printable(text) << std::endl;
  });

  PrintedBoxes boxes(out);
  HostProgram program(loop, boxes, options, client, client);
  ConsolePrinter printer(program, out);
  program.splash().AddVisibilityObserver([&](bool shown) {
    if (shown) loop.Post([&program] { program.splash().Click(); });
  });
  program.console().SetExitAction([&] {
    client.Quit("zorvik says goodbye");
    out << "[exit] goodbye" << std::endl;
  });
  ReadConsoleCommands(loop, program, input, out);

  out << "zorvik " << ZORVIK_VERSION << " on IRC: " << Printable(settings.channel) << " at "
      << Printable(endpoint.host) << ":" << endpoint.port << (endpoint.tls ? " (TLS" : " (plain")
      << (endpoint.tls && endpoint.skip_verify ? ", certificate NOT checked)" : ")") << " as "
      << Printable(settings.nick) << ". Type help for commands." << std::endl;
  client.Start();
  program.Start();
  loop.Run();
  return status;
}

}  // namespace zorvik
