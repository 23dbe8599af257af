#pragma once

#include "game/Difficulty.h"

#include <array>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>

class INIReader;

/// The best winning time of each difficulty, in seconds, Easy first; none before a win.
using BestWinTimes = std::array<std::optional<float>, std::size(kDifficultyTable)>;

/// The best winning time at `difficulty`, if any.
inline std::optional<float> bestOf(const BestWinTimes& bests, Difficulty difficulty) {
    return bests[static_cast<std::size_t>(difficulty)];
}

/// The player's best (shortest) winning time at each difficulty, kept between sessions
/// in a small INI file:
///
///     [records]
///     best_win_seconds_easy = 61.500
///     best_win_seconds = 83.250
///     best_win_seconds_hard = 140.000
///
/// Normal keeps the key of the files written before there were difficulties, so such a
/// file reads as Normal. Only positive, finite times are trusted: a file that says
/// anything else is set aside as "<file>.damaged" (then ".damaged.2", ".damaged.3", ...:
/// an older one is never overwritten) with a warning line. A missing file gets a line too.
///
/// Several games may share the file. Each new best is decided under a lock on
/// "<file>.lock" (waited for two seconds at most): the file is read again, its times count as bests too, and only a time
/// that beats them is written. The file is replaced whole (see replaceWholeFile), and no
/// failure stops the game: the first gives one warning line, and the bests are then kept
/// for the session only.
class Records {
public:
    /// No file, silently: the bests live for the session only.
    Records() = default;
    /// Reads `file`; without one (see recordsFile()) says that the bests are kept for the
    /// session only.
    explicit Records(std::optional<std::filesystem::path> file);

    std::optional<float> bestWinSeconds(Difficulty difficulty) const { return bestOf(best, difficulty); }
    /// A won match of `seconds` at `difficulty`. True when it beats the best so far, here
    /// or on file, or is the first win there; it then becomes the best and is written at once.
    bool offerWin(Difficulty difficulty, float seconds);
    /// Every difficulty's best.
    const BestWinTimes& bestTimes() const { return best; }

private:
    using Bests = BestWinTimes;

    bool readFile();
    static std::optional<std::string> damageIn(const INIReader& reader, Bests& found);
    void giveUpReading();
    void setAside(const std::string& why);
    void save();

    std::optional<std::filesystem::path> file;
    Bests best;  ///< seconds, by Difficulty
    bool warnedAboutWriting = false;
};

/// Where the records live: "$XDG_DATA_HOME/qex/records.ini", or
/// "$HOME/.local/share/qex/records.ini" when XDG_DATA_HOME is unset, empty or relative;
/// nowhere without either. Takes the variables' values (null when unset) so that tests
/// can call it.
std::optional<std::filesystem::path> recordsFile(const char* xdgDataHome, const char* home);
