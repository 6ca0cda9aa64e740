#include "service/irc_options.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "console/console_printer.h"

namespace zorvik {

namespace {

bool ParseNumber(const std::string& text, double& value, double least, double most) {
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && ptr == end && value >= least && value <= most;
}

}  // namespace

bool PlainName(std::string_view name) {
  if (name.empty() || name.size() > 64) return false;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || c == ',' || c == ':' || c == '!' || c == '@') return false;
  }
  return name.front() != '#' && name.front() != '&';
}

std::string ChannelNameProblem(std::string_view name) {
  if (name.size() < 2 || (name.front() != '#' && name.front() != '&')) {
    return "a channel's name starts with # or & and has more after it";
  }
  if (name.size() > 64) return "a channel's name has at most 64 bytes";
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || c == ',' || byte == 0x07)
      return "the channel's name cannot hold \"" + Printable(std::string(1, c)) + "\"";
  }
  return {};
}

std::string ParseIrcUrl(std::string_view url, IrcOptions& options) {
  IrcEndpoint& endpoint = options.endpoint;
  if (url.starts_with("ircs://")) {
    endpoint.tls = true;
    endpoint.port = 6697;
    url.remove_prefix(7);
  } else if (url.starts_with("irc://")) {
    endpoint.tls = false;
    endpoint.port = 6667;
    url.remove_prefix(6);
  } else {
    return "the server must be given as irc://HOST[:PORT]/#CHANNEL or ircs://...";
  }
  const std::size_t slash = url.find('/');
  std::string_view authority = url.substr(0, slash);
  std::string_view channel =
      slash == std::string_view::npos ? std::string_view() : url.substr(slash + 1);
  if (authority.empty()) return "the URL names no server";
  std::string_view host = authority;
  if (authority.front() == '[') {  // [IPv6]:port
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return "the URL's IPv6 address has no ']'";
    host = authority.substr(1, close - 1);
    authority.remove_prefix(close + 1);
  } else {
    const std::size_t colon = authority.rfind(':');
    host = authority.substr(0, colon);
    authority = colon == std::string_view::npos ? std::string_view() : authority.substr(colon);
  }
  if (!authority.empty()) {
    if (authority.front() != ':') return "the URL's port cannot be read";
    unsigned port = 0;
    const char* end = authority.data() + authority.size();
    const auto [ptr, error] = std::from_chars(authority.data() + 1, end, port);
    if (error != std::errc() || ptr != end || port == 0 || port > 65535) {
      return "the URL's port must be a number from 1 to 65535";
    }
    endpoint.port = static_cast<std::uint16_t>(port);
  }
  if (host.empty()) return "the URL names no server";
  endpoint.host = std::string(host);
  std::string name(channel);
  if (name.starts_with("%23")) name = "#" + name.substr(3);
  if (!name.empty() && name.front() != '#' && name.front() != '&') name = "#" + name;
  if (name.size() < 2) return "the URL names no channel (irc://HOST/#CHANNEL)";
  if (std::string problem = ChannelNameProblem(name); !problem.empty()) return problem;
  options.client.channel = name;
  options.have_url = true;
  return {};
}

