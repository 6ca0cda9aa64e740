// Replay scripts: one event a line, read whole before anything runs, so a
// bad line stops the replay before the program starts.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "bridge/loop/event_loop.h"

namespace zorvik {

enum class ScriptVerb {
  kSay,           // a person types a line into the room
  kClickSplash,   // click on the splash window's picture
  kClickConsole,  // press a console button (target = caption)
  kClickMenu,     // choose an info-menu item (target = item)
  kClickForm,     // press a feedback-form button (target = caption)
  kTypeForm,      // replace the feedback form's text
  kShow,          // write a #console record
};

struct ScriptEvent {
  Micros time = 0;
  ScriptVerb verb = ScriptVerb::kShow;
  std::string target;  // screen name, caption or menu item
  std::string text;    // the text of say and type, escapes resolved
  // The fields after the time as the transcript writes them back for a
  // click that did nothing.
  std::vector<std::string> fields;
};

struct ScriptError {
  std::size_t line = 0;
  std::string reason;
};

// Either the events in script order or the first line that cannot be read.
using ParsedScript = std::variant<std::vector<ScriptEvent>, ScriptError>;

ParsedScript ParseScript(std::string_view script);

// The escapes of say and type: \\ \t \r \n; any other backslash is itself.
std::string UnescapeScriptText(std::string_view text);

// Seconds as the script writes them ("12.25"), rounded to the nearest
// microsecond. False for anything that is not a plain decimal number or is
// too large to be a time.
bool ParseScriptTime(std::string_view text, Micros& time);

}  // namespace zorvik
