// A demo match: two simulated players in the embedded room, reacting to it
// the way people do (ask for a match, join when asked, pick when asked,
// attack when prompted, after a human-like delay), against the real host at
// the game's real pace, with the autopilot at the console: the service as a
// community sees it.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "console/console_front_end.h"
#include "app/host_program.h"
#include "bridge/loop/event_loop.h"
#include "match/random_source.h"

namespace zorvik {

struct DemoOptions {
  std::string player1 = "Dana";
  std::string player2 = "Lou";
  std::string creature1 = "pikachu";
  std::string creature2 = "bulbasaur";
  // How many times faster than the game's real pace the match is played
  // (1 to 100): every wait is that many times shorter, the lines the same.
  int speed = 1;
};

inline constexpr int kFastestDemo = 100;

// `options` with the autopilot a demo needs.
ProgramOptions DemoProgramOptions(ProgramOptions options);

// The players and the operator of a demo. They watch the room through the
// program's client and act through tasks on its loop, so they work on real
// and virtual time alike. Must outlive the loop's run.
class DemoCast {
 public:
  // `random_seed` drives the cast's own delays and move choices; it is not
  // the host's random source. `program` must run an autopilot
  // (DemoProgramOptions).
  DemoCast(HostProgram& program, const DemoOptions& options, std::uint64_t random_seed);
  DemoCast(const DemoCast&) = delete;
  DemoCast& operator=(const DemoCast&) = delete;

  // Called once when the battle has been won, with the winner's screen
  // name as the options give it ("Lou").
  void SetFinishAction(std::function<void(const std::string& winner)> action);

 private:
  void OnLine(const std::string& name, const std::string& text);
  void Later(double seconds, std::function<void()> action);
  double HumanDelay(double least, double spread);
  void Attack(int player);

  HostProgram& program_;
  DemoOptions options_;
  // The host's lines the cast acts on, made once.
  struct Cues {
    std::string pick1, pick2, turn1, turn2, won1, won2;
  } cues_;
  // The cast's own stream: people are not the host's dice.
  RandomSource people_random_;
  bool asked_moves_[2] = {false, false};
  std::function<void(const std::string&)> finish_action_;
};

// Plays one demo match in real time (sped up by `demo.speed`), printing the
// room and the console to `out`. Ends after the winner line. Returns the
// exit status.
// On a full screen the operator's commands are read from standard input.
int RunDemo(const ProgramOptions& options, const DemoOptions& demo, std::ostream& out,
            ConsoleDisplay display = ConsoleDisplay::kLines);

// Checks the demo's choices: both names given and different (ignoring
// case), both creatures on the roster. Returns the problem, or empty.
std::string CheckDemoOptions(const DemoOptions& demo);

}  // namespace zorvik
