#pragma once

#include <cstdint>

/// The match's one source of chance: the boss's choices and its aim. Seeded once per
/// match and kept in the replay, so a match played again with the same seed and controls
/// takes the same turns. Draws are 15-bit, 0 to kMax, the range the boss's formulas divide.
class MatchRandom {
public:
    static constexpr int kMax = 32767;

    explicit MatchRandom(std::uint32_t seed = 1u) { reseed(seed); }
    void reseed(std::uint32_t seed);
    std::uint32_t seed() const { return startSeed; }
    /// The next draw, 0 to kMax.
    int next();

private:
    std::uint32_t startSeed = 1u;
    std::uint32_t state = 1u;
};
