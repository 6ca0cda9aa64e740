#include "bridge/irc/irc_message.h"

#include <algorithm>

#include "text/ascii_case.h"
#include "text/utf8.h"

namespace zorvik {

namespace {

std::string UnescapeTagValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      out += value[i];
      continue;
    }
    if (++i == value.size()) break;  // a lone backslash at the end is dropped
    switch (value[i]) {
      case ':':
        out += ';';
        break;
      case 's':
        out += ' ';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      default:
        out += value[i];
        break;
    }
  }
  return ToUtf8(out);
}

std::vector<IrcTag> ParseTags(std::string_view text) {
  std::vector<IrcTag> tags;
  while (!text.empty()) {
    const std::size_t semicolon = text.find(';');
    const std::string_view tag = text.substr(0, semicolon);
    text = semicolon == std::string_view::npos ? std::string_view() : text.substr(semicolon + 1);
    if (tag.empty()) continue;
    const std::size_t equals = tag.find('=');
    IrcTag parsed;
    parsed.key = ToUtf8(tag.substr(0, equals));
    if (equals != std::string_view::npos) parsed.value = UnescapeTagValue(tag.substr(equals + 1));
    tags.push_back(std::move(parsed));
  }
  return tags;
}

// Takes the next space-separated word off the front of `text`.
std::string_view NextWord(std::string_view& text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) {
    text = {};
    return {};
  }
  text.remove_prefix(start);
  const std::size_t end = text.find(' ');
  const std::string_view word = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end);
  return word;
}

// Length of the valid UTF-8 sequence at the start of `bytes`, 0 if none.
std::size_t ValidSequence(std::string_view bytes) {
  const Utf8Read read = ReadUtf8(bytes);
  return read.status == Utf8Read::kValid ? read.length : 0;
}

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string CleanParam(std::string_view param, bool last) {
  std::string out(param);
  for (char& c : out) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    if (!last && c == ' ') c = '_';
  }
  if (!last && out.empty()) return std::string(1, '*');
  if (!last && out.front() == ':') out[0] = '*';
  return out;
}

}  // namespace

const std::string& IrcMessage::Param(std::size_t n) const {
  static const std::string kNone;
  return n < params.size() ? params[n] : kNone;
}

std::optional<IrcMessage> ParseIrcLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  IrcMessage message;
  std::string_view rest = line;
  const std::size_t start = rest.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  rest.remove_prefix(start);
  if (rest.front() == '@') {
    const std::string_view tags = NextWord(rest);
    message.tags = ParseTags(tags.substr(1));
  }
  const std::size_t after_tags = rest.find_first_not_of(' ');
  if (after_tags != std::string_view::npos && rest[after_tags] == ':') {
    const std::string_view prefix = NextWord(rest);
    message.prefix = ToUtf8(prefix.substr(1));
  }
  const std::string_view command = NextWord(rest);
  if (command.empty()) return std::nullopt;
  message.command = ToUtf8(command);
  std::transform(message.command.begin(), message.command.end(), message.command.begin(),
                 AsciiUpper);
  for (;;) {
    const std::size_t next = rest.find_first_not_of(' ');
    if (next == std::string_view::npos) break;
    rest.remove_prefix(next);
    if (rest.front() == ':') {
      message.params.push_back(ToUtf8(rest.substr(1)));
      break;
    }
    message.params.push_back(ToUtf8(NextWord(rest)));
  }
  return message;
}

void IrcLineReader::Append(std::string_view bytes) {
  // Compact before growing, so the buffer holds at most one unfinished line
  // plus what has just arrived.
  if (start_ > 0) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
  while (!bytes.empty()) {
    const std::size_t newline = bytes.find('\n');
    const bool ends = newline != std::string_view::npos;
    const std::string_view content = bytes.substr(0, ends ? newline : bytes.size());
    bytes.remove_prefix(ends ? newline + 1 : bytes.size());
    if (skipping_) {
      skipping_ = !ends;
      continue;
    }
    if (open_ + content.size() > kIrcLongestLine) {
      // Too long: forget what was kept of it and skip to its end.
      buffer_.resize(buffer_.size() - open_);
      open_ = 0;
      ++dropped_;
      skipping_ = !ends;
      continue;
    }
    buffer_.append(content);
    if (ends) {
      buffer_ += '\n';
      open_ = 0;
    } else {
      open_ += content.size();
    }
  }
}

std::optional<std::string> IrcLineReader::Next() {
  const std::size_t newline = buffer_.find('\n', start_);
  if (newline == std::string::npos) return std::nullopt;
  std::string line = buffer_.substr(start_, newline - start_);
  start_ = newline + 1;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t length = ValidSequence(bytes);
    if (length > 0) {
      out.append(bytes.substr(0, length));
      bytes.remove_prefix(length);
      continue;
    }
    const auto latin1 = static_cast<unsigned char>(bytes.front());
    out += static_cast<char>(0xC0 | (latin1 >> 6));
    out += static_cast<char>(0x80 | (latin1 & 0x3F));
    bytes.remove_prefix(1);
  }
  return out;
}

