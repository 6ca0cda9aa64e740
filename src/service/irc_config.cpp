#include "service/irc_config.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <set>
#include <sstream>

#include <toml++/toml.h>

#include "console/console_printer.h"

namespace zorvik {

namespace {

// The longest time an [autopilot] setting may name, in seconds: a day.
constexpr double kLongestAutopilotTime = 24 * 60 * 60;

// A word a player types alone on a line: 1 to 32 bytes, no blanks or
// control characters.
bool OneWord(std::string_view word) {
  return !word.empty() && word.size() <= 32 &&
         std::none_of(word.begin(), word.end(), [](char c) {
           const auto byte = static_cast<unsigned char>(c);
           return byte <= 0x20 || byte == 0x7F;
         });
}

// Walks one table, taking each known key once and calling the rest errors.
class ConfigTable {
 public:
  ConfigTable(const toml::table& table, const std::string& path, std::string prefix)
      : table_(table), path_(path), prefix_(std::move(prefix)) {}

  std::string Where(const toml::node& node) const {
    return path_ + ":" + std::to_string(node.source().begin.line) + ": ";
  }

  // Sets `error` and returns false when the key is there but not a string.
  bool String(std::string_view key, std::string& into, std::string& error) {
    const toml::node* node = Take(key);
    if (!node || !error.empty()) return node != nullptr;
    if (const auto* value = node->as_string()) {
      into = value->get();
      return true;
    }
    error = Where(*node) + prefix_ + std::string(key) + " must be a string";
    return false;
  }

  bool Bool(std::string_view key, bool& into, std::string& error) {
    const toml::node* node = Take(key);
    if (!node || !error.empty()) return node != nullptr;
    if (const auto* value = node->as_boolean()) {
      into = value->get();
      return true;
    }
    error = Where(*node) + prefix_ + std::string(key) + " must be true or false";
    return false;
  }

  bool Number(std::string_view key, double& into, double least, double most, std::string& error) {
    const toml::node* node = Take(key);
    if (!node || !error.empty()) return node != nullptr;
    double value = 0;
    if (const auto* integer = node->as_integer()) {
      value = static_cast<double>(integer->get());
    } else if (const auto* floating = node->as_floating_point()) {
      value = floating->get();
    } else {
      error = Where(*node) + prefix_ + std::string(key) + " must be a number";
      return false;
    }
    if (!(value >= least && value <= most)) {
      std::ostringstream range;
      range << std::setprecision(10) << least << " to " << most;
      error = Where(*node) + prefix_ + std::string(key) + " must be from " + range.str();
      return false;
    }
    into = value;
    return true;
  }

  const toml::table* Table(std::string_view key, std::string& error) {
    const toml::node* node = Take(key);
    if (!node || !error.empty()) return nullptr;
    if (const auto* table = node->as_table()) return table;
    error = Where(*node) + prefix_ + std::string(key) + " must be a table ([" +
            std::string(key) + "])";
    return nullptr;
  }

  // An array of anything; null when absent or in error.
  const toml::node* Array(std::string_view key, std::string& error) {
    const toml::node* node = Take(key);
    if (!node || !error.empty()) return nullptr;
    if (node->as_array()) return node;
    error = Where(*node) + prefix_ + std::string(key) + " must be a list ([...])";
    return nullptr;
  }

  // An array of tables ([[key]]); null when absent or in error.
  const toml::array* Tables(std::string_view key, std::string& error) {
    const toml::node* node = Take(key);
    if (!node || !error.empty()) return nullptr;
    if (const auto* array = node->as_array(); array && array->is_array_of_tables()) return array;
    error = Where(*node) + prefix_ + std::string(key) + " must be tables ([[" + std::string(key) +
            "]])";
    return nullptr;
  }

  // The first key nobody took, as an error.
  void CheckRest(std::string& error) const {
    if (!error.empty()) return;
    for (const auto& [key, node] : table_) {
      if (taken_.count(std::string(key.str())) == 0) {
        error = Where(node) + "unknown key " + prefix_ + Printable(std::string(key.str()));
        return;
      }
    }
  }

