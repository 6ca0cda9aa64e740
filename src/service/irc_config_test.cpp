#include "service/irc_config.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <tuple>

#include <gtest/gtest.h>

#include "app/command_line.h"

namespace zorvik {
namespace {

// Given a full config, every field lands where the client and the
// connection read it.
TEST(IrcConfigTest, ReadsEveryField) {
  IrcOptions options;
  const std::string error = ParseIrcConfig(R"(
server = "ircs://irc.example.net:7000/#battles"
nick = "zhost"
user = "zuser"
realname = "the battle host"
feedback_nick = "vandor"
log_folder = "/var/log/z"
log_keep = 7
channels = ["#two", { name = "&three", key = "sesame", autopilot = false }]
operators_may_exit = true
[autopilot]
enabled = true
start_word = "!duel"
gap = 0.5
rematch = true
rematch_gap = 45
pick_time = 90
turn_time = 60
leave_grace = 0
[[operator]]
account = "alice"
[[operator]]
mask = "b!*@h.example"
[sasl]
enabled = true
account = "zacct"
[tls]
ca_file = "/etc/ca.pem"
[flood]
burst = 6
lines_per_second = 0.5
)",
                                           "z.toml", options);
  ASSERT_EQ(error, "");
  const IrcEndpoint& e = options.endpoint;
  EXPECT_EQ(std::tie(e.host, e.port, e.tls, e.ca_file, e.skip_verify),
            std::make_tuple("irc.example.net", 7000, true, "/etc/ca.pem", false));
  const IrcClientSettings& c = options.client;
  EXPECT_EQ(std::tie(c.channel, c.nick, c.user, c.realname, c.feedback_nick),
            std::make_tuple("#battles", "zhost", "zuser", "the battle host", "vandor"));
  EXPECT_EQ(c.more_channels, (std::vector<IrcChannelSettings>{{"#two", ""}, {"&three", "sesame"}}));
  EXPECT_EQ(std::tie(c.sasl, c.sasl_account, c.burst, c.lines_per_second),
            std::make_tuple(true, "zacct", 6, 0.5));
  EXPECT_EQ(std::tie(options.log_folder, options.log_keep, options.have_url, options.url_from_args,
                     options.operators_may_exit),
            std::make_tuple("/var/log/z", 7u, true, false, true));
  ASSERT_EQ(options.operators.size(), 2u);
  EXPECT_EQ(options.operators[0].account, "alice");
  EXPECT_EQ(options.operators[1].mask, "b!*@h.example");
  const AutopilotSettings& a = options.autopilot;
  EXPECT_EQ(std::tie(a.start_word, a.gap, a.rematch, a.rematch_gap, a.pick_time, a.turn_time,
                     a.leave_grace),
            std::make_tuple("!duel", kMicrosPerSecond / 2, true, 45 * kMicrosPerSecond,
                            90 * kMicrosPerSecond, 60 * kMicrosPerSecond, 0));
  EXPECT_TRUE(options.AutopilotIn("#battles"));
  EXPECT_TRUE(options.AutopilotIn("#two"));
  EXPECT_FALSE(options.AutopilotIn("&THREE"));
  EXPECT_FALSE(IrcOptions().AutopilotIn("#battles"));
}

// Every mistake names the file, the line it is on and what is wrong.
TEST(IrcConfigTest, ErrorsNameFileLineAndProblem) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"nick = \"a\"\nnick = \"b\"\n", "c.toml:2: "},  // toml's own words follow
      {"server = 5\n", "c.toml:1: server must be a string"},
      {"\nserver = \"http://x/#y\"\n",
       "c.toml:2: server: the server must be given as irc://HOST[:PORT]/#CHANNEL or ircs://..."},
      {"nick = \"two words\"\n", "c.toml:1: nick must be a nick without spaces or , : ! @"},
      {"user = \"\"\n", "c.toml:1: user must be a name without spaces"},
      {"realname = true\n", "c.toml:1: realname must be a string"},
      {"feedback_nick = \"#chan\"\n", "c.toml:1: feedback_nick must be a nick"},
      {"colour = \"red\"\n", "c.toml:1: unknown key colour"},
      {"sasl = true\n", "c.toml:1: sasl must be a table ([sasl])"},
      {"[sasl]\nenabled = \"yes\"\n", "c.toml:2: sasl.enabled must be true or false"},
      {"[sasl]\naccount = \"a b\"\n", "c.toml:2: sasl.account must be a name without spaces"},
      {"[sasl]\npassword = \"x\"\n", "c.toml:2: unknown key sasl.password"},
      {"[sasl]\npassword_file = \"/nonexistent/zorvik\"\n",
       "c.toml:2: cannot read the password file /nonexistent/zorvik: No such file or directory"},
      {"[tls]\ninsecure_skip_verify = 1\n",
       "c.toml:2: tls.insecure_skip_verify must be true or false"},
      {"[tls]\nca = \"x\"\n", "c.toml:2: unknown key tls.ca"},
      {"[flood]\nburst = 0\n", "c.toml:2: flood.burst must be from 1 to 100"},
      {"[flood]\n\nlines_per_second = 101.5\n",
       "c.toml:3: flood.lines_per_second must be from 0.01 to 100"},
      {"[flood]\nburst = \"4\"\n", "c.toml:2: flood.burst must be a number"},
      {"[flood]\nburst = nan\n", "c.toml:2: flood.burst must be from 1 to 100"},
      {"log_folder = \"\"\n", "c.toml:1: log_folder must name a folder"},
      {"log_keep = 2.5\n", "c.toml:1: log_keep must be a whole number"},
      {"log_keep = -1\n", "c.toml:1: log_keep must be from 0 to 1000000"},
      {"channels = \"#a\"\n", "c.toml:1: channels must be a list ([...])"},
      {"channels = [\n\"#a\",\n\"b\"]\n",
       "c.toml:3: channels: a channel's name starts with # or & and has more after it"},
      {"channels = [{ key = \"k\" }]\n", "c.toml:1: a channel in channels needs its name"},
      {"channels = [{ name = \"#a\", autopilot = 1 }]\n",
       "c.toml:1: channels.autopilot must be true or false"},
      {"[autopilot]\nenabled = \"on\"\n", "c.toml:2: autopilot.enabled must be true or false"},
      {"[autopilot]\nstart_word = \"+ battle\"\n",
       "c.toml:2: autopilot.start_word must be one word without spaces"},
      {"[autopilot]\npick_time = 5\n", "c.toml:2: autopilot.pick_time must be from 10 to 86400"},
      {"[autopilot]\ngap = -1\n", "c.toml:2: autopilot.gap must be from 0 to 86400"},
      {"[autopilot]\njoin_time = 600\n", "c.toml:2: unknown key autopilot.join_time"},
      // Operators: by account or by a mask that does not match whole networks.
      {"[[operator]]\nmask = \"alice\"\n", "c.toml:2: operator.mask: a mask is nick!user@host"},
      {"[[operator]]\nmask = \"alice!*@*\"\n", "c.toml:2: operator.mask: the mask's host part"},
      {"[[operator]]\nmask = \"a!b@*.*\"\n", "c.toml:2: operator.mask: the mask's host part"},
      {"[[operator]]\naccount = \"a\"\nmask = \"a!b@c\"\n", "c.toml:1: an operator has either"},
      {"[[operator]]\n", "c.toml:1: an operator has either"},
      {"[[operator]]\naccount = \"a b\"\n", "c.toml:2: operator.account must be a name"},
      {"[[operator]]\nnick = \"a\"\n", "c.toml:2: unknown key operator.nick"},
      {"operator = \"a\"\n", "c.toml:1: operator must be tables ([[operator]])"},
  };
  for (const auto& c : cases) {
    IrcOptions options;
    const std::string error = ParseIrcConfig(c.text, "c.toml", options);
    EXPECT_TRUE(error.starts_with(c.error)) << c.text << "gave: " << error;
  }
}

