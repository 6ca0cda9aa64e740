#include "console/demo.h"

#include <algorithm>

#include "console/console_printer.h"
#include "gamedata/move_sets.h"
#include "gamedata/roster.h"
#include "match/chat_text.h"

namespace zorvik {

std::string CheckDemoOptions(const DemoOptions& demo) {
  if (demo.player1.empty() || demo.player2.empty()) return "a player needs a screen name";
  if (LowerCase(demo.player1) == LowerCase(demo.player2))
    return "the two players need different names";
  for (const std::string& creature : {demo.creature1, demo.creature2}) {
    const auto& roster = Roster();
    if (std::find(roster.begin(), roster.end(), LowerCase(creature)) == roster.end()) {
      return "\"" + Printable(creature) + "\" is not on the roster";
    }
  }
  return {};
}

ProgramOptions DemoProgramOptions(ProgramOptions options) {
  if (!options.autopilot) options.autopilot = AutopilotSettings{};
  return options;
}

DemoCast::DemoCast(HostProgram& program, const DemoOptions& options, std::uint64_t random_seed)
    : program_(program), options_(options), people_random_(random_seed ^ 0x5DEECE66DULL) {
  const std::string p1 = LowerCase(options_.player1);
  const std::string p2 = LowerCase(options_.player2);
  cues_.pick1 = "-=|[" + p1 + " enter your zorvik first]|=-";
  cues_.pick2 = "-=|[" + p2 + " type in a valid zorvik name]|=-";
  cues_.turn1 = "-=|[" + p1 + " choose your attack]|=-";
  cues_.turn2 = "-=|[" + p2 + " choose your attack]|=-";
  cues_.won1 = "-=|[" + p1 + " defeated " + p2 + "]|=-";
  cues_.won2 = "-=|[" + p2 + " defeated " + p1 + "]|=-";
  program.client().Subscribe(
      [this](const std::string& name, const std::string& text) { OnLine(name, text); });
  // The operator opens the console as soon as the splash is there.
  program.splash().AddVisibilityObserver([this](bool shown) {
    if (shown) Later(1.0, [this] { program_.splash().Click(); });
  });
  // Once it is open, player 1 asks for a match; the autopilot does the
  // rest of the operator's work.
  program.console().AddChangeObserver([this, opened = false]() mutable {
    if (opened || !program_.console().shown()) return;
    opened = true;
    Later(1.5, [this] {
      program_.client().Say(options_.player1, program_.autopilot()->settings().start_word);
    });
  });
}

void DemoCast::SetFinishAction(std::function<void(const std::string& winner)> action) {
  finish_action_ = std::move(action);
}

void DemoCast::Later(double seconds, std::function<void()> action) {
  program_.loop().ScheduleAfter(SecondsToMicros(seconds), std::move(action));
}

double DemoCast::HumanDelay(double least, double spread) {
  return least + spread * people_random_.NextRandom();
}

void DemoCast::OnLine(const std::string& name, const std::string& text) {
  if (name != program_.client().operator_screen_name()) return;
  EmbeddedClient& room = program_.client();

  if (text == "-=|[type: -join]=-") {
    Later(HumanDelay(1.0, 1.0), [this, &room] { room.Say(options_.player1, "-join"); });
    Later(HumanDelay(2.5, 1.5), [this, &room] { room.Say(options_.player2, "-join"); });
  } else if (text == cues_.pick1) {
    Later(HumanDelay(2.0, 2.0),
          [this, &room] { room.Say(options_.player1, "i pick /" + options_.creature1); });
  } else if (text == cues_.pick2) {
    Later(HumanDelay(2.0, 2.0),
          [this, &room] { room.Say(options_.player2, "/" + options_.creature2); });
  } else if (text == cues_.turn1) {
    Attack(1);
  } else if (text == cues_.turn2) {
    Attack(2);
  } else if ((text == cues_.won1 || text == cues_.won2) && finish_action_) {
    finish_action_(text == cues_.won1 ? options_.player1 : options_.player2);
  }
}

void DemoCast::Attack(int player) {
  const std::string& name = player == 1 ? options_.player1 : options_.player2;
  std::vector<std::string> moves;
  AddMoveSet(LowerCase(player == 1 ? options_.creature1 : options_.creature2), moves);
  EmbeddedClient& room = program_.client();
  bool& asked = asked_moves_[player - 1];
  if (!asked) {
    // Everyone asks for their moves once.
    asked = true;
    Later(HumanDelay(1.0, 1.0), [&room, name] { room.Say(name, "+moves"); });
    Later(HumanDelay(4.0, 1.5), [this, &room, name, moves] {
      room.Say(name, "/" + moves[static_cast<std::size_t>(HumanDelay(0, 4))]);
    });
    return;
  }
  Later(HumanDelay(0.8, 1.2), [this, &room, name, moves] {
    room.Say(name, "/" + moves[static_cast<std::size_t>(HumanDelay(0, 4))]);
  });
}

}  // namespace zorvik
