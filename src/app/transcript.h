// Replay transcripts: one record a line, TAB-separated, the first field the
// virtual time in seconds with exactly three decimals (rounded down).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <array>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/loop/event_loop.h"
#include "match/host_console.h"

namespace zorvik {

// Writes records in order, formatted into one kept buffer that goes to the
// stream whenever it holds kChunk bytes, on Flush and when the writer goes:
// a long replay writes its transcript in a few large pieces.
class TranscriptWriter {
 public:
  static constexpr std::size_t kChunk = 64 * 1024;

  explicit TranscriptWriter(std::ostream& out) : out_(out) {}
  ~TranscriptWriter() { Flush(); }
  TranscriptWriter(const TranscriptWriter&) = delete;
  TranscriptWriter& operator=(const TranscriptWriter&) = delete;

  void Write(Micros time, std::initializer_list<std::string_view> fields);
  // Hands every record written so far to the stream.
  void Flush();

 private:
  std::ostream& out_;
  // Records not handed over yet: the first used_ bytes. The buffer only
  // grows, to the most a chunk and its last record have needed.
  std::vector<char> buffer_;
  std::size_t used_ = 0;
};

// The `#console` record's fields after the time, for `console` as it is
// now: both seats, creatures and hit points, the usable match buttons and
// the listeners that are on.
std::array<std::string, 9> ConsoleRecord(const HostConsole& console);
void WriteConsoleRecord(TranscriptWriter& writer, Micros time,
                        const std::array<std::string, 9>& record);

}  // namespace zorvik
