#include "replay/replay.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "console/console_printer.h"
#include "replay/replay_script.h"
#include "replay/transcript.h"
#include "bridge/loop/virtual_loop.h"

namespace zorvik {

namespace {

// The replay presses OK the moment a box appears, after noting it.
class RecordedBoxes : public MessageBoxes {
 public:
  RecordedBoxes(EventLoop& loop, TranscriptWriter& writer) : loop_(loop), writer_(writer) {}
  void Show(const std::string& title, const std::string& text) override {
    writer_.Write(loop_.Now(), {"#msgbox", title, text});
  }

 private:
  EventLoop& loop_;
  TranscriptWriter& writer_;
};

class Replay {
 public:
  Replay(const ProgramOptions& options, std::ostream& out)
      : writer_(out), boxes_(loop_, writer_), program_(loop_, boxes_, options) {
    Observe();
  }

  // Replays the `count` events that `script` holds (checked already). The
  // events are numbered as if every one were scheduled before anything runs,
  // so a room line's reports queue behind script events due at the same
  // moment; but they are read and handed to the loop only a moment at a
  // time: when the last event of one moment runs, those of the next follow,
  // before the clock can reach them. False if the script has changed since
  // it was checked.
  bool Run(std::istream& script, std::uint64_t count) {
    program_.Start();
    reader_.emplace(script);
    next_id_ = loop_.ReserveOrder(count);
    left_ = count;
    ScheduleNextMoment();
    loop_.Run();
    writer_.Flush();
    return !changed_;
  }

 private:
  // Reads the events of the next moment (all with the time of the first)
  // and schedules them; the first event of the moment after is kept back.
  void ScheduleNextMoment() {
    if (!ahead_ && !ReadAhead()) return;
    const Micros moment = ahead_->time;
    while (ahead_ && ahead_->time == moment) {
      ScriptEvent event = std::move(*ahead_);
      ahead_.reset();
      const bool last = !ReadAhead() || ahead_->time != moment;
      loop_.ScheduleReserved(moment, next_id_++, [this, event = std::move(event), last] {
        if (last) ScheduleNextMoment();
        Deliver(event);
      });
    }
  }

  // Reads the next event into ahead_.
  bool ReadAhead() {
    if (left_ == 0) return false;
    ScriptEvent event;
    if (reader_->Next(event) != ScriptReader::Result::kEvent) {
      changed_ = true;
      left_ = 0;
      return false;
    }
    --left_;
    ahead_ = std::move(event);
    return true;
  }

  void Record(std::initializer_list<std::string_view> fields) { writer_.Write(loop_.Now(), fields); }

  void Observe() {
    program_.client().Subscribe([this](const std::string& name, const std::string& text) {
      writer_.Write(loop_.Now(), {name, text});
    });
    program_.client().SetInstantMessageObserver(
        [this](const std::string& to, const std::string& message) {
          Record({"#im", to, message});
        });
    program_.client().SetMailObserver(
        [this](const std::string& to, const std::string& subject, const std::string& text) {
          Record({"#mail", to, subject, text});
        });
    program_.splash().AddVisibilityObserver([this](bool shown) {
      Record({"#window", "splash", shown ? "shown" : "hidden"});
    });
    program_.form().AddVisibilityObserver([this](bool shown) {
      Record({"#window", "form", shown ? "shown" : "hidden"});
    });
    program_.console().AddChangeObserver([this] {
      const bool shown = program_.console().shown();
      if (shown == console_shown_) return;
      console_shown_ = shown;
      Record({"#window", "console", shown ? "shown" : "hidden"});
    });
    program_.console().SetExitAction([this] { Record({"#exit"}); });
  }

  void Deliver(const ScriptEvent& event) {
    HostProgram& p = program_;
    bool handled = true;
    switch (event.verb) {
      case ScriptVerb::kSay:
        p.client().Say(event.target, event.text);
        break;
      case ScriptVerb::kClickSplash:
        handled = p.splash().Click();
        break;
      case ScriptVerb::kClickConsole:
        handled = p.console().Press(*ButtonFromCaption(event.target));
        break;
      case ScriptVerb::kClickMenu:
        // The menu belongs to the console: usable while the console is.
        handled = p.console().Usable(ConsoleButton::kInfo);
        if (handled) p.menu().Choose(*MenuItemFromCaption(event.target));
        break;
      case ScriptVerb::kClickForm:
        handled = p.form().Press(*FormButtonFromCaption(event.target));
        break;
      case ScriptVerb::kTypeForm:
        handled = p.form().shown();
        if (handled) p.form().SetText(event.text);
        break;
      case ScriptVerb::kShow:
        RecordConsole();
        break;
    }
    if (!handled) RecordIgnored(event);
  }

