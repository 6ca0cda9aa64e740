// libFuzzer target for the IRC line reader, parser, decoder and writer:
// whatever bytes a server sends, nothing crashes, and the promises of
// irc_message.h hold (the output is UTF-8, the wire never carries a stray
// CR, LF or NUL, splitting keeps every byte and never cuts a character).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/irc/irc_message.h"

namespace {

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

bool IsUtf8(const std::string& text) {
  return zorvik::ToUtf8(text) == text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // The reader, fed in two pieces, then every line parsed.
  zorvik::IrcLineReader reader;
  reader.Append(bytes.substr(0, size / 3));
  reader.Append(bytes.substr(size / 3));
  while (const auto line = reader.Next()) {
    Check(line->size() <= zorvik::kIrcLongestLine);
    const auto message = zorvik::ParseIrcLine(*line);
    if (!message) continue;
    Check(!message->command.empty());
    Check(IsUtf8(message->prefix) && IsUtf8(message->command));
    for (const std::string& param : message->params) Check(IsUtf8(param));
    for (const zorvik::IrcTag& tag : message->tags) Check(IsUtf8(tag.key) && IsUtf8(tag.value));
    const std::string text = zorvik::StripFormatting(message->Param(1));
    (void)zorvik::ParseCtcp(text);
    (void)zorvik::SameIrcName(message->Param(0), zorvik::NickOf(message->prefix));
  }

  // Whatever the host is asked to say, one line goes on the wire.
  const std::size_t cut = size / 2;
  const std::string wire = zorvik::FormatIrcLine(
      "PRIVMSG", {std::string(bytes.substr(0, cut)), std::string(bytes.substr(cut))});
  Check(wire.size() >= 2 && wire.compare(wire.size() - 2, 2, "\r\n") == 0);
  Check(wire.find_first_of(std::string_view("\r\n\0", 3)) == wire.size() - 2);

  // Splitting keeps every byte and, for UTF-8, every character whole.
  const std::size_t limit = size == 0 ? 4 : data[0] % 64;
  const std::string utf8 = zorvik::ToUtf8(bytes);
  Check(IsUtf8(utf8));
  std::string joined;
  for (const std::string& piece : zorvik::SplitUtf8(utf8, limit)) {
    Check(!piece.empty() && piece.size() <= std::max<std::size_t>(limit, 4));
    Check(IsUtf8(piece));
    joined += piece;
  }
  Check(joined == utf8);
  return 0;
}
