#include "app/transcript.h"

#include <array>

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

// A field with backslash, TAB, CR and LF written as \\ \t \r \n.
void AppendEscaped(std::string& out, std::string_view field) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char escape = kEscapes[static_cast<unsigned char>(field[i])];
    if (escape == 0) continue;
    out.append(field.data() + plain, i - plain);
    out += '\\';
    out += escape;
    plain = i + 1;
  }
  out.append(field.data() + plain, field.size() - plain);
}

// "2.040" for 2'040'999 microseconds.
void AppendTime(std::string& out, Micros time) {
  const Micros millis = time / 1000;
  out += std::to_string(millis / 1000);
  const int fraction = static_cast<int>(millis % 1000);
  out += '.';
  out += static_cast<char>('0' + fraction / 100);
  out += static_cast<char>('0' + fraction / 10 % 10);
  out += static_cast<char>('0' + fraction % 10);
}

}  // namespace

void TranscriptWriter::Write(Micros time, std::initializer_list<std::string_view> fields) {
  line_.clear();
  AppendTime(line_, time);
  for (std::string_view field : fields) {
    line_ += '\t';
    AppendEscaped(line_, field);
  }
  line_ += '\n';
  out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
}

}  // namespace zorvik
