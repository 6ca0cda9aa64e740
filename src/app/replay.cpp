#include "app/replay.h"

#include <string>
#include <variant>
#include <vector>

#include "app/replay_script.h"
#include "app/transcript.h"
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

  void Run(const std::vector<ScriptEvent>& events) {
    program_.Start();
    // Every event is scheduled before anything runs, so a room line's
    // reports queue behind script events due at the same moment.
    for (const ScriptEvent& event : events) {
      loop_.ScheduleAt(event.time, [this, &event] { Deliver(event); });
    }
    loop_.Run();
  }

 private:
  void Record(const std::vector<std::string_view>& fields) { writer_.Write(loop_.Now(), fields); }

  void Observe() {
    program_.client().Subscribe([this](const std::string& name, const std::string& text) {
      Record({name, text});
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
    if (!handled) {
      std::vector<std::string_view> fields = {"#ignored"};
      fields.insert(fields.end(), event.fields.begin(), event.fields.end());
      Record(fields);
    }
  }

  void RecordConsole() {
    const HostConsole& console = program_.console();
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
    Record({"#console", t.seat1Caption, t.player1Creature, t.player1Hp, t.seat2Caption,
            t.player2Creature, t.player2Hp, enabled, listening});
  }

  VirtualLoop loop_;
  TranscriptWriter writer_;
  RecordedBoxes boxes_;
  HostProgram program_;
  bool console_shown_ = false;
};

}  // namespace

int RunReplay(std::string_view script, const ProgramOptions& options, std::ostream& transcript,
              std::ostream& errors) {
  ParsedScript parsed = ParseScript(script);
  if (const auto* error = std::get_if<ScriptError>(&parsed)) {
    errors << "error: line " << error->line << ": " << error->reason << '\n';
    return 2;
  }
  Replay replay(options, transcript);
  replay.Run(std::get<std::vector<ScriptEvent>>(parsed));
  return 0;
}

}  // namespace zorvik
