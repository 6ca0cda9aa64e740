#include "app/irc_console.h"

#include <cstdio>
#include <random>
#include <string>

#include "app/console_printer.h"
#include "app/text_console.h"
#include "bridge/irc/irc_client.h"
#include "bridge/irc/irc_connection.h"
#include "bridge/loop/poll_loop.h"

namespace zorvik {

std::optional<Micros> ReconnectTime(std::string_view news, Micros now) {
  // The client's news of a lost link ends "...; trying again in 4.0 s".
  constexpr std::string_view kTrying = "; trying again in ";
  const std::size_t at = news.rfind(kTrying);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string number(news.substr(at + kTrying.size()));
  double seconds = 0;
  if (std::sscanf(number.c_str(), "%lf", &seconds) != 1) return std::nullopt;
  return now + SecondsToMicros(seconds);
}

LinkState DescribeLink(const LinkFacts& facts, Micros now) {
  LinkState state;
  if (facts.given_up) {
    state.text = "given up";
  } else if (facts.joined) {
    state.text = "connected";
  } else if (facts.reconnect_at && *facts.reconnect_at > now) {
    const Micros left = *facts.reconnect_at - now;
    state.text = "reconnecting in " +
                 std::to_string((left + kMicrosPerSecond - 1) / kMicrosPerSecond) + " s";
    state.counting = true;
  } else {
    state.text = facts.registered ? "joining the channel" : "connecting";
  }
  if (facts.waiting > 0) state.text += ", " + std::to_string(facts.waiting) + " lines waiting";
  if (facts.dropped > 0) state.text += ", " + std::to_string(facts.dropped) + " dropped";
  return state;
}

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
  client.SetSentObserver([&front](const std::string& nick, const std::string& text) {
    front->HostLine(nick, text);
  });
  front->SetLinkState([&] {
    return DescribeLink(LinkFacts{client.joined(), client.registered(), client.queued(),
                                  client.dropped(), reconnect_at, status != 0},
                        loop.Now());
  });

  HostProgram program(loop, front->boxes(), options, client, client);
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
