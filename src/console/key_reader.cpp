#include "console/key_reader.h"

#include "console/screen_console.h"

namespace zorvik {

KeyReader::Sequences KeyReader::CommonSequences() {
  Sequences common;
  // Cursor keys in normal ("\e[A") and application ("\eOA") mode.
  const std::pair<char, int> arrows[] = {
      {'A', kKeyUp}, {'B', kKeyDown}, {'C', kKeyRight}, {'D', kKeyLeft},
      {'H', kKeyHome}, {'F', kKeyEnd}};
  for (const auto& [letter, key] : arrows) {
    common.emplace_back(std::string("\x1b[") + letter, key);
    common.emplace_back(std::string("\x1bO") + letter, key);
  }
  const std::pair<const char*, int> others[] = {
      {"\x1b[1~", kKeyHome},   {"\x1b[4~", kKeyEnd},     {"\x1b[7~", kKeyHome},
      {"\x1b[8~", kKeyEnd},    {"\x1b[3~", kKeyDelete},  {"\x1b[5~", kKeyPageUp},
      {"\x1b[6~", kKeyPageDown}, {"\x1b[Z", kKeyBackTab}, {"\x1bOM", kKeyEnter},
      {"\x1bOP", kKeyF1},      {"\x1bOQ", kKeyF2},       {"\x1bOR", kKeyF3},
      {"\x1bOS", kKeyF4},      {"\x1b[11~", kKeyF1},     {"\x1b[12~", kKeyF2},
      {"\x1b[13~", kKeyF3},    {"\x1b[14~", kKeyF4},     {"\x1b[15~", kKeyF5},
      {"\x1b[17~", kKeyF6},    {"\x1b[18~", kKeyF7},     {"\x1b[19~", kKeyF8},
      {"\x1b[[A", kKeyF1},     {"\x1b[[B", kKeyF2},      {"\x1b[[C", kKeyF3},
      {"\x1b[[D", kKeyF4},     {"\x1b[[E", kKeyF5}};
  for (const auto& [sequence, key] : others) common.emplace_back(sequence, key);
  return common;
}

KeyReader::KeyReader(Sequences sequences, std::function<void(int)> key,
                     std::function<void(unsigned char)> byte)
    : sequences_(std::move(sequences)), key_(std::move(key)), byte_(std::move(byte)) {}

void KeyReader::Feed(std::string_view bytes) {
  for (const char c : bytes) {
    if (held_.empty() && c != '\x1b') {
      byte_(static_cast<unsigned char>(c));
      continue;
    }
    held_.push_back(c);
    // A whole sequence is a key; the start of one waits for more; anything
    // else was no sequence, and its first byte passes on alone.
    while (!held_.empty()) {
      bool longer = false;
      int whole = 0;
      for (const auto& [sequence, key] : sequences_) {
        if (whole == 0 && sequence == held_) whole = key;  // the first listed wins
        if (sequence.size() > held_.size() && sequence.starts_with(held_)) longer = true;
      }
      if (whole != 0) {
        held_.clear();
        key_(whole);
      } else if (longer) {
        break;
      } else {
        // No sequence starts with anything but ESC, so what follows is read
        // again here, plain text passing on a byte at a time.
        const unsigned char first = static_cast<unsigned char>(held_.front());
        held_.erase(0, 1);
        byte_(first);
      }
    }
  }
}

void KeyReader::Flush() {
  const std::string held = std::move(held_);
  held_.clear();
  for (const char c : held) byte_(static_cast<unsigned char>(c));
}

}  // namespace zorvik
