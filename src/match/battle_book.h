// The battle book: the cheer the host shouts for every attack and the
// damage roll that decides its strength (the move sets live beside the
// roster, in gamedata/move_sets.h).
#pragma once

#include <string>
#include <string_view>

#include "bridge/chat_client.h"
#include "match/random_source.h"

namespace zorvik {

// The cheer of row `k` (1 to 5) for `creature` and `move`, used exactly as
// passed: no change of case, no trimming.
std::string CheerLine(int k, std::string_view creature, std::string_view move);

// Draws one number from `random`, picks k = floor(r * 5 + 1) and sends that
// cheer with ChatSend. Exactly one line per call. Dispatches (re-enters)
// while ChatSend waits.
void SendCheer(ChatClient& client, RandomSource& random, std::string_view creature,
               std::string_view move);

// The cheer row of one draw: floor(r * 5 + 1), 1 to 5.
int CheerRow(double r);

// One die of 40 faces from one draw: floor(r * 40 + 1), 1 to 40.
int RollDie(double r);

// Two dice of 40 faces, drawn in order: a whole number from 2 to 80.
int RollDamage(RandomSource& random);

}  // namespace zorvik
