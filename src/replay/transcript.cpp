#include "replay/transcript.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>

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

// Nonzero when any of the eight bytes in `word` may need escaping: a byte
// below 14 (TAB, LF and CR are 9, 10 and 13) or a backslash. Exact for the
// backslash and a superset for the rest, so a hit is checked byte by byte.
// A byte's top bit comes out of each subtraction set when it is below the
// amount taken, or from 0x80 on; ~word clears the latter. (The top bit of
// word ^ '\\' is that of word.) A borrow reaches only bytes above a hit.
constexpr std::uint64_t EscapeHits(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  const std::uint64_t below14 = word - kOnes * 14;
  const std::uint64_t backslash = (word ^ (kOnes * '\\')) - kOnes;
  return (below14 | backslash) & ~word & kHighs;
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
// returns the end. `at` has room for twice the field. Never reads outside
// the field: short ones are taken as two overlapping pieces.
inline char* PutEscaped(char* at, std::string_view field) {
  const char* from = field.data();
  const std::size_t size = field.size();
  if (size >= 8) {
    // Most fields hold nothing to escape: checked and copied eight bytes at
    // a time, the last eight overlapping those before when the size is not
    // a multiple of eight. At the first word that may need it, byte by byte.
    const std::size_t last = size - 8;
    std::size_t i = 0;
    std::uint64_t word;
    for (; i < last; i += 8) {
      std::memcpy(&word, from + i, sizeof word);
      if (EscapeHits(word) != 0) return PutEscapedFrom(at + i, field, i);
      std::memcpy(at + i, &word, sizeof word);
    }
    std::memcpy(&word, from + last, sizeof word);
    if (EscapeHits(word) != 0) return PutEscapedFrom(at + i, field, i);
    std::memcpy(at + last, &word, sizeof word);
    return at + size;
  }
  if (size >= 4) {
    // Four to seven bytes: the first four and the last four.
    std::uint32_t head;
    std::uint32_t tail;
    std::memcpy(&head, from, sizeof head);
    std::memcpy(&tail, from + size - 4, sizeof tail);
    if (EscapeHits(head | std::uint64_t{tail} << 32) != 0) return PutEscapedFrom(at, field, 0);
    std::memcpy(at, &head, sizeof head);
    std::memcpy(at + size - 4, &tail, sizeof tail);
    return at + size;
  }
  if (size > 0) {
    // One to three bytes: the first, the middle and the last, padded with
    // spaces to a word.
    const auto byte = [from](std::size_t i) {
      return std::uint64_t{static_cast<unsigned char>(from[i])};
    };
    const std::uint64_t word =
        byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16 | 0x2020202020000000;
    if (EscapeHits(word) != 0) return PutEscapedFrom(at, field, 0);
    at[0] = from[0];
    at[size / 2] = from[size / 2];
    at[size - 1] = from[size - 1];
  }
  return at + size;
}

// The latest time whose whole second is kept: every microsecond of that
// second is a Micros, so one unsigned subtraction tells whether a time
// falls in it.
constexpr Micros kLastKeptTime = std::numeric_limits<Micros>::max() - kMicrosPerSecond;
// The most bytes PutTime writes: "-", 16 digits, the point and three more,
// or a block of 24 with the digits at its start, then four.
constexpr std::size_t kTimeRoom = 32;

// "00" to "99", for writing numbers two digits at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// ".000" to ".999", the end of a time, four bytes each.
constexpr std::array<char, 4000> kMillis = [] {
  std::array<char, 4000> millis{};
  for (int i = 0; i < 1000; ++i) {
    millis[4 * i] = '.';
    millis[4 * i + 1] = static_cast<char>('0' + i / 100);
    millis[4 * i + 2] = static_cast<char>('0' + i / 10 % 10);
    millis[4 * i + 3] = static_cast<char>('0' + i % 10);
  }
  return millis;
}();

// Writes `value` in decimal so that it ends just before `end`; returns
// where it starts.
char* PutDigitsBefore(char* end, std::uint64_t value) {
  while (value >= 100) {
    end -= 2;
    std::memcpy(end, &kDigitPairs[2 * (value % 100)], 2);
    value /= 100;
  }
  if (value >= 10) {
    end -= 2;
    std::memcpy(end, &kDigitPairs[2 * value], 2);
  } else {
    *--end = static_cast<char>('0' + value);
  }
  return end;
}

// PutTime for any time, the kept second aside: the milliseconds rounded
// toward zero, "-" before them when that leaves them below zero.
char* PutAnyTime(char* at, Micros time) {
  const Micros millis = time / 1000;
  const std::uint64_t left = millis < 0 ? 0 - static_cast<std::uint64_t>(millis)
                                        : static_cast<std::uint64_t>(millis);
  // Formatted from the right, then copied as one block.
  constexpr std::size_t kEnd = 24;
  std::array<char, 2 * kEnd> text{};
  char* const end = text.data() + kEnd;
  char* first = PutDigitsBefore(end, left / 1000);
  if (millis < 0) *--first = '-';
  std::memcpy(at, first, kEnd);
  at += end - first;
  std::memcpy(at, &kMillis[4 * (left % 1000)], 4);
  return at + 4;
}

}  // namespace

