// Replay transcripts: one record a line, TAB-separated, the first field the
// virtual time in seconds with exactly three decimals (rounded down).
#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>

#include "bridge/loop/event_loop.h"

namespace zorvik {

// Writes records as they happen, each with a single write to the stream,
// formatted in a buffer that is kept from record to record.
class TranscriptWriter {
 public:
  explicit TranscriptWriter(std::ostream& out) : out_(out) {}
  TranscriptWriter(const TranscriptWriter&) = delete;
  TranscriptWriter& operator=(const TranscriptWriter&) = delete;

  void Write(Micros time, std::initializer_list<std::string_view> fields);

 private:
  std::ostream& out_;
  std::string line_;
};

}  // namespace zorvik