namespace {

// A name the server takes as one parameter, or `problem`.
std::string Name(const std::string& value, std::string& into, const char* problem) {
  into = value;
  return PlainName(value) ? std::string() : problem;
}

constexpr IrcOption kIrcOptions[] = {
    {"--config", "a file",
     [](const std::string& value, IrcOptions& options) {
       options.config_file = value;  // read by ParseCommandLine before the rest
       return std::string();
     }},
    {"--nick", "a nick",
     [](const std::string& value, IrcOptions& options) {
       return Name(value, options.client.nick, "--nick takes a nick without spaces or , : ! @");
     }},
    {"--user", "a name",
     [](const std::string& value, IrcOptions& options) {
       return Name(value, options.client.user, "--user takes a name without spaces");
     }},
    {"--realname", "a text",
     [](const std::string& value, IrcOptions& options) {
       options.client.realname = value;
       return std::string();
     }},
    {"--sasl", "",
     [](const std::string&, IrcOptions& options) {
       options.client.sasl = true;
       return std::string();
     }},
    {"--sasl-account", "a name",
     [](const std::string& value, IrcOptions& options) {
       options.client.sasl = true;
       return Name(value, options.client.sasl_account,
                   "--sasl-account takes a name without spaces");
     }},
    {"--ca-file", "a file",
     [](const std::string& value, IrcOptions& options) {
       options.endpoint.ca_file = value;
       return std::string();
     }},
    {"--insecure-skip-verify", "",
     [](const std::string&, IrcOptions& options) {
       options.endpoint.skip_verify = true;
       return std::string();
     }},
    {"--burst", "a number",
     [](const std::string& value, IrcOptions& options) {
       return ParseNumber(value, options.client.burst, 1, 100)
                  ? std::string()
                  : "--burst takes a number of lines from 1 to 100";
     }},
    {"--lines-per-second", "a number",
     [](const std::string& value, IrcOptions& options) {
       return ParseNumber(value, options.client.lines_per_second, 0.01, 100)
                  ? std::string()
                  : "--lines-per-second takes a number from 0.01 to 100";
     }},
    {"--log-folder", "a folder",
     [](const std::string& value, IrcOptions& options) {
       options.log_folder = value;
       return value.empty() ? "--log-folder takes a folder" : std::string();
     }},
    {"--log-keep", "a number",
     [](const std::string& value, IrcOptions& options) {
       double keep = 0;
       if (!ParseNumber(value, keep, 0, kMaxLogKeep) || keep != std::floor(keep)) {
         return std::string("--log-keep takes a whole number from 0 to 1000000");
       }
       options.log_keep = static_cast<std::size_t>(keep);
       return std::string();
     }},
    {"--feedback-nick", "a nick",
     [](const std::string& value, IrcOptions& options) {
       return Name(value, options.client.feedback_nick, "--feedback-nick takes a nick");
     }},
};

}  // namespace

const IrcOption* FindIrcOption(std::string_view name) {
  for (const IrcOption& option : kIrcOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

bool IrcOptions::AutopilotIn(std::string_view channel) const {
  bool on = autopilot_enabled;
  for (const auto& [name, enabled] : channel_autopilot) {
    if (SameIrcName(name, channel)) on = enabled;
  }
  return on;
}

std::string CheckIrcOptions(const IrcOptions& options) {
  if (!options.have_url) return "irc needs the server: irc://HOST[:PORT]/#CHANNEL or ircs://...";
  if (options.client.nick.empty()) return "irc needs --nick NICK";
  const std::vector<IrcChannelSettings> channels = ServedChannels(options.client);
  if (channels.size() > kMostIrcChannels) {
    return "one host serves at most " + std::to_string(kMostIrcChannels) + " channels";
  }
  for (std::size_t i = 0; i < channels.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (SameIrcName(channels[i].name, channels[j].name)) {
        return "the channel " + Printable(channels[i].name) + " is named twice";
      }
    }
  }
  if (options.endpoint.skip_verify && !options.endpoint.ca_file.empty()) {
    return "--ca-file and --insecure-skip-verify contradict each other";
  }
  if (!options.endpoint.tls &&
      (options.endpoint.skip_verify || !options.endpoint.ca_file.empty())) {
    return "--ca-file and --insecure-skip-verify only make sense with ircs://";
  }
  return {};
}

std::string IrcUsageText() {
  return "IRC (zorvik irc URL --nick NICK [OPTIONS], or zorvik irc --config FILE)\n"
         "  --config FILE           read the settings from FILE (TOML); the other\n"
         "                          options override it\n"
         "  URL                     irc://HOST[:PORT]/#CHANNEL (port 6667) or\n"
         "                          ircs://HOST[:PORT]/#CHANNEL (TLS, port 6697)\n"
         "  --nick NICK             the host's nick (required)\n"
         "  --user NAME, --realname TEXT   what WHOIS shows (default zorvik)\n"
         "  --sasl                  log in with SASL PLAIN as the nick's account\n"
         "  --sasl-account NAME     ... as this account\n"
         "  --ca-file FILE          trust the server certificate's CA from FILE\n"
         "  --insecure-skip-verify  TLS without checking the server's certificate\n"
         "  --burst N               lines the host may send at once (default 4)\n"
         "  --lines-per-second R    then one line every 1/R s (default 1)\n"
         "  --feedback-nick NICK    where the feedback form's mail goes\n"
         "  --log-folder DIR        write each match to a log file of its own in DIR\n"
         "  --log-keep N            keep the newest N logs there (default 100; 0: all)\n"
         "  The password (SASL with --sasl, else the server's) is read from the\n"
         "  environment variable ZORVIK_IRC_PASSWORD, never from the command line.\n";
}

}  // namespace zorvik
