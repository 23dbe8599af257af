#include "tools/content/Random.h"

Random::Random(std::uint64_t seed) : state(seed ? seed : 0x9E3779B97F4A7C15ull) {}

std::uint64_t Random::next() {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return state * 0x2545F4914F6CDD1Dull;
}

float Random::uniform() {
    return static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24);
}

int Random::below(int count) { return static_cast<int>(next() % static_cast<std::uint64_t>(count)); }
