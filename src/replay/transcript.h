// Replay transcripts: one record a line, TAB-separated, the first field the
// virtual time in seconds with exactly three decimals (rounded down).
#pragma once

#include <cstddef>
#include <cstdint>
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

  // Writes one record: `time`, then `fields` escaped. Times may come in any
  // order; a record in the same whole second as the one before costs least.
  void Write(Micros time, std::initializer_list<std::string_view> fields);
  // The same as Write(time, {first, second}), the commonest record: a room
  // line's speaker and text.
  void Write(Micros time, std::string_view first, std::string_view second);
  // Hands every record written so far to the stream.
  void Flush();

 private:
  // The first byte after the records not handed over, with at least
  // `longest` bytes of room behind it.
  char* Reserve(std::size_t longest);
  // Ends the record that ends just before `end`.
  void Finish(char* end);
  // Writes "2.040" for 2'040'999 microseconds at `at` and returns its end;
  // may write up to 32 bytes, those past the end to be written over.
  char* PutTime(char* at, Micros time);
  // Makes the kept second the one `time` falls in and returns the
  // microseconds from its start to `time`; 0 <= time <= kLastKeptTime.
  std::uint64_t MoveSecond(Micros time);

  std::ostream& out_;
  // Records not handed over yet: the first used_ bytes. The buffer only
  // grows, to the most a chunk and its last record have needed.
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  // The last whole second written: the microsecond it starts at, and its
  // digits ("42219"), second_digits_ of them, ending at kSecondEnd in
  // second_text_; what follows them pads the block that PutTime copies at
  // once.
  static constexpr std::size_t kSecondEnd = 24;
  Micros second_start_ = 0;
  std::array<char, 2 * kSecondEnd> second_text_ = [] {
    std::array<char, 2 * kSecondEnd> text{};
    for (std::size_t i = 0; i < kSecondEnd; ++i) text[i] = '0';
    return text;
  }();
  std::size_t second_digits_ = 1;
};

// The `#console` record's fields after the time, for `console` as it is
// now: both seats, creatures and hit points, the usable match buttons and
// the listeners that are on.
std::array<std::string, 9> ConsoleRecord(const HostConsole& console);
void WriteConsoleRecord(TranscriptWriter& writer, Micros time,
                        const std::array<std::string, 9>& record);

}  // namespace zorvik
