#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class Game;
struct ShellToggles;

/// One row of the scripted match: a stretch of play whose frames are measured together.
/// Rows that share a phase name add up to one set of figures (both restarts, say).
struct ScriptRow {
    const char* phase;     ///< the figures' key: "fight", "end_loss", ...
    float seconds;         ///< how long the row lasts
    void (*begin)(Game& game, ShellToggles& toggles);  ///< what opens it; may be null
    bool keepBothAlive;    ///< heals either side that runs low, so the match goes on
};

/// The benchmark's match, in order: the title, the countdown, a fight, the player's wreck
/// falling and the lose screen with its smoke, a restart (with its countdown), the boss's
/// wreck falling and the win screen, and a restart again. A new phase of the game is one
/// more row.
class MatchScript {
public:
    static constexpr std::size_t kRows = 9;
    static constexpr std::size_t kMostPhases = 16;  ///< labels a PassTimer can keep apart
    static const std::array<ScriptRow, kRows>& rows();

    /// Length of the whole script, seconds.
    static float totalSeconds();
    /// Seconds from the script's start to the end of the first row of `phase`.
    static float endOf(const char* phase);
    /// The phase's label: the index of its name's first row.
    static std::uint8_t labelOf(const char* phase);

    /// Called before every loop pass with seconds since the start: opens each row when its
    /// time comes. Returns the row in force.
    const ScriptRow& follow(Game& game, ShellToggles& toggles, float seconds);
    std::uint8_t label() const { return currentLabel; }

private:
    std::size_t next = 0;         ///< the next row to open
    std::uint8_t currentLabel = 0;
};
