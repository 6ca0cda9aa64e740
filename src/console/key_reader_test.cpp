#include "console/key_reader.h"

#include <gtest/gtest.h>

#include "console/screen_console.h"

namespace zorvik {
namespace {

// What the reader passed on, as text: a named key as <N>, a byte as it is
// (ESC as \e).
class KeyReaderTest : public ::testing::Test {
 protected:
  KeyReader::Sequences Table() {
    KeyReader::Sequences table = {{"\x1b[11~", kKeyF8}};  // listed first: wins
    for (auto& entry : KeyReader::CommonSequences()) table.push_back(entry);
    return table;
  }
  KeyReader reader_{Table(), [this](int key) { got_ += "<" + std::to_string(key - kKeyF1) + ">"; },
                    [this](unsigned char byte) {
                      got_ += byte == 0x1b ? std::string("\\e") : std::string(1, char(byte));
                    }};
  std::string got_;
};

TEST_F(KeyReaderTest, NamesKeysInAnyCutAndPassesEverythingElseOn) {
  const int f1 = kKeyF1 - kKeyF1, f2 = kKeyF2 - kKeyF1, up = kKeyUp - kKeyF1;
  const std::string F1 = "<" + std::to_string(f1) + ">", F2 = "<" + std::to_string(f2) + ">",
                    Up = "<" + std::to_string(up) + ">",
                    F8 = "<" + std::to_string(kKeyF8 - kKeyF1) + ">";
  struct Case {
    std::vector<std::string> blocks;  // as the terminal's reads cut them
    std::string flushed_after;        // what came out, Flush called at the end
  };
  const Case cases[] = {
      {{"abc"}, "abc"}, {{"\x1bOP"}, F1}, {{"\x1b[A\x1bOA"}, Up + Up},
      {{"\x1b", "[", "12~"}, F2},                 // cut anywhere
      {{"x\x1b[12"}, "x\\e[12"},                  // cut short: Flush passes it on
      {{"\x1b"}, "\\e"},                          // Escape alone
      {{"\x1bx"}, "\\ex"},                        // Alt-x: no sequence
      {{"\x1b\x1bOQ"}, "\\e" + F2},               // Escape, then F2
      {{"\x1b[9~z"}, "\\e[9~z"},                  // unknown: passed on whole
      {{"\x1b[11~"}, F8},                         // the first listed wins
      {{"\xc3\xb8\x1b[B\x01"}, "\xc3\xb8<" + std::to_string(kKeyDown - kKeyF1) + ">\x01"},
  };
  for (const Case& c : cases) {
    got_.clear();
    for (const std::string& block : c.blocks) reader_.Feed(block);
    reader_.Flush();
    EXPECT_EQ(got_, c.flushed_after) << testing::PrintToString(c.blocks);
    EXPECT_FALSE(reader_.holding());
  }
  // The start of a sequence is held until the rest comes.
  got_.clear();
  reader_.Feed("\x1b[1");
  EXPECT_TRUE(reader_.holding());
  EXPECT_EQ(got_, "");
  reader_.Feed("5~");
  EXPECT_EQ(got_, "<" + std::to_string(kKeyF5 - kKeyF1) + ">");
}

}  // namespace
}  // namespace zorvik
