// Cuts the bytes a terminal sends into keys: the escape sequences of the
// function, cursor and page keys become their Key values, everything else
// passes on byte by byte (text, control bytes, an Escape on its own).
//
// The terminal is read in blocks rather than a byte per system call, so a
// sequence may arrive cut in two: its start is held until the next block
// or until Flush, which the terminal's reader calls once a short while has
// passed with nothing more (then a held Escape was the Escape key).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvik {

class KeyReader {
 public:
  // A key's sequence (starting with ESC) and its Key value.
  using Sequences = std::vector<std::pair<std::string, int>>;
  // What VT100-like terminals send for the keys the console knows, in both
  // cursor-key modes; the terminal's own description may add more.
  static Sequences CommonSequences();

  // `key` gets each named key, `byte` each other byte, in order. Where two
  // entries have the same sequence, the first one listed counts.
  KeyReader(Sequences sequences, std::function<void(int key)> key,
            std::function<void(unsigned char byte)> byte);

  void Feed(std::string_view bytes);
  // Passes on what is held as bytes.
  void Flush();
  // Whether the start of a sequence is held, waiting for the rest.
  bool holding() const { return !held_.empty(); }

 private:
  Sequences sequences_;
  std::function<void(int)> key_;
  std::function<void(unsigned char)> byte_;
  std::string held_;
};

}  // namespace zorvik
