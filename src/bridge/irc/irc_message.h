// Lines of the IRC client protocol, read and written.
//
// Reading takes any bytes a server (or anything pretending to be one) may
// send: lines of any length, missing parts, stray spaces, invalid UTF-8,
// NUL bytes. Nothing here fails on them; a line without a command is simply
// no message. Every text that leaves this module is UTF-8: valid UTF-8 runs
// are kept, every other byte is read as Latin-1.
//
// Writing never lets CR, LF or NUL reach the wire, whatever the text: a
// line the host builds from players' words cannot smuggle in a command.
//
// Nothing here dispatches; everything is a plain function of its arguments.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// The longest line kept: the client protocol's 512 bytes plus the 8191
// bytes that message tags may take. Longer lines are dropped whole.
inline constexpr std::size_t kIrcLongestLine = 512 + 8191;

// The longest line a server takes from a client, CR LF included.
inline constexpr std::size_t kIrcLineLimit = 512;

struct IrcTag {
  std::string key;
  std::string value;  // unescaped; empty when the tag has no value
  friend bool operator==(const IrcTag&, const IrcTag&) = default;
};

struct IrcMessage {
  std::vector<IrcTag> tags;
  std::string prefix;               // without its ':'; empty when absent
  std::string command;              // ASCII letters upper-cased ("PRIVMSG", "001")
  std::vector<std::string> params;  // the trailing parameter last, like the others
  friend bool operator==(const IrcMessage&, const IrcMessage&) = default;

  // The n-th parameter, or the empty text when there are not that many.
  const std::string& Param(std::size_t n) const;
};

// Parses one line, without its line end (a CR left at the end is ignored).
// No message when the line holds no command.
std::optional<IrcMessage> ParseIrcLine(std::string_view line);

// Cuts a stream of bytes into lines at LF (a CR before it is dropped).
// Holds at most kIrcLongestLine bytes of an unfinished line: a longer one
// is dropped up to its end and counted, so memory stays bounded whatever
// the peer sends.
class IrcLineReader {
 public:
  void Append(std::string_view bytes);
  // The next whole line, oldest first.
  std::optional<std::string> Next();
  // Lines dropped for being too long so far.
  std::size_t dropped() const { return dropped_; }

 private:
  std::string buffer_;
  std::size_t start_ = 0;  // where the unread part of buffer_ begins
  std::size_t open_ = 0;   // bytes of the unfinished line at its end
  bool skipping_ = false;  // inside a line being dropped
  std::size_t dropped_ = 0;
};

// `bytes` as UTF-8: valid UTF-8 sequences as they are, every other byte
// read as a Latin-1 character.
std::string ToUtf8(std::string_view bytes);

// The nick of a prefix "nick!user@host" (the whole prefix when it has no
// '!' or '@').
std::string_view NickOf(std::string_view prefix);

// Compares nicks and channel names the way servers do by default: ASCII
// letters without case, and "[]\~" as the capitals of "{}|^".
bool SameIrcName(std::string_view a, std::string_view b);
// One character, or a whole name, in that folded case.
char FoldIrcChar(char c);
std::string FoldIrcName(std::string_view name);

// A client-to-client request inside a PRIVMSG or NOTICE text: "\x01VERSION\x01".
struct Ctcp {
  std::string command;   // upper-cased
  std::string argument;  // what follows the command, without the closing \x01
};
std::optional<Ctcp> ParseCtcp(std::string_view text);

// `text` without the formatting codes that clients put in (bold, colours,
// italics, reverse, ...), so that "/thunder" in colour still reads as a move.
std::string StripFormatting(std::string_view text);

// One line for the wire, CR LF included. Every CR, LF and NUL in the
// parameters becomes a space; a parameter other than the last that is empty,
// holds a space or begins with ':' has those spaces turned into '_' and a
// leading ':' or emptiness replaced by '*', so it stays one parameter. The
// last parameter is sent as a trailing one when it needs to be.
std::string FormatIrcLine(std::string_view command, const std::vector<std::string>& params);

// Cuts `text` into pieces of at most `max_bytes` bytes (at least 4 are
// allowed whatever is asked), never inside a UTF-8 character; where a piece
// would end inside a word and a space lies in its second half, it ends after
// that space instead. Concatenated, the pieces are `text` exactly. Empty
// text gives no piece.
std::vector<std::string> SplitUtf8(std::string_view text, std::size_t max_bytes);

// How many bytes of text fit into one "PRIVMSG target :text" from `nick`
// as the server relays it to others, with the user and host parts of our
// prefix estimated at their usual maximum (10 and 63 bytes).
std::size_t PrivmsgTextBudget(std::string_view nick, std::string_view target);

}  // namespace zorvik