  // A click that did nothing, written back as the script gave it.
  void RecordIgnored(const ScriptEvent& event) {
    switch (event.verb) {
      case ScriptVerb::kSay:
        return Record({"#ignored", "say", event.target, event.text});
      case ScriptVerb::kClickSplash:
        return Record({"#ignored", "click", "splash"});
      case ScriptVerb::kClickConsole:
        return Record({"#ignored", "click", "console", event.target});
      case ScriptVerb::kClickMenu:
        return Record({"#ignored", "click", "menu", event.target});
      case ScriptVerb::kClickForm:
        return Record({"#ignored", "click", "form", event.target});
      case ScriptVerb::kTypeForm:
        return Record({"#ignored", "type", "form", event.text});
      case ScriptVerb::kShow:
        return Record({"#ignored", "show"});
    }
  }

  void RecordConsole() {
    WriteConsoleRecord(writer_, loop_.Now(), ConsoleRecord(program_.console()));
  }

  VirtualLoop loop_;
  TranscriptWriter writer_;
  RecordedBoxes boxes_;
  HostProgram program_;
  bool console_shown_ = false;

  std::optional<ScriptReader> reader_;
  std::optional<ScriptEvent> ahead_;  // the first event of the next moment
  EventLoop::TimerId next_id_ = 0;
  std::uint64_t left_ = 0;  // events not read yet
  bool changed_ = false;
};

}  // namespace

int RunReplay(std::istream& script, const ProgramOptions& options, std::ostream& transcript,
              std::ostream& errors) {
  const auto fail = [&errors](const ScriptError& error) {
    errors << "error: line " << error.line << ": " << error.reason << '\n';
    return 2;
  };
  std::uint64_t count = 0;
  {
    ScriptReader reader(script);
    ScriptEvent event;
    for (ScriptReader::Result result;
         (result = reader.Next(event)) != ScriptReader::Result::kEnd;) {
      if (result == ScriptReader::Result::kError) return fail(reader.error());
      ++count;
    }
  }
  script.clear();
  script.seekg(0);
  if (!script) {
    errors << "zorvik: the script cannot be read a second time\n";
    return 2;
  }
  Replay replay(options, transcript);
  if (!replay.Run(script, count)) {
    errors << "zorvik: the script changed while it was replayed\n";
    return 2;
  }
  return 0;
}

int RunReplayFile(const std::string& file, const ProgramOptions& options,
                  std::ostream& transcript, std::ostream& errors) {
  // The system's reason, read right after the call that failed.
  const auto fail = [&errors](const std::string& what) {
    const int error = errno;
    errors << "zorvik: " << what;
    if (error != 0) errors << ": " << std::strerror(error);
    errors << '\n';
    return 2;
  };
  int status = 0;
  if (file.empty() || file == "-") {
    std::stringstream script;
    errno = 0;
    std::cin.peek();  // as for a file below: a folder fails only when read
    if (std::cin.bad()) return fail("cannot read standard input");
    script << std::cin.rdbuf();
    if (std::cin.bad()) return fail("cannot read standard input");
    status = RunReplay(script, options, transcript, errors);
  } else {
    errno = 0;
    std::ifstream script(file, std::ios::binary);
    if (!script) return fail("cannot open " + Printable(file));
    // A folder opens, but its first read fails: a reason to give now, before
    // the script reader meets it.
    script.peek();
    if (script.bad()) return fail("cannot read " + Printable(file));
    status = RunReplay(script, options, transcript, errors);
  }
  transcript.flush();
  return status;
}

std::array<std::string, 9> ConsoleRecord(const HostConsole& console) {
  const MatchTable& t = console.table();
  std::string enabled;
  for (ConsoleButton button : {ConsoleButton::kGetPlayers, ConsoleButton::kSetup,
                               ConsoleButton::kStart, ConsoleButton::kStop}) {
    if (!console.Enabled(button)) continue;
    if (!enabled.empty()) enabled += ',';
    enabled += ButtonCaption(button);
  }
  std::string listening;
  for (int n = 1; n <= 5; ++n) {
    if (!console.Listening(n)) continue;
    if (!listening.empty()) listening += ',';
    listening += "Chat" + std::to_string(n);
  }
  return {"#console",         t.seat1Caption,     t.player1Creature, t.player1Hp, t.seat2Caption,
          t.player2Creature, t.player2Hp, enabled, listening};
}

}  // namespace zorvik
