// The IRC console's runner: the poll loop, the connection and the client.
#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "app/console_front_end.h"
#include "app/console_printer.h"
#include "app/irc_console.h"
#include "app/irc_operator_desk.h"
#include "app/text_console.h"
#include "bridge/irc/irc_client.h"
#include "bridge/irc/irc_connection.h"
#include "bridge/loop/poll_loop.h"

namespace zorvik {

int RunIrcConsole(const ProgramOptions& options, const IrcOptions& irc, int input,
                  std::ostream& out, ConsoleDisplay display) {
  PollLoop loop;
  const std::unique_ptr<ConsoleFrontEnd> front = MakeConsoleFrontEnd(display, loop, input, out);
  std::ostream& notes = front->notes();
  IrcClientSettings settings = irc.client;
  // The reconnection jitter only spreads hosts apart; unlike the dice it
  // need not repeat from run to run.
  settings.jitter_seed = std::random_device()();
  settings.version = std::string("zorvik ") + ZORVIK_VERSION;
  // The operators steer by private message, even in the middle of a battle.
  settings.keep_private_messages = !irc.operators.empty();
  const IrcEndpoint endpoint = irc.endpoint;
  IrcClient client(
      loop, [&loop, endpoint] { return std::make_unique<IrcConnection>(loop, endpoint); },
      settings);
  int status = 0;
  std::optional<Micros> reconnect_at;
  client.SetStatusObserver([&](IrcStatus kind, const std::string& text) {
    switch (kind) {
      case IrcStatus::kInfo:
        reconnect_at = ReconnectTime(text, loop.Now());
        notes << "[irc] " << Printable(text) << std::endl;
        break;
      case IrcStatus::kMessage:
        notes << "[im] " << Printable(text) << std::endl;
        break;
      case IrcStatus::kFatal:
        notes << "[irc] giving up: " << Printable(text) << std::endl;
        status = 1;
        loop.Quit();
        break;
    }
  });
  IrcChannel& room = client.channel(0);
  room.SetSentObserver([&front](const std::string& nick, const std::string& text) {
    front->HostLine(nick, text);
  });
  front->SetLinkState([&] {
    return DescribeLink(LinkFacts{room.joined(), client.registered(), client.queued(),
                                  client.dropped(), reconnect_at, status != 0},
                        loop.Now());
  });

  OperatorDesk desk(
      loop, settings.channel, front->boxes(),
      [&client](const std::string& nick, const std::string& text) { client.SendNotice(nick, text); },
      notes);
  desk.SetOperators(irc.operators, irc.operators_may_exit);
  client.SetPrivateObserver(
      [&desk](const IrcSender& sender, const std::string& text) { desk.Hear(sender, text); });

  HostProgram program(loop, desk.boxes(), options, room, room);
  desk.Attach(program);
  program.splash().AddVisibilityObserver([&](bool shown) {
    if (shown) loop.Post([&program] { program.splash().Click(); });
  });
  program.console().SetExitAction([&] {
    client.Quit("zorvik says goodbye");
    notes << "[exit] goodbye" << std::endl;
  });
  front->Attach(program, true);

  notes << "zorvik " << ZORVIK_VERSION << " on IRC: " << Printable(settings.channel) << " at "
        << Printable(endpoint.host) << ":" << endpoint.port << (endpoint.tls ? " (TLS" : " (plain")
        << (endpoint.tls && endpoint.skip_verify ? ", certificate NOT checked)" : ")") << " as "
        << Printable(settings.nick) << ". Type help for commands." << std::endl;
  client.Start();
  program.Start();
  loop.Run();
  return status;
}

}  // namespace zorvik
