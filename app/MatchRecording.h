#pragma once

#include "app/DiskThread.h"
#include "game/Difficulty.h"
#include "game/Records.h"
#include "game/Replay.h"

#include <filesystem>
#include <memory>
#include <optional>

/// What keeping a decided match gave, once it is on disk.
struct KeptMatch {
    bool newBest = false;  ///< its win set the best time of its difficulty
    BestWinTimes bests;    ///< every difficulty's best, as the records stand after it
};

/// The replay of the match being played, kept step by step, and what a decided match
/// leaves on disk: a win's time offered to the records, then the replay written as
/// "last.qexreplay" and, for a win that sets a new best, also as "best.qexreplay", both in
/// the replay folder. The disk work runs on a thread of its own, so the frame that decides
/// a match never waits on it. A folder that cannot be written gets one warning line per
/// file and the game plays on.
class MatchRecording {
public:
    /// About 20 minutes of play changing the controls every half second; a longer match
    /// only allocates now and then.
    static constexpr std::size_t kRunsReserved = 2400;

    /// Nothing is ever written or offered.
    MatchRecording();
    MatchRecording(std::optional<std::filesystem::path> folder, Records records);
    /// Waits for a match being kept.
    ~MatchRecording();
    MatchRecording(MatchRecording&&) noexcept;
    MatchRecording& operator=(MatchRecording&&) noexcept;

    /// A new match with this seed and difficulty; whatever was recorded goes.
    void start(std::uint32_t seed, Difficulty difficulty);
    void record(const ControlFrame& controls) { replay.record(controls); }
    /// The match is decided: its replay is handed to the disk thread, with its time when
    /// `won`. Later calls in the same match do nothing.
    void keep(bool won, float seconds);
    /// What the last kept match gave, once, when it is on disk; nothing before.
    std::optional<KeptMatch> takeKept();
    /// Every difficulty's best; waits for a match being kept.
    BestWinTimes bestTimes();

    const Replay& current() const { return replay; }

private:
    struct Archive;

    Replay replay;
    bool kept = false;
    bool keptToTake = false;
    std::unique_ptr<Archive> archive;  ///< null: nothing is kept
};

/// Where replays live: "$XDG_DATA_HOME/qex/replays", or "$HOME/.local/share/qex/replays"
/// when XDG_DATA_HOME is unset, empty or relative; nowhere without either.
std::optional<std::filesystem::path> replayFolder(const char* xdgDataHome, const char* home);
