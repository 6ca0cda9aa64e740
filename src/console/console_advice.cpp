#include "console/console_advice.h"

namespace zorvik {

namespace {

bool BothSeated(const MatchTable& t) {
  return t.seat2Caption != kSeat2Free;
}

bool BothPicked(const MatchTable& t) {
  return !t.player1Creature.empty() && !t.player2Creature.empty();
}

}  // namespace

bool MatchOver(const HostConsole& console) {
  // The end of a battle leaves "stop" alone enabled of the match buttons.
  return console.Enabled(ConsoleButton::kStop) && !console.Enabled(ConsoleButton::kSetup) &&
         !console.Enabled(ConsoleButton::kStart) && !console.Enabled(ConsoleButton::kGetPlayers);
}

bool BattleRunning(const HostConsole& console) {
  return console.Listening(4) || console.Listening(5);
}

std::string NextStep(const HostConsole& console) {
  if (!console.shown() || console.ended() || !MatchOver(console)) return {};
  return "the match is over: press stop, then get players for the next one";
}

std::string WhyNotUsable(const HostConsole& console, ConsoleButton button) {
  if (console.Usable(button)) return {};
  const std::string name = "\"" + std::string(ButtonCaption(button)) + "\"";
  if (console.ended()) return name + " cannot be pressed: the host has exited";
  if (!console.shown()) {
    return name + " cannot be pressed yet: the console opens when the splash window is clicked";
  }
  if (MatchOver(console)) {
    return name + " cannot be pressed after a winner: press stop first";
  }
  switch (button) {
    case ConsoleButton::kGetPlayers:
      return name + " cannot be pressed while two players are seated: press stop first";
    case ConsoleButton::kSetup:
      if (BothSeated(console.table())) return name + " opens once the host has announced both players";
      return name + " waits for two players: press get players and let two people type -join";
    case ConsoleButton::kStart:
      if (!BothSeated(console.table())) {
        return name + " waits for two players and their picks: press get players first";
      }
      if (!BothPicked(console.table())) {
        return name + " waits for both picks: press setup and let both players pick";
      }
      return name + " waits for the picks to be announced";
    case ConsoleButton::kStop:
      if (BothSeated(console.table())) return name + " opens once the host has announced both players";
      return name + " has nothing to stop: a match begins when two players have joined";
    case ConsoleButton::kExit:
    case ConsoleButton::kInfo:
      break;
  }
  return name + " cannot be pressed now";
}

}  // namespace zorvik
