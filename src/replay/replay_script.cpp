#include "replay/replay_script.h"

#include <algorithm>
#include <array>
#include <optional>
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

// Cuts the field before the first TAB off `rest` into `field` and returns
// true; without a TAB, the whole of `rest` is the last field: false.
bool CutField(std::string_view& rest, std::string_view& field) {
  const std::size_t tab = rest.find('\t');
  if (tab == std::string_view::npos) {
    field = rest;
    rest = {};
    return false;
  }
  field = rest.substr(0, tab);
  rest.remove_prefix(tab + 1);
  return true;
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

// A field that should have been split and was not, most likely typed with
// spaces where the script wants TABs: the reason says how fields are
// separated.
std::string WithTabHint(std::string reason, std::string_view field) {
  if (field.find(' ') != std::string_view::npos) reason += " (fields are separated by TABs)";
  return reason;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// `text` with the escapes of say and type resolved into `out`: \\ \t \r
// \n; any other backslash is itself.
void Unescape(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t slash; (slash = text.find('\\')) != std::string_view::npos;) {
    out.append(text.substr(0, slash));
    const char next = slash + 1 < text.size() ? text[slash + 1] : '\0';
    const char escaped = next == '\\'  ? '\\'
                         : next == 't' ? '\t'
                         : next == 'r' ? '\r'
                         : next == 'n' ? '\n'
                                       : '\0';
    if (escaped == '\0') {
      out += '\\';
      text.remove_prefix(slash + 1);
    } else {
      out += escaped;
      text.remove_prefix(slash + 2);
    }
  }
  out.append(text);
}

// Seconds as the script writes them ("12.25"), rounded to the nearest
// microsecond. False for anything that is not a plain decimal number or is
// too large to be a time.
bool ParseScriptTime(std::string_view text, Micros& time) {
  const std::size_t dot = std::min(text.find('.'), text.size());
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction = text.substr(std::min(dot + 1, text.size()));
  if (whole.empty() && fraction.empty()) return false;
  Micros seconds = 0;
  for (char c : whole) {
    if (!IsDigit(c)) return false;
    seconds = seconds * 10 + (c - '0');
    if (seconds > kLatestTime / kMicrosPerSecond) return false;
  }
  // Exact decimal rounding: six digits of microseconds, the seventh rounds.
  Micros micros = 0;
  for (std::size_t i = 0; i < fraction.size(); ++i) {
    if (!IsDigit(fraction[i])) return false;
    if (i < 6) micros = micros * 10 + (fraction[i] - '0');
  }
  for (std::size_t i = fraction.size(); i < 6; ++i) micros *= 10;
  if (fraction.size() > 6 && fraction[6] >= '5') ++micros;
  time = seconds * kMicrosPerSecond + micros;
  return time <= kLatestTime;
}

// Reads one line that is neither blank nor a comment into `event`; the
// reason it cannot be read otherwise.
std::optional<std::string> ParseLine(std::string_view line, Micros previous, ScriptEvent& event) {
  const auto fail = [](std::string reason) {
    return std::optional<std::string>(std::move(reason));
  };
  // Cleared rather than replaced, so that a reader's event keeps its buffers.
  event.time = 0;
  event.verb = ScriptVerb::kShow;
  event.target.clear();
  event.text.clear();
  std::string_view rest = line;
  std::string_view time;
  if (!CutField(rest, time)) return fail("missing verb (fields are separated by TABs)");
  if (!ParseScriptTime(time, event.time)) {
    return fail("time " + Quoted(time) + " is not a number of seconds");
  }
  if (event.time < previous) return fail("time " + std::string(time) + " goes back");

  std::string_view verb;
  const bool has_rest = CutField(rest, verb);
  if (verb == "say") {
    std::string_view name;
    if (!has_rest || !CutField(rest, name)) {
      return fail(WithTabHint("say needs a screen name and a text", name));
    }
    if (name.empty()) return fail("say needs a screen name");
    event.verb = ScriptVerb::kSay;
    event.target.assign(name);
    Unescape(rest, event.text);
  } else if (verb == "click") {
    if (!has_rest) return fail("click needs a window");
    std::string_view window;
    const bool has_caption = CutField(rest, window);
    const std::string_view caption = rest;
    if (window == "splash") {
      if (has_caption) return fail("click splash takes nothing more");
      event.verb = ScriptVerb::kClickSplash;
    } else if (window == "console" || window == "menu" || window == "form") {
      if (!has_caption) return fail("click " + std::string(window) + " needs a caption");
      const bool known = window == "console" ? OneOf(kConsoleCaptions, caption)
                         : window == "menu"  ? OneOf(kMenuItems, caption)
                                             : OneOf(kFormCaptions, caption);
      if (!known) return fail("no " + std::string(window) + " button " + Quoted(caption));
      event.verb = window == "console" ? ScriptVerb::kClickConsole
                   : window == "menu"  ? ScriptVerb::kClickMenu
                                       : ScriptVerb::kClickForm;
      event.target.assign(caption);
    } else {
      return fail(WithTabHint("unknown window " + Quoted(window), window));
    }
  } else if (verb == "type") {
    std::string_view window;
    if (!has_rest || !CutField(rest, window)) {
      return fail(WithTabHint("type needs a window and a text", window));
    }
    if (window != "form") return fail("cannot type into " + Quoted(window));
    event.verb = ScriptVerb::kTypeForm;
    Unescape(rest, event.text);
  } else if (verb == "show") {
    if (has_rest) return fail("show takes nothing more");
    event.verb = ScriptVerb::kShow;
  } else {
    return fail(WithTabHint("unknown verb " + Quoted(verb), verb));
  }
  return std::nullopt;
}

}  // namespace

ScriptReader::Result ScriptReader::Next(ScriptEvent& event) {
  while (std::getline(in_, line_)) {
    ++number_;
    std::string_view line = line_;
    // Scripts saved with CR LF endings read like the others.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (auto reason = ParseLine(line, previous_, event)) {
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

}  // namespace zorvik
