#pragma once

#include <optional>

class MatchEvents;

enum class MatchOutcome { Undecided, Won, Lost };

/// What the player did in the current match: how long it has run, the shots fired and
/// the shots that reached the boss. Fed once per drawn frame from the game's events, while
/// they are still there to read, and the match's time. A shot the shield stops is not a hit; a shot the shield
/// lets through and the boss takes is.
class MatchStats {
public:
    /// Counts the frame's shots and hits, and takes `matchSeconds` (the match's own clock,
    /// which a pause stops) as the time of play. A destroyed craft or boss decides the
    /// match; after that nothing counts.
    void recordFrame(const MatchEvents& events, float matchSeconds);
    /// A new match: nothing counted, the clock at zero.
    void reset() { *this = MatchStats(); }

    float seconds() const { return clock; }
    int shotsFired() const { return shots; }
    int hits() const { return bossHits; }
    /// Hits per shot fired, as a whole percentage; none before the first shot.
    std::optional<int> accuracyPercent() const;
    MatchOutcome outcome() const { return result; }

private:
    float clock = 0.0f;  ///< seconds of play
    int shots = 0;
    int bossHits = 0;
    MatchOutcome result = MatchOutcome::Undecided;
};
