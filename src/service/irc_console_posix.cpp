// The IRC console's runner: the poll loop, the connection and the client.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "console/console_front_end.h"
#include "console/console_printer.h"
#include "service/irc_console.h"
#include "service/irc_operator_desk.h"
#include "service/signal_watch.h"
#include "service/match_log.h"
#include "service/operator_reload.h"
#include "service/player_help.h"
#include "console/text_console.h"
#include "bridge/irc/irc_client.h"
#include "bridge/irc/irc_connection.h"
#include "bridge/irc/irc_message.h"
#include "bridge/loop/poll_loop.h"

namespace zorvik {

namespace {

// Whether nobody can type commands on `input`: it is closed, or a device
// that is no terminal (/dev/null, as a service's standard input).
bool NobodyTypes(int input) {
  struct stat info {};
  if (fstat(input, &info) != 0) return true;
  return S_ISCHR(info.st_mode) && !isatty(input);
}

}  // namespace

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
  // A reread config may name operators where there were none.
  settings.keep_private_messages = !irc.operators.empty() || !irc.config_file.empty();
  const IrcEndpoint endpoint = irc.endpoint;
  IrcClient client(
      loop, [&loop, endpoint] { return std::make_unique<IrcConnection>(loop, endpoint); },
      settings);
  // One host per channel, each with its own match record, listeners,
  // instant-message switch and dice, on the channel's own room, and each
  // with its own match log.
  struct ChannelHost {
    ChannelHost(EventLoop& loop, MessageBoxes& boxes, const ProgramOptions& options,
                IrcChannel& channel, const IrcOptions& irc, std::ostream& notes)
        : room(channel),
          log(loop, channel, channel.name(), irc.log_folder, irc.log_keep, notes),
          program(loop, boxes, WithAutopilot(options, irc, channel.name()), log.chat(), channel) {}
    static ProgramOptions WithAutopilot(ProgramOptions options, const IrcOptions& irc,
                                        const std::string& channel) {
      options.autopilot.reset();
      if (irc.AutopilotIn(channel)) options.autopilot = irc.autopilot;
      return options;
    }
    IrcChannel& room;
    MatchLog log;
    HostProgram program;
  };
  std::vector<std::unique_ptr<ChannelHost>> hosts;
  int status = 0;
  std::optional<Micros> reconnect_at;
  client.SetStatusObserver([&](IrcStatus kind, const std::string& text) {
    switch (kind) {
      case IrcStatus::kInfo:
        reconnect_at = ReconnectTime(text, loop.Now());
        for (const auto& host : hosts) host->log.Link(host->room.joined(), text);
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

  OperatorDesk desk(
      loop, front->boxes(),
      [&client](const std::string& nick, const std::string& text) { client.SendNotice(nick, text); },
      notes);
  desk.SetOperators(irc.operators, irc.operators_may_exit);
  OperatorList operators{irc.operators, irc.operators_may_exit};
  // On the full-screen terminal SIGHUP is the terminal hanging up.
  std::optional<SignalWatch> hangup;
  if (!irc.config_file.empty() && display != ConsoleDisplay::kFullScreen) {
    hangup.emplace(loop, SIGHUP, [&] {
      notes << Printable(RereadOperators(irc.config_file, operators)) << std::endl;
      desk.SetOperators(operators.operators, operators.may_exit);
    });
  }
  // SIGTERM (systemctl stop) and SIGINT (^C) end the host as "exit" ends a
  // match, without its farewell lines: every open match log gets its
  // "#exit", QUIT goes out at once, whatever the bucket holds, and the
  // program ends.
  const auto stop = [&](const std::string& signal_name) {
    for (const auto& host : hosts) host->log.Exit();
    client.Quit("zorvik stopped (" + signal_name + ")");
    notes << "[exit] " << signal_name << ": goodbye" << std::endl;
    loop.Quit();
  };
  const SignalWatch terminate(loop, SIGTERM, [&] { stop("SIGTERM"); });
  const SignalWatch interrupt(loop, SIGINT, [&] { stop("SIGINT"); });
  // Players' +help and +roster, in a channel or by private message.
  PlayerHelp help(loop, [&client](const std::string& nick, const std::string& text) {
    client.SendNotice(nick, text);
  });
  client.SetPrivateObserver([&desk, &help](const IrcSender& sender, const std::string& text) {
    if (!help.Hear(std::string(NickOf(sender.prefix)), "", text)) desk.Hear(sender, text);
  });

  std::vector<ConsoleFrontEnd::Channel> shown;
  for (std::size_t i = 0; i < client.channel_count(); ++i) {
    IrcChannel& room = client.channel(i);
    auto host = std::make_unique<ChannelHost>(loop, desk.boxes(), options, room, irc, notes);
    HostProgram& program = host->program;
    MatchLog& log = host->log;
    room.SetSentObserver([&front, &log, i](const std::string& nick, const std::string& text) {
      front->ChannelHostLine(i, nick, text);
      log.HostLine(nick, text);
    });
    if (Autopilot* autopilot = program.autopilot()) {
      autopilot->SetNoteSink([&notes, &room](const std::string& note) {
        notes << "[auto] " << Printable(room.name()) << ": " << Printable(note) << std::endl;
      });
      room.SetPresenceObserver([autopilot](const std::string& nick, bool here) {
        if (here) {
          autopilot->PersonBack(nick);
        } else {
          autopilot->PersonLeft(nick);
        }
      });
    }
    help.AddChannel(room.name(), program.autopilot()
                                     ? std::optional(program.autopilot()->settings())
                                     : std::nullopt);
    room.Subscribe([&help, &room](const std::string& nick, const std::string& text) {
      help.Hear(nick, room.name(), text);
    });
    desk.Attach(room.name(), program);
    log.Attach(program);
    program.splash().AddVisibilityObserver([&loop, &program](bool shown_now) {
      if (shown_now) loop.Post([&program] { program.splash().Click(); });
    });
    program.console().SetExitAction([&] {
      client.Quit("zorvik says goodbye");
      notes << "[exit] goodbye" << std::endl;
    });
    shown.push_back(ConsoleFrontEnd::Channel{room.name(), &program});
    hosts.push_back(std::move(host));
  }
  // The link as the shown channel has it: its join and its queue.
  front->SetLinkState([&](std::size_t index) {
    const IrcChannel& room = client.channel(std::min(index, client.channel_count() - 1));
    return DescribeLink(LinkFacts{room.joined(), client.registered(), room.queued(),
                                  room.dropped(), reconnect_at, status != 0},
                        loop.Now());
  });
  if (hosts.size() == 1) {
    front->Attach(hosts.front()->program, true);
  } else {
    front->AttachChannels(shown);
  }

  // Run as a service (standard input /dev/null or closed) with nobody to
  // press a button, not a single match could start: say so, once.
  const bool autopilot_anywhere = std::any_of(
      hosts.begin(), hosts.end(), [](const auto& host) { return host->program.autopilot(); });
  if (NobodyTypes(input) && irc.operators.empty() && !autopilot_anywhere) {
    const std::string warning =
        "nobody can steer this host: no terminal, no [[operator]] and no [autopilot] in the "
        "config, so no match can start";
    notes << "[warning] " << warning << std::endl;
    std::cerr << "zorvik: " << warning << std::endl;
  }

  std::string names;
  for (const ConsoleFrontEnd::Channel& channel : shown) {
    names += (names.empty() ? "" : ", ") + channel.name;
  }
  notes << "zorvik " << ZORVIK_VERSION << " on IRC: " << Printable(names) << " at "
        << Printable(endpoint.host) << ":" << endpoint.port << (endpoint.tls ? " (TLS" : " (plain")
        << (endpoint.tls && endpoint.skip_verify ? ", certificate NOT checked)" : ")") << " as "
        << Printable(settings.nick) << ". Type help for commands." << std::endl;
  client.Start();
  for (const auto& host : hosts) host->program.Start();
  loop.Run();
  return status;
}

}  // namespace zorvik
