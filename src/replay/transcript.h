// Replay transcripts: one record a line, TAB-separated, the first field the
// virtual time in seconds with exactly three decimals (rounded down).
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>

#include "bridge/loop/event_loop.h"

namespace zorvik {

// Writes records in order. Records are collected and handed to the stream
// whenever kChunk bytes have gathered, on Flush and when the writer goes:
// a long replay writes its transcript in a few large pieces.
class TranscriptWriter {
 public:
  explicit TranscriptWriter(std::ostream& out) : out_(out) {}
  ~TranscriptWriter() { Flush(); }
  TranscriptWriter(const TranscriptWriter&) = delete;
  TranscriptWriter& operator=(const TranscriptWriter&) = delete;

  // Writes one record: `time`, then `fields` with backslash, TAB, CR and LF
  // written as \\ \t \r \n.
  void Write(Micros time, std::initializer_list<std::string_view> fields);
  // Hands every record written so far to the stream.
  void Flush();

 private:
  static constexpr std::size_t kChunk = 64 * 1024;

  std::ostream& out_;
  std::string pending_;  // records not handed to the stream yet
};

// Writes a `#console` record: its name and the eight fields ConsoleRecord
// (replay/replay.h) reads from a console.
void WriteConsoleRecord(TranscriptWriter& writer, Micros time,
                        const std::array<std::string, 9>& record);

}  // namespace zorvik
