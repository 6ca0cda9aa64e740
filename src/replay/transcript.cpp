#include "replay/transcript.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace zorvik {

namespace {

// For each byte, the letter that follows the backslash when it is written
// escaped; 0 for a byte written as it is.
constexpr std::array<char, 256> kEscapeLetters = [] {
  std::array<char, 256> letters{};
  letters['\\'] = '\\';
  letters['\t'] = 't';
  letters['\r'] = 'r';
  letters['\n'] = 'n';
  return letters;
}();

void AppendEscaped(std::string& out, std::string_view field) {
  std::size_t plain = 0;  // the first byte not appended yet
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char letter = kEscapeLetters[static_cast<unsigned char>(field[i])];
    if (letter == 0) continue;
    out.append(field, plain, i - plain);
    out += '\\';
    out += letter;
    plain = i + 1;
  }
  out.append(field, plain);
}

void AppendNumber(std::string& out, std::uint64_t value) {
  char digits[20];
  char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, static_cast<std::size_t>(end - digits));
}

// Seconds with three decimals, the microseconds rounded toward zero to the
// millisecond: 2'040'999 is "2.040", -1'500 is "-0.001".
void AppendTime(std::string& out, Micros time) {
  const Micros millis = time / 1000;
  // Unsigned, so that the most negative time has a magnitude too.
  const std::uint64_t magnitude =
      millis < 0 ? 0 - static_cast<std::uint64_t>(millis) : static_cast<std::uint64_t>(millis);
  if (millis < 0) out += '-';
  AppendNumber(out, magnitude / 1000);
  const std::uint64_t fraction = magnitude % 1000;
  out += '.';
  out += static_cast<char>('0' + fraction / 100);
  out += static_cast<char>('0' + fraction / 10 % 10);
  out += static_cast<char>('0' + fraction % 10);
}

}  // namespace

void TranscriptWriter::Write(Micros time, std::initializer_list<std::string_view> fields) {
  AppendTime(pending_, time);
  for (std::string_view field : fields) {
    pending_ += '\t';
    AppendEscaped(pending_, field);
  }
  pending_ += '\n';
  if (pending_.size() >= kChunk) Flush();
}

void TranscriptWriter::Flush() {
  if (pending_.empty()) return;
  out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
  pending_.clear();
}

void WriteConsoleRecord(TranscriptWriter& writer, Micros time,
                        const std::array<std::string, 9>& r) {
  writer.Write(time, {r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
}

}  // namespace zorvik
