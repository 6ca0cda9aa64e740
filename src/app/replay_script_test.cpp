#include "app/replay_script.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace zorvik {
namespace {

// Either the events in script order or the first line that cannot be read.
using ParsedScript = std::variant<std::vector<ScriptEvent>, ScriptError>;

ParsedScript ParseScript(const std::string& script) {
  std::istringstream in(script);
  ScriptReader reader(in);
  std::vector<ScriptEvent> events;
  for (ScriptEvent event;;) {
    switch (reader.Next(event)) {
      case ScriptReader::Result::kEvent:
        events.push_back(event);
        break;
      case ScriptReader::Result::kEnd:
        return events;
      case ScriptReader::Result::kError:
        return reader.error();
    }
  }
}

std::string ErrorOf(const std::string& script) {
  const ParsedScript parsed = ParseScript(script);
  const auto* error = std::get_if<ScriptError>(&parsed);
  if (!error) return "";
  return std::to_string(error->line) + ": " + error->reason;
}

TEST(ReplayScriptTest, ReadsEveryVerb) {
  const ParsedScript parsed = ParseScript(
      "# a comment\n"
      "\n"
      "0.5\tsay\tBob\ta\\tb\\\\c\\nd\\x\tmore\r\n"
      "1\tclick\tsplash\n"
      "1\tclick\tconsole\tget players\n"
      "2.0000005\tclick\tmenu\tmail me\n"
      "3\tclick\tform\tbug report\n"
      "3\ttype\tform\tline\\r\\n\n"
      "4\tshow");
  const auto* events = std::get_if<std::vector<ScriptEvent>>(&parsed);
  ASSERT_NE(events, nullptr) << ErrorOf("");
  ASSERT_EQ(events->size(), 7u);
  const ScriptEvent& say = (*events)[0];
  EXPECT_EQ(say.time, 500'000);
  EXPECT_EQ(say.verb, ScriptVerb::kSay);
  EXPECT_EQ(say.target, "Bob");
  // The last field takes the rest of the line, TABs included.
  EXPECT_EQ(say.text, "a\tb\\c\nd\\x\tmore");
  EXPECT_EQ((*events)[2].target, "get players");
  EXPECT_EQ((*events)[3].time, 2'000'001);  // rounded to the nearest microsecond
  EXPECT_EQ((*events)[5].text, "line\r\n");
  EXPECT_EQ((*events)[6].verb, ScriptVerb::kShow);
}

// Lines of any length come through whole, and line numbers stay right.
TEST(ReplayScriptTest, LinesOfAnyLength) {
  std::string script;
  for (int i = 0; i < 5000; ++i) script += "1\tsay\tAnn\t" + std::to_string(i) + "\n";
  const std::string long_text(200'000, 'x');
  script += "2\tsay\tBob\t" + long_text + "\n3\tsay\tCy\tlast";
  const ParsedScript parsed = ParseScript(script);
  const auto* events = std::get_if<std::vector<ScriptEvent>>(&parsed);
  ASSERT_NE(events, nullptr) << ErrorOf(script);
  ASSERT_EQ(events->size(), 5002u);
  for (int i = 0; i < 5000; ++i) ASSERT_EQ((*events)[i].text, std::to_string(i));
  EXPECT_EQ((*events)[5000].text, long_text);
  EXPECT_EQ((*events)[5001].text, "last");
  EXPECT_EQ(ErrorOf(script + "\n1\tshow"), "5003: time 1 goes back");

  std::istringstream in(script + "\n4\tjump");
  ScriptReader reader(in);
  ScriptEvent event;
  while (reader.Next(event) == ScriptReader::Result::kEvent) {
  }
  EXPECT_EQ(reader.error().line, 5003u);
}

TEST(ReplayScriptTest, RefusesLinesItCannotRead) {
  const std::pair<std::string, std::string> cases[] = {
      {"x\tshow", "1: time \"x\" is not a number of seconds"},
      {"-1\tshow", "1: time \"-1\" is not a number of seconds"},
      {"1e3\tshow", "1: time \"1e3\" is not a number of seconds"},
      {".\tshow", "1: time \".\" is not a number of seconds"},
      {"99999999999\tshow", "1: time \"99999999999\" is not a number of seconds"},
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
      {"1\tjump", "1: unknown verb \"jump\""},
      {"1\tsay\tBob", "1: say needs a screen name and a text"},
      {"1\tsay\t\thi", "1: say needs a screen name"},
      {"1\tclick", "1: click needs a window"},
      {"1\tclick\tdesk", "1: unknown window \"desk\""},
      {"1\tclick\tsplash\tpicture", "1: click splash takes nothing more"},
      {"1\tclick\tconsole", "1: click console needs a caption"},
      {"1\tclick\tconsole\tGet Players", "1: no console button \"Get Players\""},
      {"1\tclick\tmenu\tquit", "1: no menu button \"quit\""},
      {"1\tclick\tform\tsend", "1: no form button \"send\""},
      {"1\ttype\tconsole\tx", "1: cannot type into \"console\""},
      {"1\tshow\textra", "1: show takes nothing more"},
      {"# fine\n\n1\tshow\n1\tjump\x01\x1b", "4: unknown verb \"jump??\""},
  };
  for (const auto& [script, error] : cases) EXPECT_EQ(ErrorOf(script), error) << script;
}

}  // namespace
}  // namespace zorvik
