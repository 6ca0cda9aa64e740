#include "app/transcript.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace zorvik {

namespace {

// The letter that follows the backslash for each byte written escaped.
constexpr std::array<char, 256> kEscapes = [] {
  std::array<char, 256> escapes{};
  escapes['\\'] = '\\';
  escapes['\t'] = 't';
  escapes['\r'] = 'r';
  escapes['\n'] = 'n';
  return escapes;
}();

// Whether any of the eight bytes in `word` may need escaping: a byte below
// 14 (TAB, LF and CR are 9, 10 and 13) or a backslash. Exact for the
// backslash and a superset for the rest, so a hit is checked byte by byte.
constexpr bool MayNeedEscape(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  const std::uint64_t below14 = (word - kOnes * 14) & ~word;
  const std::uint64_t backslash = word ^ (kOnes * '\\');
  const std::uint64_t zero = (backslash - kOnes) & ~backslash;
  return ((below14 | zero) & kHighs) != 0;
}

// Writes `field` from byte `from` on at `at`, escaping byte by byte;
// returns the end.
char* PutEscapedFrom(char* at, std::string_view field, std::size_t from) {
  for (std::size_t i = from; i < field.size(); ++i) {
    const char escape = kEscapes[static_cast<unsigned char>(field[i])];
    if (escape == 0) {
      *at++ = field[i];
    } else {
      *at++ = '\\';
      *at++ = escape;
    }
  }
  return at;
}

// Writes `field` at `at` with backslash, TAB, CR and LF as \\ \t \r \n;
// returns the end. `at` has room for twice the field.
char* PutEscaped(char* at, std::string_view field) {
  const std::size_t size = field.size();
  if (size < 8) return PutEscapedFrom(at, field, 0);
  // Most fields hold nothing to escape: checked and copied eight bytes at a
  // time, the last eight overlapping those before when the size is not a
  // multiple of eight. At the first word that may need it, byte by byte.
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, field.data() + i, sizeof word);
    if (MayNeedEscape(word)) return PutEscapedFrom(at + i, field, i);
    std::memcpy(at + i, &word, sizeof word);
  }
  if (i < size) {
    std::uint64_t word;
    std::memcpy(&word, field.data() + size - 8, sizeof word);
    if (MayNeedEscape(word)) return PutEscapedFrom(at + i, field, i);
    std::memcpy(at + size - 8, &word, sizeof word);
  }
  return at + size;
}

// The most bytes a time takes: "-", 19 digits and the point.
constexpr std::size_t kLongestTime = 21;

// "00" to "99", for writing numbers two digits at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes "2.040" for 2'040'999 microseconds at `at`; returns the end.
char* PutTime(char* at, Micros time) {
  const Micros millis = time / 1000;
  const bool negative = millis < 0;
  std::uint64_t left = negative ? 0 - static_cast<std::uint64_t>(millis)
                                : static_cast<std::uint64_t>(millis);
  // Digits from the right: three of the fraction, the point, the seconds.
  char digits[32];
  char* first = digits + sizeof digits;
  const auto fraction = static_cast<unsigned>(left % 1000);
  left /= 1000;
  first -= 2;
  std::memcpy(first, &kDigitPairs[2 * (fraction % 100)], 2);
  *--first = static_cast<char>('0' + fraction / 100);
  *--first = '.';
  while (left >= 100) {
    first -= 2;
    std::memcpy(first, &kDigitPairs[2 * (left % 100)], 2);
    left /= 100;
  }
  if (left >= 10) {
    first -= 2;
    std::memcpy(first, &kDigitPairs[2 * left], 2);
  } else {
    *--first = static_cast<char>('0' + left);
  }
  if (negative) *--first = '-';
  const auto size = static_cast<std::size_t>(digits + sizeof digits - first);
  std::memcpy(at, first, size);
  return at + size;
}

}  // namespace

void TranscriptWriter::Write(Micros time, std::initializer_list<std::string_view> fields) {
  // Room for the record at its longest (every byte escaped), so that it is
  // formatted straight into the buffer without a check a byte.
  std::size_t longest = kLongestTime + 1;
  for (std::string_view field : fields) longest += 1 + 2 * field.size();
  if (buffer_.size() - used_ < longest) buffer_.resize(used_ + longest);
  char* at = PutTime(buffer_.data() + used_, time);
  for (std::string_view field : fields) {
    *at++ = '\t';
    at = PutEscaped(at, field);
  }
  *at++ = '\n';
  used_ = static_cast<std::size_t>(at - buffer_.data());
  if (used_ >= kChunk) Flush();
}

std::array<std::string, 9> ConsoleRecord(const HostConsole& console) {
  const MatchTable& t = console.table();
  std::string enabled;
  for (ConsoleButton button : {ConsoleButton::kGetPlayers, ConsoleButton::kSetup,
                               ConsoleButton::kStart, ConsoleButton::kStop}) {
    if (!console.Enabled(button)) continue;
    if (!enabled.empty()) enabled += ',';
    enabled += ButtonCaption(button);
  }
  std::string listening;
  for (int n = 1; n <= 5; ++n) {
    if (!console.Listening(n)) continue;
    if (!listening.empty()) listening += ',';
    listening += "Chat" + std::to_string(n);
  }
  return {"#console",         t.seat1Caption,     t.player1Creature, t.player1Hp, t.seat2Caption,
          t.player2Creature, t.player2Hp, enabled, listening};
}

void WriteConsoleRecord(TranscriptWriter& writer, Micros time,
                        const std::array<std::string, 9>& r) {
  writer.Write(time, {r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
}

void TranscriptWriter::Flush() {
  if (used_ == 0) return;
  out_.write(buffer_.data(), static_cast<std::streamsize>(used_));
  used_ = 0;
}

}  // namespace zorvik
