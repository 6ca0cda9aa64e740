#include "bridge/kit/room_history.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

using Lines = std::vector<HistoryLine>;

// Each step reads the history's whole text and expects exactly the lines
// that were added since the step before, whatever the top lost.
TEST(RoomHistoryTest, ReportsWhatWasAdded) {
  struct Step {
    std::string text;
    Lines added;
  };
  const std::vector<Step> steps = {
      // What is there at the first read was there before listening.
      {"old:\tline\r\n", {}}, {"old:\tline\r\nDana:\t-join\r\n", {{"Dana", "-join"}}},
      // All three line ends; a last line without one waits, for it may still
      // be written, and counts when the next read shows the same text.
      {"old:\tline\r\nDana:\t-join\r\nLou:\ta\nLou:\tb\rhost:\tc: d",
       {{"Lou", "a"}, {"Lou", "b"}}},
      {"old:\tline\r\nDana:\t-join\r\nLou:\ta\nLou:\tb\rhost:\tc: d", {{"host", "c: d"}}},
      // Nothing new, even with other line ends.
      {"old:\tline\nDana:\t-join\nLou:\ta\nLou:\tb\nhost:\tc: d\n", {}},
      // The top dropped two lines while one came at the bottom.
      {"Lou:\ta\nLou:\tb\nhost:\tc: d\nDana:\t-join\n", {{"Dana", "-join"}}},
      // A repeated line is new when it comes again.
      {"Lou:\ta\nLou:\tb\nhost:\tc: d\nDana:\t-join\nDana:\t-join\n", {{"Dana", "-join"}}},
      // Lines that are no room lines are seen and never reported.
      {"Lou:\ta\nLou:\tb\nhost:\tc: d\nDana:\t-join\nDana:\t-join\n*** notice\n\nBo:\thi\n",
       {{"Bo", "hi"}}},
      // A line caught half written (the top already cut) is reported once,
      // whole, when it has ended.
      {"Lou:\tb\nhost:\tc: d\nDana:\t-join\nDana:\t-join\n*** notice\n\nBo:\thi\nCy:\t-jo", {}},
      {"host:\tc: d\nDana:\t-join\nDana:\t-join\n*** notice\n\nBo:\thi\nCy:\t-join\n",
       {{"Cy", "-join"}}},
      // Everything seen has gone from the top: all that is left is new.
      {"x:\t1\ny:\t2\n", {{"x", "1"}, {"y", "2"}}}, {"", {}}, {"z:\t3\n", {{"z", "3"}}},
  };
  RoomHistory history;
  for (const Step& step : steps) EXPECT_EQ(history.Update(step.text), step.added) << step.text;
  // A new room: its history is learnt, not replayed.
  history.Reset();
  EXPECT_EQ(history.Update("a:\t1\nb:\t2\n"), Lines{});
  EXPECT_EQ(history.Update("a:\t1\nb:\t2\nc:\t3\n"), (Lines{{"c", "3"}}));
  // An unended line at the first read is old once it stays as it is, and
  // new when it was still being written.
  history.Reset();
  EXPECT_EQ(history.Update("a:\t1\nb:\t2"), Lines{});
  EXPECT_EQ(history.Update("a:\t1\nb:\t2"), Lines{});
  EXPECT_EQ(history.Update("a:\t1\nb:\t2\nc:\t3\n"), (Lines{{"c", "3"}}));
  history.Reset();
  EXPECT_EQ(history.Update("a:\t1\nb:\t2"), Lines{});
  EXPECT_EQ(history.Update("a:\t1\nb:\t23\n"), (Lines{{"b", "23"}}));
}

// A history of a megabyte of alike lines that loses its top and grows at
// the bottom, read many times, reports each new line once and stays fast.
TEST(RoomHistoryTest, LongRepetitiveHistory) {
  std::string text;
  for (int i = 0; i < 40'000; ++i) text += "Dana:\t/thundershock\r\n";
  RoomHistory history;
  history.Update(text);
  std::size_t reported = 0;
  for (int round = 0; round < 50; ++round) {
    text.erase(0, text.find('\n') + 1);
    text += "Lou:\t/tackle " + std::to_string(round) + "\r\n";
    const Lines added = history.Update(text);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].text, "/tackle " + std::to_string(round));
    reported += added.size();
    EXPECT_EQ(history.Update(text), Lines{});
  }
  EXPECT_EQ(reported, 50u);
}

}  // namespace
}  // namespace zorvik