std::string_view NickOf(std::string_view prefix) {
  return prefix.substr(0, prefix.find_first_of("!@"));
}

char FoldIrcChar(char c) {
  switch (c) {
    case '[':
      return '{';
    case ']':
      return '}';
    case '\\':
      return '|';
    case '~':
      return '^';
    default:
      return AsciiLower(c);
  }
}

std::string FoldIrcName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = FoldIrcChar(c);
  return folded;
}

bool SameIrcName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldIrcChar(a[i]) != FoldIrcChar(b[i])) return false;
  }
  return true;
}

std::optional<Ctcp> ParseCtcp(std::string_view text) {
  if (text.empty() || text.front() != '\x01') return std::nullopt;
  text.remove_prefix(1);
  if (!text.empty() && text.back() == '\x01') text.remove_suffix(1);
  const std::size_t space = text.find(' ');
  Ctcp ctcp;
  ctcp.command = std::string(text.substr(0, space));
  std::transform(ctcp.command.begin(), ctcp.command.end(), ctcp.command.begin(), AsciiUpper);
  if (space != std::string_view::npos) ctcp.argument = std::string(text.substr(space + 1));
  return ctcp;
}

std::string StripFormatting(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto digit = [&](std::size_t i) {
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
  };
  const auto hex = [&](std::size_t i) {
    return i < text.size() &&
           ((text[i] >= '0' && text[i] <= '9') || (text[i] >= 'a' && text[i] <= 'f') ||
            (text[i] >= 'A' && text[i] <= 'F'));
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '\x02':
      case '\x0F':
      case '\x11':
      case '\x16':
      case '\x1D':
      case '\x1E':
      case '\x1F':
        break;
      case '\x03': {  // colour: up to two digits, then optionally ",NN"
        std::size_t j = i + 1;
        if (digit(j)) {
          j += digit(j + 1) ? 2 : 1;
          if (j < text.size() && text[j] == ',' && digit(j + 1)) j += digit(j + 2) ? 3 : 2;
        }
        i = j - 1;
        break;
      }
      case '\x04': {  // hex colour: six hex digits, then optionally ",RRGGBB"
        std::size_t j = i + 1;
        const auto six = [&](std::size_t at) {
          for (std::size_t k = 0; k < 6; ++k)
            if (!hex(at + k)) return false;
          return true;
        };
        if (six(j)) {
          j += 6;
          if (j < text.size() && text[j] == ',' && six(j + 1)) j += 7;
        }
        i = j - 1;
        break;
      }
      default:
        out += text[i];
    }
  }
  return out;
}

std::string FormatIrcLine(std::string_view command, const std::vector<std::string>& params) {
  std::string line = CleanParam(command, false);
  for (std::size_t i = 0; i < params.size(); ++i) {
    const bool last = i + 1 == params.size();
    const std::string param = CleanParam(params[i], last);
    line += ' ';
    if (last && (param.empty() || param.front() == ':' || param.find(' ') != std::string::npos)) {
      line += ':';
    }
    line += param;
  }
  return line + "\r\n";
}

std::vector<std::string> SplitUtf8(std::string_view text, std::size_t max_bytes) {
  max_bytes = std::max<std::size_t>(max_bytes, 4);
  std::vector<std::string> pieces;
  while (!text.empty()) {
    if (text.size() <= max_bytes) {
      pieces.emplace_back(text);
      break;
    }
    std::size_t cut = max_bytes;
    // Back off a partial character; invalid runs of continuation bytes
    // longer than a character may be cut anywhere.
    for (std::size_t back = 0; back < 3 && cut > 0 && IsContinuation(text[cut]); ++back) --cut;
    if (IsContinuation(text[cut]) || cut == 0) cut = max_bytes;
    if (text[cut] != ' ') {
      const std::size_t space = text.rfind(' ', cut - 1);
      if (space != std::string_view::npos && space + 1 > cut / 2) cut = space + 1;
    }
    pieces.emplace_back(text.substr(0, cut));
    text.remove_prefix(cut);
  }
  return pieces;
}

std::size_t PrivmsgTextBudget(std::string_view nick, std::string_view target) {
  // ":nick!user@host PRIVMSG target :text\r\n", user at most 10 bytes
  // (a '~' included), host at most 63.
  const std::size_t overhead = 1 + nick.size() + 1 + 10 + 1 + 63 + 1 +
                               std::string_view("PRIVMSG ").size() + target.size() + 2 + 2;
  return overhead >= kIrcLineLimit ? 0 : kIrcLineLimit - overhead;
}

}  // namespace zorvik
