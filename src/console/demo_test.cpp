#include "console/demo.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "console/console_printer.h"
#include "bridge/loop/virtual_loop.h"

namespace zorvik {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The log of a demo match in virtual time, which is the game's real pace
// without a moment of waiting, and its winner.
std::vector<std::string> VirtualDemo(std::string& winner) {
  VirtualLoop loop;
  std::ostringstream log;
  PrintedBoxes boxes(log);
  HostProgram program(loop, boxes, DemoProgramOptions({}));
  ConsolePrinter printer(program, log);
  program.autopilot()->SetNoteSink(
      [&log](const std::string& note) { log << "[auto] " << note << std::endl; });
  DemoCast cast(program, DemoOptions{}, 0);
  cast.SetFinishAction([&](const std::string& name) {
    winner = name;
    loop.Quit();
  });
  program.Start();
  loop.Run();
  return Lines(log.str());
}

// The program's demo at a hundred times the real pace, through a pipe (the
// log of lines), plays exactly the match that the real pace plays: the same
// lines in the same order, from the splash to the winner, then the close.
TEST(DemoTest, SpeedPlaysTheSameMatchFaster) {
  std::string winner;
  const std::vector<std::string> expected = VirtualDemo(winner);
  ASSERT_FALSE(winner.empty());
  ASSERT_GT(expected.size(), 40u);

  FILE* pipe = popen(ZORVIK_BINARY " demo --speed 100 </dev/null 2>&1", "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    output.append(buffer, got);
  }
  ASSERT_EQ(pclose(pipe), 0) << output;
  std::vector<std::string> lines = Lines(output);
  ASSERT_GE(lines.size(), 2u) << output;
  EXPECT_EQ(lines.front().rfind("zorvik ", 0), 0u) << lines.front();
  EXPECT_EQ(lines.back(), "[demo] " + winner + " won: the match is over");
  lines.erase(lines.begin());
  lines.pop_back();
  const auto [got, want] = std::mismatch(lines.begin(), lines.end(), expected.begin(),
                                         expected.end());
  EXPECT_TRUE(got == lines.end() && want == expected.end())
      << "line " << got - lines.begin() + 2 << " is \""
      << (got == lines.end() ? "(the end)" : *got) << "\" where the real pace has \""
      << (want == expected.end() ? "(the end)" : *want) << "\"";
}

}  // namespace
}  // namespace zorvik
