#pragma once

#include <cstdint>

/// A small deterministic random generator (xorshift64*): the same seed gives the same
/// sequence on every machine, so the generated content is the same bytes on every build.
/// The standard library's distributions are implementation-defined and are not used.
class Random {
public:
    explicit Random(std::uint64_t seed);

    std::uint64_t next();
    /// Uniform in [0, 1).
    float uniform();
    /// Uniform integer in [0, count).
    int below(int count);

private:
    std::uint64_t state;
};