// Bytes that are not TOML, or not UTF-8, are an error with a line, never a
// crash.
TEST(IrcConfigTest, GarbageIsAnError) {
  for (std::string text : {std::string("\xff\xfe\x00zz", 5), std::string("[[[\n"),
                           std::string(100000, '['), std::string("a = \"\\q\"")}) {
    IrcOptions options;
    const std::string error = ParseIrcConfig(text, "g.toml", options);
    EXPECT_TRUE(error.starts_with("g.toml:")) << error;
  }
}

class PasswordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/zorvik-password-XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = name;
  }
  void TearDown() override { std::remove(path_.c_str()); }
  void Write(const std::string& text, mode_t mode) {
    std::ofstream(path_, std::ios::binary) << text;
    chmod(path_.c_str(), mode);
  }
  std::string path_;
};

// A private file gives its first line; one that others may read or that
// is empty is refused, saying why.
TEST_F(PasswordFileTest, OnlyTheOwnerMayReadIt) {
  std::string password;
  Write("s3cret\r\nsecond line\n", 0600);
  ASSERT_EQ(ReadPasswordFile(path_, password), "");
  EXPECT_EQ(password, "s3cret");

  Write("s3cret\n", 0644);
  EXPECT_EQ(ReadPasswordFile(path_, password),
            "the password file " + path_ +
                " may be read or changed by others than its owner; make it private (chmod 600)");
  Write("s3cret\n", 0620);
  EXPECT_NE(ReadPasswordFile(path_, password), "");
  Write("\n", 0400);
  EXPECT_EQ(ReadPasswordFile(path_, password),
            "the password file " + path_ + " holds no password on its first line");
  EXPECT_EQ(ReadPasswordFile("/tmp", password), "the password file /tmp is not a plain file");
}

