#include "replay/transcript.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace zorvik {
namespace {

// Backslash, TAB, CR and LF are escaped wherever they stand; every other
// byte (other control bytes, NUL, bytes of UTF-8) is written as it is.
TEST(TranscriptWriterTest, EscapesBackslashTabCrAndLfOnly) {
  using namespace std::string_literals;
  const struct {
    std::string field, written;
  } cases[] = {
      {"", ""}, {"\\", "\\\\"}, {"a\tb", "a\\tb"}, {"\t\r\n\\", "\\t\\r\\n\\\\"},
      {"line one\nline two\r\n", "line one\\nline two\\r\\n"},
      {"\x0b\x0c\x01\0\xc3\xa9/]"s, "\x0b\x0c\x01\0\xc3\xa9/]"s},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    TranscriptWriter(out).Write(1'500'000, {"Ann", c.field});
    EXPECT_EQ(out.str(), "1.500\tAnn\t" + c.written + "\n") << c.written;
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
