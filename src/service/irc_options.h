// The IRC front end's settings, read from the command line:
//   zorvik irc ircs://irc.example.net:6697/#battles --nick zorvikhost [OPTIONS]
// The password never comes from the command line (other users can read it
// there); main takes it from the environment.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "autopilot/autopilot.h"
#include "service/irc_operators.h"
#include "bridge/irc/irc_client.h"
#include "bridge/irc/irc_connection.h"

namespace zorvik {

// Where the password for SASL or the server is read from.
inline constexpr const char* kIrcPasswordVariable = "ZORVIK_IRC_PASSWORD";

// The most match logs a folder may be asked to keep.
inline constexpr double kMaxLogKeep = 1'000'000;

struct IrcOptions {
  IrcEndpoint endpoint;
  IrcClientSettings client;
  bool have_url = false;
  bool url_from_args = false;  // the command line's URL replaces the config file's
  std::string config_file;     // --config FILE, read before the other options
  // Who may steer the host by private message (from the config only).
  std::vector<IrcOperator> operators;
  bool operators_may_exit = false;  // whether "exit" from IRC ends the host
  std::string log_folder;           // where the match logs go; empty: none
  std::size_t log_keep = 100;       // logs kept in it; 0: all
  // The autopilot ([autopilot] in the config): its settings, whether it runs
  // in the channels, and the channels that say otherwise for themselves.
  AutopilotSettings autopilot;
  bool autopilot_enabled = false;
  std::vector<std::pair<std::string, bool>> channel_autopilot;

  // Whether the autopilot runs in `channel`.
  bool AutopilotIn(std::string_view channel) const;
};

// Reads "irc://HOST[:PORT]/#CHANNEL" or "ircs://HOST[:PORT]/#CHANNEL" (the
// ports default to 6667 and 6697; the channel's '#' may be written "%23" or
// left out). Returns the problem, or empty.
std::string ParseIrcUrl(std::string_view url, IrcOptions& options);

// The most channels one host serves on its connection.
inline constexpr std::size_t kMostIrcChannels = 20;

// Why `name` cannot be a channel's name ("#battles", "&local"), or empty.
std::string ChannelNameProblem(std::string_view name);

// A nick, user or account name the server can take as one parameter: 1 to
// 64 bytes, no spaces, controls or , : ! @, not starting like a channel.
bool PlainName(std::string_view name);

// One option of `zorvik irc`, given as "--name VALUE" or "--name=VALUE".
struct IrcOption {
  std::string_view name;   // "--nick"
  std::string_view value;  // what its value is, "a nick"; empty for a flag, which takes none
  // Applies `value` (empty for a flag) to `options`; returns the problem, or empty.
  std::string (*apply)(const std::string& value, IrcOptions& options);
};

// The IRC option called `name`, or null when there is none.
const IrcOption* FindIrcOption(std::string_view name);

// What is still missing or wrong once every argument is read, or empty.
std::string CheckIrcOptions(const IrcOptions& options);

// The options' lines of the usage text.
std::string IrcUsageText();

}  // namespace zorvik
