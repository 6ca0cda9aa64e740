#include "service/irc_options.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/command_line.h"

namespace zorvik {
namespace {

// Server URLs as operators write them, and the ones that cannot be used.
TEST(IrcOptionsTest, ReadsServerUrls) {
  const struct {
    std::string url, host;
    int port;
    bool tls;
    std::string channel;
  } good[] = {{"ircs://irc.example.net:6697/#battles", "irc.example.net", 6697, true, "#battles"},
              {"ircs://irc.example.net/#battles", "irc.example.net", 6697, true, "#battles"},
              {"irc://127.0.0.1/battles", "127.0.0.1", 6667, false, "#battles"},
              {"irc://127.0.0.1:7000/%23battles", "127.0.0.1", 7000, false, "#battles"},
              {"irc://[::1]:6668/&local", "::1", 6668, false, "&local"}};
  for (const auto& c : good) {
    IrcOptions options;
    ASSERT_EQ(ParseIrcUrl(c.url, options), "") << c.url;
    EXPECT_EQ(options.endpoint.host, c.host) << c.url;
    EXPECT_EQ(options.endpoint.port, c.port) << c.url;
    EXPECT_EQ(options.endpoint.tls, c.tls) << c.url;
    EXPECT_EQ(options.client.channel, c.channel) << c.url;
  }
  const std::string no_channel = "the URL names no channel (irc://HOST/#CHANNEL)";
  const std::string bad_port = "the URL's port must be a number from 1 to 65535";
  const std::pair<std::string, std::string> bad[] = {
      {"http://irc.example.net/#battles",
       "the server must be given as irc://HOST[:PORT]/#CHANNEL or ircs://..."},
      {"irc://irc.example.net", no_channel}, {"irc://irc.example.net/#", no_channel},
      {"irc:///#battles", "the URL names no server"},
      {"irc://:6667/#battles", "the URL names no server"}, {"irc://host:0/#b", bad_port},
      {"irc://host:65536/#b", bad_port}, {"irc://host:66x/#b", bad_port},
      {"irc://[::1/#b", "the URL's IPv6 address has no ']'"},
      {"irc://host/#a,#b", "the channel's name cannot hold \",\""},
      {"irc://host/#a b", "the channel's name cannot hold \" \""}};
  for (const auto& [url, error] : bad) {
    IrcOptions options;
    EXPECT_EQ(ParseIrcUrl(url, options), error) << url;
  }
}

// The whole command line of the IRC mode: what is required, what clashes,
// and that a password can never be given there.
TEST(IrcOptionsTest, ChecksTheIrcCommandLine) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"irc", "ircs://h/#b", "--nick", "zhost"}, ""},
      {{"irc", "ircs://h/#b", "--nick", "zhost", "--ca-file", "ca.pem", "--burst", "10",
        "--lines-per-second", "2.5", "--sasl-account", "acct", "--seed", "7"},
       ""},
      {{"irc", "ircs://h/#b"}, "irc needs --nick NICK"},
      {{"irc", "--nick", "zhost"},
       "irc needs the server: irc://HOST[:PORT]/#CHANNEL or ircs://..."},
      {{"irc", "ircs://h/#b", "--nick", "z host"}, "--nick takes a nick without spaces or , : ! @"},
      {{"irc", "ircs://h/#b", "--nick"}, "--nick needs a nick"},
      {{"irc", "ircs://h/#b", "--nick=z", "--ca-file"}, "--ca-file needs a file"},
      {{"irc", "ircs://h/#b", "--nick=z", "--log-keep=1.5"},
       "--log-keep takes a whole number from 0 to 1000000"},
      {{"irc", "irc://h/#b", "--nick", "z", "--insecure-skip-verify"},
       "--ca-file and --insecure-skip-verify only make sense with ircs://"},
      {{"irc", "ircs://h/#b", "--nick", "z", "--insecure-skip-verify", "--ca-file", "x"},
       "--ca-file and --insecure-skip-verify contradict each other"},
      {{"irc", "ircs://h/#b", "--nick", "z", "--burst", "0"},
       "--burst takes a number of lines from 1 to 100"},
      {{"irc", "ircs://h/#b", "--nick", "z", "--lines-per-second", "fast"},
       "--lines-per-second takes a number from 0.01 to 100"},
      {{"irc", "ircs://h/#b", "--nick", "z", "--password", "secret"},
       "unknown option \"--password\""},
      {{"irc", "ircs://h/#b", "ircs://other/#c", "--nick", "z"},
       "unexpected argument \"ircs://other/#c\""},
  };
  for (const auto& [args, error] : cases) {
    SCOPED_TRACE(args.back());
    const ParsedCommandLine parsed = ParseCommandLine(args);
    EXPECT_EQ(parsed.error, error);
    if (error.empty()) {
      EXPECT_EQ(parsed.command.mode, Mode::kIrc);
      EXPECT_EQ(parsed.command.program.screen_name, parsed.command.irc.client.nick);
    }
  }
}

}  // namespace
}  // namespace zorvik
