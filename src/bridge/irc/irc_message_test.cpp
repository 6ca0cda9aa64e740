#include "bridge/irc/irc_message.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

using Params = std::vector<std::string>;

// Server lines as they come, well formed and not: each gives the command
// and parameters shown, or no message at all.
TEST(IrcMessageTest, ParsesServerLines) {
  struct Case {
    std::string line;
    std::string prefix, command;
    Params params;
  };
  const std::vector<Case> cases = {
      {":alice!a@h PRIVMSG #battles :i pick /pikachu", "alice!a@h", "PRIVMSG",
       {"#battles", "i pick /pikachu"}},
      {"PING :irc.example.net", "", "PING", {"irc.example.net"}}, {"ping x", "", "PING", {"x"}},
      {":srv 001 host :Welcome to the net\r", "srv", "001", {"host", "Welcome to the net"}},
      {":srv 005 host CALLERID=g NICKLEN=9 :are supported", "srv", "005",
       {"host", "CALLERID=g", "NICKLEN=9", "are supported"}},
      // Runs of spaces between parts, spaces kept inside the trailing part.
      {"  :a   PRIVMSG   #c   :  two  spaces ", "a", "PRIVMSG", {"#c", "  two  spaces "}},
      {":a PRIVMSG #c :", "a", "PRIVMSG", {"#c", ""}},
      {":a PRIVMSG #c ::colon", "a", "PRIVMSG", {"#c", ":colon"}},
      {"JOIN #c   ", "", "JOIN", {"#c"}},
      // Bytes that are not UTF-8 read as Latin-1; NUL stays a byte of text.
      {":b\xE9 PRIVMSG #c :caf\xE9 \xC3\xA9", "b\xC3\xA9", "PRIVMSG",
       {"#c", "caf\xC3\xA9 \xC3\xA9"}},
      {std::string("PRIVMSG #c :a\0b", 15), "", "PRIVMSG", {"#c", std::string("a\0b", 3)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const auto message = ParseIrcLine(c.line);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->prefix, c.prefix);
    EXPECT_EQ(message->command, c.command);
    EXPECT_EQ(message->params, c.params);
  }
  // Missing parts: nothing to act on.
  for (const char* line :
       {"", "   ", ":prefix.only", ":prefix.only    ", "@tag=1", "@a=1 :p", ":", "@"}) {
    EXPECT_FALSE(ParseIrcLine(line)) << line;
  }
}

// Message tags are split and unescaped; odd tags do not disturb the rest.
TEST(IrcMessageTest, ParsesTags) {
  const auto message = ParseIrcLine(
      "@time=2024-01-01T00:00:00Z;msg=a\\sb\\:c\\\\d\\;;empty=;bare;;end=x\\ :n PING y");
  ASSERT_TRUE(message);
  const std::vector<IrcTag> expected = {{"time", "2024-01-01T00:00:00Z"},
                                        {"msg", "a b;c\\d"},  // a raw ';' always ends a tag
                                        {"empty", ""}, {"bare", ""},
                                        {"end", "x"}};
  EXPECT_EQ(message->tags, expected);
  EXPECT_EQ(message->prefix + " " + message->command, "n PING");
  EXPECT_EQ(message->params, Params{"y"});
}

// Decoding keeps every valid sequence and reads everything else as Latin-1:
// overlong forms, surrogates, code points past U+10FFFF, cut sequences.
TEST(IrcMessageTest, DecodesUtf8ElseLatin1) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"z\xC3\xB8rv\xC3\xAFk", "z\xC3\xB8rv\xC3\xAFk"}, {"\xF0\x9F\x90\x89", "\xF0\x9F\x90\x89"},
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                          // overlong '/'
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},              // surrogate
      {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},  // > U+10FFFF
      {"\xE2\x82", "\xC3\xA2\xC2\x82"},                          // cut short
      {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"}, {"\xFF", "\xC3\xBF"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(ToUtf8(in), out);
}

// The reader cuts at LF, drops a CR before it, keeps an unfinished line for
// later, and drops a line longer than the limit whole, wherever its pieces
// fall, without keeping more than the limit.
TEST(IrcMessageTest, ReaderCutsLinesAndDropsOverlongOnes) {
  IrcLineReader reader;
  reader.Append("PING a\r\nPI");
  EXPECT_EQ(reader.Next(), "PING a");
  EXPECT_EQ(reader.Next(), std::nullopt);
  reader.Append("NG b\n\n");
  EXPECT_EQ(reader.Next(), "PING b");
  EXPECT_EQ(reader.Next(), "");

  const std::string huge(kIrcLongestLine + 1, 'x');
  reader.Append("PING c\n" + huge.substr(0, 1000));
  for (int i = 0; i < 20; ++i) reader.Append(huge.substr(0, 1000));
  reader.Append("tail\nPING d\n");
  EXPECT_EQ(reader.Next(), "PING c");
  EXPECT_EQ(reader.Next(), "PING d");
  EXPECT_EQ(reader.Next(), std::nullopt);
  EXPECT_EQ(reader.dropped(), 1u);

  reader.Append(std::string(kIrcLongestLine, 'y') + "\n");
  EXPECT_EQ(reader.Next()->size(), kIrcLongestLine);
}

