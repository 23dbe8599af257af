#pragma once

#include "game/ControlFrame.h"
#include "game/Difficulty.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// A recorded match: its seed, its difficulty and the controls of every step, which is
/// all it takes to play it again step for step. Controls are kept as runs of identical
/// steps, so that recording a long match stays small and allocates only when they change.
///
/// On disk (all numbers little-endian):
///
///     "QEXRPLAY"  format version (u32)  game version (u16 length, then its bytes)
///     seed (u32)  difficulty (u8: 0 easy, 1 normal, 2 hard)  run count (u32)
///     run count x { steps (u32), keys (u16), pad right, forward, up (3 x f32) }
///     checksum (u32, FNV-1a of every byte before it)
class Replay {
public:
    static constexpr std::uint32_t kFormatVersion = 1;

    struct Run {
        std::uint32_t steps = 0;
        ControlFrame controls;
    };

    Replay() = default;
    Replay(std::uint32_t seed, Difficulty difficulty);

    /// Empty again, for a match with this seed and difficulty; the room for runs stays.
    void restart(std::uint32_t seed, Difficulty difficulty);
    /// Room for `runs` changes of the controls before recording allocates again.
    void reserve(std::size_t runs) { runs_.reserve(runs); }
    /// The next step's controls.
    void record(const ControlFrame& controls) { record(controls, 1); }
    /// The next `steps` steps' controls, all the same.
    void record(const ControlFrame& controls, std::uint32_t steps);
    /// The controls of step `index` (from 0); nothing past the last step recorded.
    /// Reading steps in order is cheap: the last run found is remembered.
    std::optional<ControlFrame> controlsOf(std::uint32_t index) const;

    std::uint32_t seed() const { return seed_; }
    Difficulty difficulty() const { return difficulty_; }
    std::uint32_t stepCount() const { return steps_; }
    const std::vector<Run>& runs() const { return runs_; }

private:
    std::uint32_t seed_ = 0;
    Difficulty difficulty_ = Difficulty::Normal;
    std::vector<Run> runs_;
    std::uint32_t steps_ = 0;
    mutable std::size_t lookupRun = 0;    ///< the run controlsOf() found last
    mutable std::uint32_t lookupStart = 0;  ///< the first step of that run
};

/// The bytes of `replay`'s file, stamped with `gameVersion`.
std::vector<std::uint8_t> encodeReplay(const Replay& replay, std::string_view gameVersion);

/// What reading a replay gave: the replay, or why there is none.
struct ReplayReading {
    std::optional<Replay> replay;
    std::string problem;  ///< empty when `replay` is set
};

/// Reads a replay's bytes; refuses another format or game version, a wrong magic word, a
/// cut or damaged file. Never reads beyond `bytes`; takes bytes so that tests and the
/// fuzzer can call it.
ReplayReading parseReplay(const std::vector<std::uint8_t>& bytes, std::string_view gameVersion);

/// Reads and parses `file`.
ReplayReading loadReplay(const std::filesystem::path& file, std::string_view gameVersion);