 private:
  const toml::node* Take(std::string_view key) {
    taken_.insert(std::string(key));
    return table_.get(key);
  }

  const toml::table& table_;
  const std::string& path_;
  std::string prefix_;
  std::set<std::string> taken_;
};

}  // namespace

std::string ReadPasswordFile(const std::string& path, std::string& password) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    return "cannot read the password file " + path + ": " + std::strerror(errno);
  }
  if (!S_ISREG(info.st_mode)) return "the password file " + path + " is not a plain file";
  if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    return "the password file " + path +
           " may be read or changed by others than its owner; make it private (chmod 600)";
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read the password file " + path + ": " + std::strerror(errno);
  std::string line;
  if (!std::getline(in, line)) return "the password file " + path + " holds no password";
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.empty()) return "the password file " + path + " holds no password on its first line";
  password = line;
  return {};
}

std::string ParseIrcConfig(std::string_view text, const std::string& path, IrcOptions& options) {
  toml::table root;
  try {
    root = toml::parse(text, path);
  } catch (const toml::parse_error& error) {
    return path + ":" + std::to_string(error.source().begin.line) + ": " +
           std::string(error.description());
  }
  std::string error;
  ConfigTable top(root, path, "");
  IrcClientSettings& client = options.client;
  const auto where = [&](std::string_view key) {
    const toml::node* node = root.get(key);
    return node ? top.Where(*node) : path + ": ";
  };

  std::string server;
  if (top.String("server", server, error)) {
    const std::string problem = ParseIrcUrl(server, options);
    if (!problem.empty() && error.empty()) error = where("server") + "server: " + problem;
  }
  std::string name;
  if (top.String("nick", name, error) && error.empty()) {
    if (!PlainName(name)) error = where("nick") + "nick must be a nick without spaces or , : ! @";
    client.nick = name;
  }
  if (top.String("user", name, error) && error.empty()) {
    if (!PlainName(name)) error = where("user") + "user must be a name without spaces";
    client.user = name;
  }
  top.String("realname", client.realname, error);
  if (top.String("feedback_nick", name, error) && error.empty()) {
    if (!PlainName(name)) error = where("feedback_nick") + "feedback_nick must be a nick";
    client.feedback_nick = name;
  }

  if (const toml::table* sasl = top.Table("sasl", error)) {
    ConfigTable table(*sasl, path, "sasl.");
    table.Bool("enabled", client.sasl, error);
    if (table.String("account", name, error) && error.empty()) {
      if (!PlainName(name)) {
        error = table.Where(*sasl->get("account")) + "sasl.account must be a name without spaces";
      }
      client.sasl_account = name;
    }
    std::string file;
    if (table.String("password_file", file, error) && error.empty()) {
      const std::string problem = ReadPasswordFile(file, client.password);
      if (!problem.empty()) error = table.Where(*sasl->get("password_file")) + problem;
    }
    table.CheckRest(error);
  }
  if (const toml::table* tls = top.Table("tls", error)) {
    ConfigTable table(*tls, path, "tls.");
    table.String("ca_file", options.endpoint.ca_file, error);
    table.Bool("insecure_skip_verify", options.endpoint.skip_verify, error);
    table.CheckRest(error);
  }
  if (const toml::table* flood = top.Table("flood", error)) {
    ConfigTable table(*flood, path, "flood.");
    table.Number("burst", client.burst, 1, 100, error);
    table.Number("lines_per_second", client.lines_per_second, 0.01, 100, error);
    table.CheckRest(error);
  }
  if (top.String("log_folder", options.log_folder, error) && error.empty() &&
      options.log_folder.empty()) {
    error = where("log_folder") + "log_folder must name a folder";
  }
  double keep = static_cast<double>(options.log_keep);
  if (top.Number("log_keep", keep, 0, kMaxLogKeep, error) && error.empty()) {
    if (keep != std::floor(keep)) {
      error = where("log_keep") + "log_keep must be a whole number";
    }
    options.log_keep = static_cast<std::size_t>(keep);
  }
  if (const toml::table* autopilot = top.Table("autopilot", error)) {
    ConfigTable table(*autopilot, path, "autopilot.");
    AutopilotSettings& settings = options.autopilot;
    table.Bool("enabled", options.autopilot_enabled, error);
    if (table.String("start_word", settings.start_word, error) && error.empty() &&
        !OneWord(settings.start_word)) {
      error = table.Where(*autopilot->get("start_word")) +
              "autopilot.start_word must be one word without spaces, of at most 32 bytes";
    }
    table.Bool("rematch", settings.rematch, error);
    const struct {
      std::string_view key;
      Micros& into;
      double least;
    } kTimes[] = {{"gap", settings.gap, 0},
                  {"rematch_gap", settings.rematch_gap, 1},
                  {"pick_time", settings.pick_time, 10},
                  {"turn_time", settings.turn_time, 10},
                  {"leave_grace", settings.leave_grace, 0}};
    for (const auto& time : kTimes) {
      double seconds = 0;
      if (table.Number(time.key, seconds, time.least, kLongestAutopilotTime, error)) {
        time.into = SecondsToMicros(seconds);
      }
    }
    table.CheckRest(error);
  }
  if (const toml::node* node = top.Array("channels", error)) {
    client.more_channels.clear();
    for (const toml::node& entry : *node->as_array()) {
      if (!error.empty()) break;
      IrcChannelSettings channel;
      if (const auto* plain = entry.as_string()) {
        channel.name = plain->get();
      } else if (const auto* keyed = entry.as_table()) {
        ConfigTable table(*keyed, path, "channels.");
        if (!table.String("name", channel.name, error) && error.empty()) {
          error = top.Where(entry) + "a channel in channels needs its name";
        }
        table.String("key", channel.key, error);
        bool autopilot = false;
        if (table.Bool("autopilot", autopilot, error)) {
          options.channel_autopilot.emplace_back(channel.name, autopilot);
        }
        table.CheckRest(error);
      } else {
        error = top.Where(entry) +
                "channels holds names (\"#battles\") or tables ({ name = \"#b\", key = \"k\" })";
      }
      if (!error.empty()) break;
      if (const std::string problem = ChannelNameProblem(channel.name); !problem.empty()) {
        error = top.Where(entry) + "channels: " + problem;
      } else if (channel.key.size() > 64 ||
                 channel.key.find_first_of(std::string(" ,\0\r\n", 5)) != std::string::npos) {
        error = top.Where(entry) + "channels: a key has at most 64 bytes and no spaces or commas";
      }
      client.more_channels.push_back(std::move(channel));
    }
  }
  top.Bool("operators_may_exit", options.operators_may_exit, error);
  if (const toml::array* operators = top.Tables("operator", error)) {
    options.operators.clear();
    for (const toml::node& node : *operators) {
      if (!error.empty()) break;
      const toml::table& entry = *node.as_table();
      ConfigTable table(entry, path, "operator.");
      IrcOperator op;
      const bool by_account = table.String("account", op.account, error);
      const bool by_mask = table.String("mask", op.mask, error);
      table.CheckRest(error);
      if (!error.empty()) break;
      if (by_account == by_mask) {
        error = table.Where(entry) + "an operator has either account or mask";
      } else if (by_account && !PlainName(op.account)) {
        error = table.Where(*entry.get("account")) + "operator.account must be a name without spaces";
      } else if (by_mask) {
        const std::string problem = IrcMaskProblem(op.mask);
        if (!problem.empty()) error = table.Where(*entry.get("mask")) + "operator.mask: " + problem;
      }
      options.operators.push_back(std::move(op));
    }
  }
  top.CheckRest(error);
  return error;
}

std::string ReadIrcConfig(const std::string& path, IrcOptions& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot open " + path + ": " + std::strerror(errno);
  // A folder opens, but its first read fails.
  errno = 0;
  in.peek();
  if (in.bad()) return "cannot read " + path + ": " + std::strerror(errno);
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return "cannot read " + path;
  return ParseIrcConfig(text.str(), path, options);
}

}  // namespace zorvik
