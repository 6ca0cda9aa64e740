#include "replay/replay_script.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace zorvik {
namespace {

// The events of `script` in order, up to a line that cannot be read; that
// line as "N: REASON" in `error`.
std::vector<ScriptEvent> Read(const std::string& script, std::string* error = nullptr) {
  std::istringstream in(script);
  ScriptReader reader(in);
  std::vector<ScriptEvent> events;
  for (ScriptEvent event; reader.Next(event) == ScriptReader::Result::kEvent;) {
    events.push_back(event);
  }
  const ScriptError& bad = reader.error();
  if (error && !bad.reason.empty()) *error = std::to_string(bad.line) + ": " + bad.reason;
  return events;
}

std::string ErrorOf(const std::string& script) {
  std::string error;
  Read(script, &error);
  return error;
}

TEST(ReplayScriptTest, ReadsEveryVerb) {
  const std::vector<ScriptEvent> events = Read(
      "# a comment\n"
      "\n"
      "0.5\tsay\tBob\ta\\tb\\\\c\\nd\\x\tmore\r\n"
      "1\tclick\tsplash\n"
      "1\tclick\tconsole\tget players\n"
      "2.0000005\tclick\tmenu\tmail me\n"
      "3\tclick\tform\tbug report\n"
      "3\ttype\tform\tline\\r\\n\n"
      "4\tshow");
  ASSERT_EQ(events.size(), 7u);
  const ScriptEvent& say = events[0];
  EXPECT_EQ(say.time, 500'000);
  EXPECT_EQ(say.verb, ScriptVerb::kSay);
  EXPECT_EQ(say.target, "Bob");
  // The last field takes the rest of the line, TABs included.
  EXPECT_EQ(say.text, "a\tb\\c\nd\\x\tmore");
  EXPECT_EQ(events[2].target, "get players");
  EXPECT_EQ(events[3].time, 2'000'001);  // rounded to the nearest microsecond
  EXPECT_EQ(events[5].text, "line\r\n");
  EXPECT_EQ(events[6].verb, ScriptVerb::kShow);
}

// Lines of any length come through whole, and line numbers stay right.
TEST(ReplayScriptTest, LinesOfAnyLength) {
  const std::string long_text(200'000, 'x');
  const std::string script = "1\tsay\tAnn\t0\n2\tsay\tBob\t" + long_text + "\n3\tsay\tCy\tlast";
  const std::vector<ScriptEvent> events = Read(script);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[1].text, long_text);
  EXPECT_EQ(events[2].text, "last");
  EXPECT_EQ(ErrorOf(script + "\n1\tshow"), "4: time 1 goes back");
  EXPECT_EQ(ErrorOf(script + "\n\n# x\n4\tjump"), "6: unknown verb \"jump\"");
}

TEST(ReplayScriptTest, RefusesLinesItCannotRead) {
  const std::pair<std::string, std::string> cases[] = {
      {"2\tshow\n1\tshow", "2: time 1 goes back"},
      {"1", "1: missing verb (fields are separated by TABs)"},
      {"1 say Bob hello", "1: missing verb (fields are separated by TABs)"},
      {"1\tsay Bob hello", "1: unknown verb \"say Bob hello\" (fields are separated by TABs)"},
      {"1.25\tsay\tBob hello",
       "1: say needs a screen name and a text (fields are separated by TABs)"},
      {"1\tclick\tconsole start",
       "1: unknown window \"console start\" (fields are separated by TABs)"},
      {"1\ttype\tform hello", "1: type needs a window and a text (fields are separated by TABs)"},
      {"1234567.1234567\tsay\t\tsome text", "1: say needs a screen name"},
      {"1234567.1234567\tsay\tBob", "1: say needs a screen name and a text"},
      {"12.5\tshow\tthe whole console", "1: show takes nothing more"},
      {"1\tjump", "1: unknown verb \"jump\""}, {"1\tclick", "1: click needs a window"},
      {"1\tclick\tdesk", "1: unknown window \"desk\""},
      {"1\tclick\tsplash\tpicture", "1: click splash takes nothing more"},
      {"1\tclick\tconsole", "1: click console needs a caption"},
      {"1\tclick\tconsole\tGet Players", "1: no console button \"Get Players\""},
      {"1\tclick\tmenu\tquit", "1: no menu button \"quit\""},
      {"1\tclick\tform\tsend", "1: no form button \"send\""},
      {"1\ttype\tconsole\tx", "1: cannot type into \"console\""},
      {"# fine\n\n1\tshow\n1\tjump\x01\x1b", "4: unknown verb \"jump??\""},
  };
  for (const auto& [script, error] : cases) EXPECT_EQ(ErrorOf(script), error) << script;
  for (const std::string time : {"x", "-1", "1e3", ".", "99999999999"}) {
    EXPECT_EQ(ErrorOf(time + "\tshow"), "1: time \"" + time + "\" is not a number of seconds");
  }
}

}  // namespace
}  // namespace zorvik
