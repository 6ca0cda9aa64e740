// The program's one random source. Every run starts from the same state
// (never the clock), so the same chat input gives the same cheers and the
// same damage in every run; --seed picks another start state.
#pragma once

#include <cstdint>

namespace zorvik {

class RandomSource {
 public:
  explicit RandomSource(std::uint64_t seed = 0) : state_(seed) {}
  RandomSource(const RandomSource&) = delete;
  RandomSource& operator=(const RandomSource&) = delete;

  // A uniform number r with 0 <= r < 1 (SplitMix64, top 53 bits).
  double NextRandom();

 private:
  std::uint64_t state_;
};

}  // namespace zorvik
