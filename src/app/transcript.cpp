#include "app/transcript.h"

#include <cstdio>

namespace zorvik {

std::string EscapeField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (char c : field) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string TranscriptTime(Micros time) {
  const Micros millis = time / 1000;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%lld.%03lld", static_cast<long long>(millis / 1000),
                static_cast<long long>(millis % 1000));
  return buffer;
}

void TranscriptWriter::Write(Micros time, const std::vector<std::string_view>& fields) {
  std::string line = TranscriptTime(time);
  for (std::string_view field : fields) {
    line += '\t';
    line += EscapeField(field);
  }
  line += '\n';
  out_ << line;
}

}  // namespace zorvik
