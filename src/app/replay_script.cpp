#include "app/replay_script.h"

#include <algorithm>
#include <array>

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

// Splits a line into at most `count` fields; the last takes the rest of the
// line, TABs included.
std::vector<std::string_view> SplitFields(std::string_view line, std::size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) break;
    fields.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  fields.push_back(line);
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
  const std::size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction =
      dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
  const auto digits = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (whole.empty() && fraction.empty()) return false;
  if (!digits(whole) || !digits(fraction)) return false;

  Micros seconds = 0;
  for (char c : whole) {
    seconds = seconds * 10 + (c - '0');
    if (seconds > kLatestTime / kMicrosPerSecond) return false;
  }
  // Exact decimal rounding: six digits of microseconds, the seventh rounds.
  Micros micros = 0;
  for (std::size_t i = 0; i < 6; ++i) {
    micros = micros * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
  }
  if (fraction.size() > 6 && fraction[6] >= '5') ++micros;
  time = seconds * kMicrosPerSecond + micros;
  return time <= kLatestTime;
}

std::string UnescapeScriptText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[i + 1];
      const char* replacement = next == '\\'  ? "\\"
                                : next == 't' ? "\t"
                                : next == 'r' ? "\r"
                                : next == 'n' ? "\n"
                                              : nullptr;
      if (replacement) {
        out += replacement;
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

ParsedScript ParseScript(std::string_view script) {
  std::vector<ScriptEvent> events;
  Micros previous = 0;
  std::size_t number = 0;
  while (!script.empty()) {
    ++number;
    const std::size_t end = script.find('\n');
    std::string_view line = script.substr(0, end);
    script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
    // Scripts saved with CR LF endings read like the others.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;

    const auto fail = [number](std::string reason) {
      return ScriptError{number, std::move(reason)};
    };
    const auto head = SplitFields(line, 3);
    if (head.size() < 2) return fail("missing verb");
    ScriptEvent event;
    if (!ParseScriptTime(head[0], event.time)) {
      return fail("time " + Quoted(head[0]) + " is not a number of seconds");
    }
    if (event.time < previous) return fail("time " + std::string(head[0]) + " goes back");
    previous = event.time;

    const std::string_view verb = head[1];
    const std::string_view rest = head.size() > 2 ? head[2] : std::string_view();
    const bool has_rest = head.size() > 2;
    if (verb == "say") {
      const auto parts = SplitFields(rest, 2);
      if (!has_rest || parts.size() < 2) return fail("say needs a screen name and a text");
      if (parts[0].empty()) return fail("say needs a screen name");
      event.verb = ScriptVerb::kSay;
      event.target = parts[0];
      event.text = UnescapeScriptText(parts[1]);
      event.fields = {"say", event.target, event.text};
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
        event.target = caption;
      } else {
        return fail("unknown window " + Quoted(window));
      }
      event.fields = {"click", std::string(window)};
      if (!event.target.empty()) event.fields.push_back(event.target);
    } else if (verb == "type") {
      const auto parts = SplitFields(rest, 2);
      if (!has_rest || parts.size() < 2) return fail("type needs a window and a text");
      if (parts[0] != "form") return fail("cannot type into " + Quoted(parts[0]));
      event.verb = ScriptVerb::kTypeForm;
      event.text = UnescapeScriptText(parts[1]);
      event.fields = {"type", "form", event.text};
    } else if (verb == "show") {
      if (has_rest) return fail("show takes nothing more");
      event.verb = ScriptVerb::kShow;
      event.fields = {"show"};
    } else {
      return fail("unknown verb " + Quoted(verb));
    }
    events.push_back(std::move(event));
  }
  return events;
}

}  // namespace zorvik
