// Replay transcripts: one record a line, TAB-separated, the first field the
// virtual time in seconds with exactly three decimals (rounded down).
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/loop/event_loop.h"

namespace zorvik {

// A field with backslash, TAB, CR and LF written as \\ \t \r \n.
std::string EscapeField(std::string_view field);

// "2.040" for 2'040'999 microseconds.
std::string TranscriptTime(Micros time);

// Writes records as they happen, each with a single write to the stream.
class TranscriptWriter {
 public:
  explicit TranscriptWriter(std::ostream& out) : out_(out) {}
  TranscriptWriter(const TranscriptWriter&) = delete;
  TranscriptWriter& operator=(const TranscriptWriter&) = delete;

  void Write(Micros time, const std::vector<std::string_view>& fields);

 private:
  std::ostream& out_;
};

}  // namespace zorvik