std::uint64_t TranscriptWriter::MoveSecond(Micros time) {
  char* const end = second_text_.data() + kSecondEnd;
  const Micros second = time / kMicrosPerSecond;
  second_start_ = second * kMicrosPerSecond;
  second_digits_ = static_cast<std::size_t>(
      end - PutDigitsBefore(end, static_cast<std::uint64_t>(second)));
  return static_cast<std::uint64_t>(time - second_start_);
}

inline char* TranscriptWriter::PutTime(char* at, Micros time) {
  // Wraps to a large number unless `time` falls in the kept second.
  std::uint64_t into =
      static_cast<std::uint64_t>(time) - static_cast<std::uint64_t>(second_start_);
  if (into >= kMicrosPerSecond) {
    if (time < 0 || time > kLastKeptTime) return PutAnyTime(at, time);
    // Most often a few seconds on, without a carry: one digit changes.
    const std::uint64_t seconds = into / kMicrosPerSecond;
    char& last = second_text_[kSecondEnd - 1];
    if (seconds < 10 && last + seconds <= '9') {
      last = static_cast<char>(last + seconds);
      second_start_ += static_cast<Micros>(seconds) * kMicrosPerSecond;
      into -= seconds * kMicrosPerSecond;
    } else {
      into = MoveSecond(time);
    }
  }
  // The whole block, not just the digits: a copy of known size is a few
  // moves, and the bytes past the digits are written over next.
  const std::size_t digits = second_digits_;
  std::memcpy(at, second_text_.data() + kSecondEnd - digits, kSecondEnd);
  at += digits;
  std::memcpy(at, &kMillis[4 * (static_cast<std::uint32_t>(into) / 1000)], 4);
  return at + 4;
}

inline char* TranscriptWriter::Reserve(std::size_t longest) {
  if (buffer_.size() - used_ < longest) buffer_.resize(used_ + longest);
  return buffer_.data() + used_;
}

inline void TranscriptWriter::Finish(char* end) {
  *end++ = '\n';
  used_ = static_cast<std::size_t>(end - buffer_.data());
  if (used_ >= kChunk) Flush();
}

void TranscriptWriter::Write(Micros time, std::initializer_list<std::string_view> fields) {
  if (fields.size() == 2) return Write(time, fields.begin()[0], fields.begin()[1]);
  // Room for the record at its longest (every byte escaped), so that it is
  // formatted straight into the buffer without a check a byte.
  std::size_t longest = kTimeRoom + 1;
  for (std::string_view field : fields) longest += 1 + 2 * field.size();
  char* at = PutTime(Reserve(longest), time);
  for (std::string_view field : fields) {
    *at++ = '\t';
    at = PutEscaped(at, field);
  }
  Finish(at);
}

void TranscriptWriter::Write(Micros time, std::string_view first, std::string_view second) {
  char* at = PutTime(Reserve(kTimeRoom + 3 + 2 * (first.size() + second.size())), time);
  *at++ = '\t';
  at = PutEscaped(at, first);
  *at++ = '\t';
  at = PutEscaped(at, second);
  Finish(at);
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
