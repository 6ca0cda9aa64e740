#include "service/match_log.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "bridge/loop/virtual_loop.h"
#include "console/console_printer.h"

namespace zorvik {
namespace {

namespace fs = std::filesystem;

TEST(MatchLogTest, NamesAreSafeFileNames) {
  const auto start = std::chrono::sys_days{std::chrono::December / 7 / 2026} +
                     std::chrono::hours(10) + std::chrono::seconds(903);
  const struct {
    std::string channel, name;
  } cases[] = {{"#zorvik", "2026-12-07T10-15-03Z_#zorvik.log"},
               {"#../../etc/passwd", "2026-12-07T10-15-03Z_#.._.._etc_passwd.log"},
               {std::string("#a\0b\n c\xc3\xb8", 9), "2026-12-07T10-15-03Z_#a_b__c__.log"},
               {"", "2026-12-07T10-15-03Z__.log"},
               {std::string(300, '#'), "2026-12-07T10-15-03Z_" + std::string(64, '#') + ".log"}};
  for (const auto& c : cases) {
    EXPECT_EQ(LogFileName(start, c.channel), c.name);
    EXPECT_TRUE(IsLogFileName(c.name)) << c.name;
  }
  for (const char* other : {"notes.txt", "2026-12-07T10-15-03Z_#a.txt", "2026-12-07_#a.log",
                            "2026-12-07T10-15-03Z_#a b.log"})
    EXPECT_FALSE(IsLogFileName(other)) << other;
}

// Given a folder that does not exist yet and room for one log, a whole
// match is written record by record in the transcript format; the next
// match's file replaces it and leaves the folder's other files alone.
TEST(MatchLogTest, WritesEachMatchAndKeepsTheNewest) {
  const fs::path folder = fs::path(::testing::TempDir()) /
                          ("zorvik-logs-" + std::to_string(getpid())) / "deeper";
  fs::remove_all(folder.parent_path());
  VirtualLoop loop;
  EmbeddedClient client("host");
  ClientKit kit(client, loop);
  std::ostringstream notes;
  auto now = std::chrono::sys_days{std::chrono::December / 7 / 2026} + std::chrono::seconds(5);
  MatchLog log(loop, kit, "#a/b", folder.string(), 1, notes, [&now] { return now; });
  PrintedBoxes boxes(notes);  // no box may be shown: notes stay empty
  HostProgram program(loop, boxes, ProgramOptions{}, log.chat(), client);
  log.Attach(program);
  program.Start();
  loop.ScheduleAt(3'000'000, [&] { program.splash().Click(); });
  loop.ScheduleAt(4'000'000, [&] { program.console().Press(ConsoleButton::kGetPlayers); });
  loop.ScheduleAt(9'000'000, [&] { client.Say("Ann", "-join"); });
  loop.ScheduleAt(11'000'000, [&] { client.Say("Bo\tb", "-join"); });
  loop.ScheduleAt(15'000'000, [&] { program.console().Press(ConsoleButton::kStop); });
  loop.ScheduleAt(16'000'000, [&] { client.Say("Ann", "after the match"); });
  loop.ScheduleAt(17'000'000, [&] {
    std::ofstream(folder / "notes.txt") << "kept";
    now += std::chrono::seconds(60);
    program.console().Press(ConsoleButton::kGetPlayers);
  });
  loop.ScheduleAt(20'000'000, [&] { loop.Quit(); });
  const fs::path first = folder / "2026-12-07T00-00-05Z_#a_b.log";
  loop.ScheduleAt(16'500'000, [&] {
    std::ostringstream read;
    read << std::ifstream(first, std::ios::binary).rdbuf();
    const std::string text = read.str();
    EXPECT_TRUE(text.starts_with("0.000\t#console\tplayer1:[none]\t\t\tplayer2:[none]\t\t\t"
                                 "get players\t\n0.000\thost\t \u00a0\n"))
        << text;
    EXPECT_NE(text.find("\n7.000\tBo\\tb\t-join\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n11.000\t#im\t$IM_On\tz\u00f8rv\u00efk\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\t#console\tplayer1:[none]\t\t\tplayer2:[none]\t\t\t"
                               "get players\t\n"))
        << text;
    EXPECT_EQ(fs::status(first).permissions() & fs::perms(0137), fs::perms::none);
  });
  loop.Run();
  EXPECT_FALSE(fs::exists(first));
  EXPECT_TRUE(fs::exists(folder / "2026-12-07T00-01-05Z_#a_b.log"));
  EXPECT_TRUE(fs::exists(folder / "notes.txt"));
  EXPECT_EQ(notes.str(), "");
  fs::remove_all(folder.parent_path());
}

}  // namespace
}  // namespace zorvik
