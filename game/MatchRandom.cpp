#include "game/MatchRandom.h"

void MatchRandom::reseed(std::uint32_t seed) {
    startSeed = seed;
    state = seed;
}

// A linear congruential step whose upper bits are well mixed; the low bits of such a
// generator repeat quickly, so the draw takes 15 bits from the top half.
int MatchRandom::next() {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) & static_cast<std::uint32_t>(kMax));
}