// Nothing a caller passes puts CR, LF or NUL on the wire or turns one
// parameter into two; the last parameter gets its colon when it needs it.
TEST(IrcMessageTest, FormatNeverLetsLineBreaksThrough) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"#c", "hello"}, "PRIVMSG #c hello\r\n"}, {{"#c", ":x"}, "PRIVMSG #c ::x\r\n"},
      {{"#c", "two words"}, "PRIVMSG #c :two words\r\n"}, {{"#c", ""}, "PRIVMSG #c :\r\n"},
      {{"#c", "a\r\nQUIT :bye"}, "PRIVMSG #c :a  QUIT :bye\r\n"},
      {{"#c", std::string("a\0b", 3)}, "PRIVMSG #c :a b\r\n"},
      {{"#c x\r\nQUIT", "t"}, "PRIVMSG #c_x__QUIT t\r\n"},
      {{"", "t"}, "PRIVMSG * t\r\n"}, {{":nick", "t"}, "PRIVMSG *nick t\r\n"}};
  for (const auto& [params, line] : cases) EXPECT_EQ(FormatIrcLine("PRIVMSG", params), line);
}

// Splitting keeps every byte, never cuts a character, prefers to end a
// piece after a space, and always moves on, even with absurd limits or
// invalid bytes.
TEST(IrcMessageTest, SplitsOnCharacterBoundaries) {
  struct Case {
    std::string text;
    std::size_t limit;
    std::vector<std::string> pieces;
  };
  const std::vector<Case> cases = {
      {"", 10, {}}, {"short", 10, {"short"}}, {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
      {"z\xC3\xB8rv\xC3\xAFk", 3, {"z\xC3\xB8r", "v\xC3\xAFk"}},  // limit taken as 4
      {"z\xC3\xB8\xC3\xB8", 4, {"z\xC3\xB8", "\xC3\xB8"}},
      {"\xC3\xB8\xC3\xB8\xC3\xB8", 5, {"\xC3\xB8\xC3\xB8", "\xC3\xB8"}},
      {"\xF0\x9F\x90\x89\xF0\x9F\x90\x89", 7, {"\xF0\x9F\x90\x89", "\xF0\x9F\x90\x89"}},
      {"the quick brown fox", 12, {"the quick ", "brown fox"}},
      {"a verylongwordhere", 10, {"a verylong", "wordhere"}},  // space too early
      {"\x80\x80\x80\x80\x80\x80", 4, {"\x80\x80\x80\x80", "\x80\x80"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitUtf8(c.text, c.limit), c.pieces) << c.text;
}

// CTCP requests are recognised in any case, with or without the closing
// mark; formatting codes vanish without eating the text around them. (The
// codes are written in octal where digits follow: an octal escape ends
// after three digits, a hex one runs on.)
TEST(IrcMessageTest, CtcpAndFormatting) {
  EXPECT_EQ(ParseCtcp("\x01version\x01").value().command, "VERSION");
  const auto action = ParseCtcp("\001ACTION waves hello");
  ASSERT_TRUE(action);
  EXPECT_EQ(action->command, "ACTION");
  EXPECT_EQ(action->argument, "waves hello");
  EXPECT_FALSE(ParseCtcp("/thunder"));
  EXPECT_FALSE(ParseCtcp(""));

  // "\003123": two digits at most; "\x03,5x": a background needs a foreground.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\x02/thunder\x02", "/thunder"}, {"\00304/thunder\x0F", "/thunder"},
      {"\0034,12/thunder", "/thunder"}, {"\003123", "3"}, {"\x03,5x", ",5x"},
      {"\004FF00AA,00ff00/x", "/x"}, {"\004FF00/x", "FF00/x"},
      {"a\035b\037c\026d\036e\021f", "abcdef"}, {"\x03", ""}};
  for (const auto& [in, out] : cases) EXPECT_EQ(StripFormatting(in), out);
}

// Nicks and channels compare the way servers fold them.
TEST(IrcMessageTest, ComparesNamesLikeServers) {
  EXPECT_TRUE(SameIrcName("#Battles", "#bATTLES"));
  EXPECT_TRUE(SameIrcName("Nick[x]\\~", "nick{x}|^"));
  EXPECT_FALSE(SameIrcName("nick", "nick_"));
  EXPECT_FALSE(SameIrcName("\xC3\x89", "\xC3\xA9"));
  EXPECT_EQ(NickOf("alice!~a@host"), "alice");
  EXPECT_EQ(NickOf("alice@host"), "alice");
  EXPECT_EQ(NickOf("irc.server"), "irc.server");
}

}  // namespace
}  // namespace zorvik
