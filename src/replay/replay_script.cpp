#include "replay/replay_script.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <sstream>
#include <utility>

namespace zorvik {

namespace {

constexpr std::array<std::string_view, 6> kConsoleCaptions = {"get players", "exit",  "info",
                                                              "setup",       "start", "stop"};
constexpr std::array<std::string_view, 3> kMenuItems = {"about", "mail me", "help"};
constexpr std::array<std::string_view, 3> kFormCaptions = {"bug report", "comments", "exit"};

// Longest time a script may name: far beyond any match, far below overflow.
constexpr Micros kLatestTime = Micros{1'000'000'000} * kMicrosPerSecond;

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// A line's first fields, held without allocating.
struct Fields {
  std::array<std::string_view, 3> part;
  std::size_t count = 0;
  std::size_t size() const { return count; }
  std::string_view operator[](std::size_t i) const { return part[i]; }
};

// Splits a line into at most `count` (up to 3) fields; the last takes the
// rest of the line, TABs included.
Fields SplitFields(std::string_view line, std::size_t count) {
  Fields fields;
  // Times, verbs, windows and names are a few bytes each: a plain loop
  // finds their TAB sooner than a library search would start.
  while (fields.count + 1 < count) {
    std::size_t tab = 0;
    while (tab < line.size() && line[tab] != '\t') ++tab;
    if (tab == line.size()) break;
    fields.part[fields.count++] = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  fields.part[fields.count++] = line;
  return fields;
}

std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string quoted = "\"";
  for (char c : text.substr(0, kShown)) {
    const auto byte = static_cast<unsigned char>(c);
    quoted += (byte < 0x20 || byte == 0x7F) ? '?' : c;
  }
  if (text.size() > kShown) quoted += "...";
  return quoted + "\"";
}

}  // namespace

bool ParseScriptTime(std::string_view text, Micros& time) {
  // One pass: the whole seconds up to an optional dot, then the fraction.
  const auto digit = [](char c) { return static_cast<unsigned>(c - '0') < 10; };
  const std::size_t size = text.size();
  std::size_t i = 0;
  Micros seconds = 0;
  for (; i < size && text[i] != '.'; ++i) {
    if (!digit(text[i])) return false;
    seconds = seconds * 10 + (text[i] - '0');
    if (seconds > kLatestTime / kMicrosPerSecond) return false;
  }
  const bool has_whole = i > 0;
  Micros micros = 0;
  std::size_t fraction = 0;  // digits after the dot
  if (i < size) {
    for (++i; i < size; ++i, ++fraction) {
      if (!digit(text[i])) return false;
      // Exact decimal rounding: six digits of microseconds, the seventh rounds.
      if (fraction < 6) {
        micros = micros * 10 + (text[i] - '0');
      } else if (fraction == 6 && text[i] >= '5') {
        ++micros;
      }
    }
  }
  if (!has_whole && fraction == 0) return false;
  constexpr std::array<Micros, 7> kScale = {1'000'000, 100'000, 10'000, 1'000, 100, 10, 1};
  time = seconds * kMicrosPerSecond + micros * kScale[std::min<std::size_t>(fraction, 6)];
  return time <= kLatestTime;
}

void UnescapeScriptText(std::string_view text, std::string& out) {
  std::size_t slash = text.find('\\');
  // Most texts hold no backslash at all: copied in one piece.
  if (slash == std::string_view::npos) {
    out.assign(text.data(), text.size());
    return;
  }
  out.clear();
  for (std::size_t plain = 0;; slash = text.find('\\', plain)) {
    if (slash == std::string_view::npos || slash + 1 == text.size()) {
      out.append(text.data() + plain, text.size() - plain);
      return;
    }
    const char next = text[slash + 1];
    const char replacement = next == '\\' ? '\\'
                             : next == 't' ? '\t'
                             : next == 'r' ? '\r'
                             : next == 'n' ? '\n'
                                           : '\0';
    if (replacement == '\0') {
      out.append(text.data() + plain, slash + 1 - plain);
      plain = slash + 1;
      continue;
    }
    out.append(text.data() + plain, slash - plain);
    out += replacement;
    plain = slash + 2;
  }
}

std::string UnescapeScriptText(std::string_view text) {
  std::string out;
  UnescapeScriptText(text, out);
  return out;
}

namespace {

// Reads one line that is neither blank nor a comment into `event`; the
// reason it cannot be read otherwise.
// Without `fill`, the line is only checked: its screen name, caption and
// text are left out of the event.
std::optional<std::string> ParseLine(std::string_view line, Micros previous, ScriptEvent& event,
                                     bool fill) {
  const auto fail = [](std::string reason) { return std::optional<std::string>(std::move(reason)); };
  // The event's buffers are kept from line to line.
  event.time = 0;
  event.verb = ScriptVerb::kShow;
  event.target.clear();
  event.text.clear();
  const auto head = SplitFields(line, 3);
  if (head.size() < 2) return fail("missing verb");
  if (!ParseScriptTime(head[0], event.time)) {
    return fail("time " + Quoted(head[0]) + " is not a number of seconds");
  }
  if (event.time < previous) return fail("time " + std::string(head[0]) + " goes back");

  const std::string_view verb = head[1];
  const std::string_view rest = head.size() > 2 ? head[2] : std::string_view();
  const bool has_rest = head.size() > 2;
  if (verb == "say") {
    const auto parts = SplitFields(rest, 2);
    if (!has_rest || parts.size() < 2) return fail("say needs a screen name and a text");
    if (parts[0].empty()) return fail("say needs a screen name");
    event.verb = ScriptVerb::kSay;
    if (fill) {
      event.target = parts[0];
      UnescapeScriptText(parts[1], event.text);
    }
  } else if (verb == "click") {
    const auto parts = SplitFields(rest, 2);
    if (!has_rest) return fail("click needs a window");
    const std::string_view window = parts[0];
    const std::string_view caption = parts.size() > 1 ? parts[1] : std::string_view();
    if (window == "splash") {
      if (parts.size() > 1) return fail("click splash takes nothing more");
      event.verb = ScriptVerb::kClickSplash;
    } else if (window == "console" || window == "menu" || window == "form") {
      if (parts.size() < 2) return fail("click " + std::string(window) + " needs a caption");
      const bool known = window == "console" ? OneOf(kConsoleCaptions, caption)
                         : window == "menu"  ? OneOf(kMenuItems, caption)
                                             : OneOf(kFormCaptions, caption);
      if (!known) return fail("no " + std::string(window) + " button " + Quoted(caption));
      event.verb = window == "console" ? ScriptVerb::kClickConsole
                   : window == "menu"  ? ScriptVerb::kClickMenu
                                       : ScriptVerb::kClickForm;
      if (fill) event.target = caption;
    } else {
      return fail("unknown window " + Quoted(window));
    }
  } else if (verb == "type") {
    const auto parts = SplitFields(rest, 2);
    if (!has_rest || parts.size() < 2) return fail("type needs a window and a text");
    if (parts[0] != "form") return fail("cannot type into " + Quoted(parts[0]));
    event.verb = ScriptVerb::kTypeForm;
    if (fill) UnescapeScriptText(parts[1], event.text);
  } else if (verb == "show") {
    if (has_rest) return fail("show takes nothing more");
    event.verb = ScriptVerb::kShow;
  } else {
    return fail("unknown verb " + Quoted(verb));
  }
  return std::nullopt;
}

// The time at the start of a common line and the offset of the TAB after
// it, read eight bytes at a time: one to seven whole digits and up to six
// decimals, which need neither a check against the latest time nor
// rounding, in a line of at least 17 bytes. False for anything else, which
// ParseScriptTime then reads.
bool ParseCommonTime(std::string_view line, Micros& time, std::size_t& tab) {
  if constexpr (std::endian::native != std::endian::little) return false;
  static constexpr std::array<Micros, 7> kScale = {1'000'000, 100'000, 10'000, 1'000, 100, 10, 1};
  constexpr std::uint64_t kZeros = 0x3030303030303030;
  constexpr std::uint64_t kHighNibbles = 0xF0F0F0F0F0F0F0F0;
  // The bytes that are not digits are the ones left nonzero; a carry out of
  // the addition starts only at a byte that is not a digit, so the lowest
  // of them is exact.
  const auto first_other = [](std::uint64_t word) {
    const std::uint64_t other = ((word & kHighNibbles) ^ kZeros) |
                                (((word + 0x0606060606060606) & kHighNibbles) ^ kZeros);
    return other == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(other) / 8);
  };
  // The number the first `count` (1 to 8) bytes of `word` spell, the first
  // byte the most significant.
  const auto number = [](std::uint64_t word, std::size_t count) {
    word = (word - kZeros) << (8 * (8 - count));
    word = word * 10 + (word >> 8);
    constexpr std::uint64_t kPairs = 0x000000FF000000FF;
    word = ((word & kPairs) * (100 + (std::uint64_t{1'000'000} << 32)) +
            ((word >> 16) & kPairs) * (1 + (std::uint64_t{10'000} << 32))) >>
           32;
    return static_cast<Micros>(word);
  };
  if (line.size() < 17) return false;
  std::uint64_t word;
  std::memcpy(&word, line.data(), 8);
  const std::size_t whole = first_other(word);
  if (whole == 0 || whole == 8) return false;
  const Micros seconds = number(word, whole);
  if (line[whole] == '\t') {
    time = seconds * kMicrosPerSecond;
    tab = whole;
    return true;
  }
  if (line[whole] != '.') return false;
  std::memcpy(&word, line.data() + whole + 1, 8);
  const std::size_t fraction = first_other(word);
  if (fraction > 6 || line[whole + 1 + fraction] != '\t') return false;
  const Micros micros = fraction == 0 ? 0 : number(word, fraction);
  time = seconds * kMicrosPerSecond + micros * kScale[fraction];
  tab = whole + 1 + fraction;
  return true;
}

// Reads the common lines, the way ParseLine would, in one forward pass: a
// common time, then a say, a show or a type into the form. False, with
// `event` in any state, for every other line, which ParseLine then reads
// and, if it is bad, says why.
bool ParseCommonLine(std::string_view line, Micros previous, ScriptEvent& event, bool fill) {
  Micros time = 0;
  std::size_t tab = 0;
  if (!ParseCommonTime(line, time, tab) || time < previous) return false;

  const std::string_view rest = line.substr(tab + 1);
  const auto starts = [rest](std::string_view prefix) {
    return rest.size() >= prefix.size() && std::memcmp(rest.data(), prefix.data(), prefix.size()) == 0;
  };
  std::string_view target;
  std::string_view text;
  if (starts("say\t")) {
    // Screen names are a few bytes: a plain loop finds their TAB.
    const std::string_view name_on = rest.substr(4);
    std::size_t name_end = 0;
    while (name_end < name_on.size() && name_on[name_end] != '\t') ++name_end;
    if (name_end == 0 || name_end == name_on.size()) return false;
    event.verb = ScriptVerb::kSay;
    target = name_on.substr(0, name_end);
    text = name_on.substr(name_end + 1);
  } else if (rest == "show") {
    event.verb = ScriptVerb::kShow;
  } else if (starts("type\tform\t")) {
    event.verb = ScriptVerb::kTypeForm;
    text = rest.substr(10);
  } else {
    return false;
  }
  event.time = time;
  if (!fill) {
    event.target.clear();
    event.text.clear();
    return true;
  }
  event.target.assign(target.data(), target.size());
  UnescapeScriptText(text, event.text);
  return true;
}

// What a line is once its CR is gone: nothing to read, or an event.
bool IsEventLine(std::string_view& line) {
  // Scripts saved with CR LF endings read like the others.
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return !line.empty() && line.front() != '#';
}

}  // namespace

bool ScriptReader::NextLine(std::string_view& line) {
  for (;;) {
    const char* const begin = buffer_.data() + start_;
    if (const void* newline = std::memchr(begin, '\n', end_ - start_)) {
      const auto length = static_cast<std::size_t>(static_cast<const char*>(newline) - begin);
      line = std::string_view(begin, length);
      start_ += length + 1;
      return true;
    }
    if (at_end_) {
      // A last line without its newline is a line all the same.
      if (start_ == end_) return false;
      line = std::string_view(begin, end_ - start_);
      start_ = end_;
      return true;
    }
    ReadChunk();
  }
}

void ScriptReader::ReadChunk() {
  // Keep the start of the unfinished line, make room, and read on: a line
  // longer than the buffer doubles it.
  std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
  end_ -= start_;
  start_ = 0;
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  std::streambuf* const source = in_.rdbuf();
  const std::streamsize got =
      (source == nullptr || !in_.good())
          ? 0
          : source->sgetn(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
  if (got <= 0) at_end_ = true;
  end_ += static_cast<std::size_t>(std::max<std::streamsize>(got, 0));
}

ScriptReader::Result ScriptReader::Read(ScriptEvent& event, bool fill) {
  for (std::string_view line; NextLine(line);) {
    ++number_;
    if (!IsEventLine(line)) continue;
    if (ParseCommonLine(line, previous_, event, fill)) {
      previous_ = event.time;
      return Result::kEvent;
    }
    if (auto reason = ParseLine(line, previous_, event, fill)) {
      error_ = ScriptError{number_, std::move(*reason)};
      return Result::kError;
    }
    previous_ = event.time;
    return Result::kEvent;
  }
  if (in_.bad()) {
    error_ = ScriptError{number_ + 1, "cannot be read"};
    return Result::kError;
  }
  return Result::kEnd;
}

ParsedScript ParseScript(std::string_view script) {
  std::istringstream in{std::string(script)};
  ScriptReader reader(in);
  std::vector<ScriptEvent> events;
  for (ScriptEvent event;;) {
    switch (reader.Next(event)) {
      case ScriptReader::Result::kEvent:
        events.push_back(std::move(event));
        break;
      case ScriptReader::Result::kEnd:
        return events;
      case ScriptReader::Result::kError:
        return reader.error();
    }
  }
}

}  // namespace zorvik
