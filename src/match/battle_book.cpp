#include "match/battle_book.h"

#include <algorithm>
#include <cmath>

namespace zorvik {

std::string CheerLine(int k, std::string_view creature, std::string_view move) {
  std::string line;
  const auto add = [&line](std::string_view piece) { line.append(piece); };
  switch (k) {
    case 1:
      add(creature), add(", "), add(move), add("!");
      break;
    case 2:
      add(creature), add(", hit him with your "), add(move), add(" attack!");
      break;
    case 3:
      add("let's finish this! "), add(move), add("!");
      break;
    case 4:
      add("you can do it "), add(creature), add(", "), add(move), add("!");
      break;
    default:
      add("hang in there "), add(creature), add(" try "), add(move), add(" attack!");
      break;
  }
  return line;
}

namespace {

// floor(r * faces + 1) for 0 <= r < 1. The product can round up to `faces`
// itself for r just below 1, so the result is held to its true range.
int Face(double r, int faces) {
  const int face = static_cast<int>(std::floor(r * faces + 1));
  return std::clamp(face, 1, faces);
}

}  // namespace

void SendCheer(ChatClient& client, RandomSource& random, std::string_view creature,
               std::string_view move) {
  const int k = CheerRow(random.NextRandom());
  client.ChatSend(CheerLine(k, creature, move));
}

int CheerRow(double r) {
  return Face(r, 5);
}

int RollDie(double r) {
  return Face(r, 40);
}

int RollDamage(RandomSource& random) {
  const int first = RollDie(random.NextRandom());
  const int second = RollDie(random.NextRandom());
  return first + second;
}

}  // namespace zorvik
