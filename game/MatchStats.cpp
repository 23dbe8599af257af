#include "game/MatchStats.h"

#include "game/MatchEvents.h"

#include <algorithm>

// Once decided, the match is over for the record: a shot still in flight that strikes
// the wreck counts for nothing.
void MatchStats::recordFrame(const MatchEvents& events, float matchSeconds) {
    if (result != MatchOutcome::Undecided) return;
    clock = matchSeconds;
    shots += events.count(MatchEvent::PrimaryShot) + events.count(MatchEvent::HeavyShot);
    bossHits += events.count(MatchEvent::BossHit);
    // The game looks at the player first, so a frame never notes both.
    if (events.happened(MatchEvent::PlayerDestroyed))
        result = MatchOutcome::Lost;
    else if (events.happened(MatchEvent::BossDestroyed))
        result = MatchOutcome::Won;
}

std::optional<int> MatchStats::accuracyPercent() const {
    if (shots == 0) return std::nullopt;
    return std::min(100, (bossHits * 100 + shots / 2) / shots);
}
