#include "replay/transcript.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace zorvik {
namespace {

// The escaping written out the slow way, byte by byte.
std::string Escaped(std::string_view field) {
  std::string out;
  for (char c : field) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

// Fields are skipped through eight bytes at a time: every byte that needs
// escaping, and its harmless neighbours (bytes below 14, high bytes, a
// slash), at every position of a field longer than two words.
TEST(TranscriptWriterTest, EscapesEveryByteThatNeedsItWhereverItIs) {
  for (char special : {'\\', '\t', '\r', '\n', '\x0b', '\x0c', '\x01', '\0', '\xc3', '/', ']'}) {
    for (std::size_t at = 0; at < 20; ++at) {
      std::string field(20, 'a');
      field[at] = special;
      std::ostringstream out;
      TranscriptWriter(out).Write(1'500'000, {"Ann", field});
      EXPECT_EQ(out.str(), "1.500\tAnn\t" + Escaped(field) + "\n")
          << "byte " << int(static_cast<unsigned char>(special)) << " at " << at;
    }
  }
}

TEST(TranscriptWriterTest, TimesHaveThreeDecimalsRoundedDown) {
  const struct {
    Micros time;
    const char* written;
  } cases[] = {{0, "0.000"},          {999, "0.000"},       {1'000, "0.001"},
               {2'040'999, "2.040"}, {10'000'000, "10.000"}, {123'456'789'000, "123456.789"},
               {99'999'000, "99.999"}, {100'000'000, "100.000"}, {-1'500, "-0.001"},
               {9'223'372'036'854'775'807, "9223372036854.775"}};
  for (const auto& c : cases) {
    std::ostringstream out;
    TranscriptWriter(out).Write(c.time, {"#exit"});
    EXPECT_EQ(out.str(), std::string(c.written) + "\t#exit\n") << c.time;
  }
}

}  // namespace
}  // namespace zorvik
