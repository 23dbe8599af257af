#pragma once

#include "game/Difficulty.h"
#include "game/Replay.h"

#include <filesystem>
#include <optional>

/// The replay of the match being played, kept step by step and written once the match is
/// decided: every match as "last.qexreplay", a win that sets a new best time also as
/// "best.qexreplay", both in the replay folder. A folder that cannot be written gets one
/// warning line per file and the game plays on.
class MatchRecording {
public:
    /// About 20 minutes of play changing the controls every half second; a longer match
    /// only allocates now and then.
    static constexpr std::size_t kRunsReserved = 2400;

    /// No folder: nothing is ever written.
    MatchRecording() = default;
    explicit MatchRecording(std::optional<std::filesystem::path> folder);

    /// A new match with this seed and difficulty; whatever was recorded goes.
    void start(std::uint32_t seed, Difficulty difficulty);
    void record(const ControlFrame& controls) { replay.record(controls); }
    /// Writes the match once it is decided; later calls in the same match do nothing.
    void keep(bool newBestWin);

    const Replay& current() const { return replay; }

private:
    void write(const char* name) const;

    std::optional<std::filesystem::path> folder;
    Replay replay;
    bool kept = false;
};

/// Where replays live: "$XDG_DATA_HOME/qex/replays", or "$HOME/.local/share/qex/replays"
/// when XDG_DATA_HOME is unset, empty or relative; nowhere without either.
std::optional<std::filesystem::path> replayFolder(const char* xdgDataHome, const char* home);
