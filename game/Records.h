#pragma once

#include <array>
#include <filesystem>
#include <optional>

/// The best winning time of each difficulty, in seconds, Easy first; none before a win.
using BestWinTimes = std::array<std::optional<float>, 3>;

/// The player's best (shortest) winning time, kept between sessions in a small INI file:
///
///     [records]
///     best_win_seconds = 83.250
///
/// Reading happens once, at construction, and trusts only a positive, finite time: a file
/// that says anything else is set aside as "<file>.damaged" with a warning line. A missing
/// file gets a line too. Writing happens once per new best, replaces the file whole (a
/// temporary file renamed over it) and never stops the game: the first failure gives one
/// warning line, and the best is then kept for the session only.
class Records {
public:
    /// No file, silently: the best lives for the session only.
    Records() = default;
    /// Reads `file`; without one (see recordsFile()) says that the best is kept for the
    /// session only.
    explicit Records(std::optional<std::filesystem::path> file);

    std::optional<float> bestWinSeconds() const { return best; }
    /// Every difficulty's best; this file keeps Normal's only.
    BestWinTimes bestTimes() const { return {std::nullopt, best, std::nullopt}; }
    /// A won match of `seconds`. True when it beats the best so far, or is the first win;
    /// it then becomes the best and is written at once.
    bool offerWin(float seconds);

private:
    void load();
    void giveUpReading();
    void setAside(const std::string& why);
    void save();

    std::optional<std::filesystem::path> file;
    std::optional<float> best;  ///< seconds
    bool warnedAboutWriting = false;
};

/// Where the records live: "$XDG_DATA_HOME/qex/records.ini", or
/// "$HOME/.local/share/qex/records.ini" when XDG_DATA_HOME is unset, empty or relative;
/// nowhere without either. Takes the variables' values (null when unset) so that tests
/// can call it.
std::optional<std::filesystem::path> recordsFile(const char* xdgDataHome, const char* home);
