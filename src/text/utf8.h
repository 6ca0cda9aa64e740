// UTF-8 as the room's text is read: strangers send any bytes, and every
// reader of them (the printers, the terminal's keys) needs the same answer
// to "is a character here, and how long is it".
#pragma once

#include <cstddef>
#include <string_view>

namespace zorvik {

struct Utf8Read {
  enum Status {
    kValid,       // a whole character of `length` bytes
    kInvalid,     // `length` bytes (at least one) that start no character
    kIncomplete,  // the text ends inside a character that may still be whole
  };
  Status status;
  std::size_t length;
  char32_t code_point = 0;  // the character's, when valid
};

// Reads the character at the start of `text`, which must not be empty.
// Valid means the shortest form of a scalar value (no surrogates, nothing
// above U+10FFFF); an invalid sequence is as long as its start that could
// have been a character, so that a reader moves on past it without
// skipping a good byte.
Utf8Read ReadUtf8(std::string_view text);

}  // namespace zorvik