// Given --config, the file is read first and the command line's options,
// URL included, override it wherever they stand.
TEST_F(PasswordFileTest, CommandLineOverridesTheConfig) {
  Write("server = \"irc://a.example:7000/#one\"\nnick = \"fromfile\"\n[flood]\nburst = 7\n",
        0600);
  ParsedCommandLine parsed =
      ParseCommandLine({"irc", "--nick", "fromargs", "--config", path_, "irc://b.example/#two"});
  ASSERT_EQ(parsed.error, "");
  const IrcOptions& irc = parsed.command.irc;
  EXPECT_EQ(irc.client.nick, "fromargs");
  EXPECT_EQ(irc.endpoint.host, "b.example");
  EXPECT_EQ(irc.client.channel, "#two");
  EXPECT_EQ(irc.client.burst, 7);
  EXPECT_EQ(parsed.command.program.screen_name, "fromargs");

  parsed = ParseCommandLine({"irc", "--config", path_});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.command.irc.endpoint.host, "a.example");
  EXPECT_EQ(parsed.command.irc.client.nick, "fromfile");

  // The URL replaces the first channel only; none may be served twice.
  Write("server = \"irc://a.example/#one\"\nnick = \"n\"\nchannels = [\"#TWO\"]\n", 0600);
  parsed = ParseCommandLine({"irc", "--config", path_, "irc://b.example/#three"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(ServedChannels(parsed.command.irc.client),
            (std::vector<IrcChannelSettings>{{"#three", ""}, {"#TWO", ""}}));
  EXPECT_EQ(ParseCommandLine({"irc", "--config", path_, "irc://b.example/#two"}).error,
            "the channel #TWO is named twice");

  EXPECT_EQ(ParseCommandLine({"irc", "--config"}).error, "--config needs a file");
  EXPECT_EQ(ParseCommandLine({"irc", "--config", "/nonexistent.toml"}).error,
            "cannot open /nonexistent.toml: No such file or directory");
  const ParsedCommandLine folder = ParseCommandLine({"irc", "--config=/"});
  EXPECT_EQ(folder.error, "cannot read /: Is a directory");
  EXPECT_TRUE(folder.config_error);
}

}  // namespace
}  // namespace zorvik
