// What the consoles tell an operator about the buttons in words: why a
// button cannot be pressed now (which step must come first), and what to
// press next once a match has its winner. Read from the console's state
// alone; nothing here changes the game.
#pragma once

#include <string>

#include "match/host_console.h"

namespace zorvik {

// Why a press of `button` does nothing now, as a sentence without a final
// stop ("\"setup\" waits for two players: press get players and let two
// people type -join"); empty when the button is usable.
std::string WhyNotUsable(const HostConsole& console, ConsoleButton button);

// Whether the battle has its winner and the console waits for "stop".
bool MatchOver(const HostConsole& console);

// Whether a battle is being fought: "start" was pressed and a turn is open.
bool BattleRunning(const HostConsole& console);

// What the operator should press next, when there is one thing to say
// (after a winner); empty otherwise.
std::string NextStep(const HostConsole& console);

}  // namespace zorvik
