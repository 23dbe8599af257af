#include "hud/HudText.h"

#include "game/MatchEvents.h"

#include <utility>

HudText::HudText(Shader* textShader, Records matchRecords)
    : batch(textShader), records(std::move(matchRecords)) {}

void HudText::recordFrame(const MatchEvents& events, float frameSeconds, bool paused) {
    const MatchOutcome before = matchStats.outcome();
    matchStats.recordFrame(events, frameSeconds, paused);
    if (before == MatchOutcome::Undecided && matchStats.outcome() == MatchOutcome::Won)
        newBest = records.offerWin(difficulty, matchStats.seconds());
}

void HudText::startNewMatch(Difficulty level) {
    difficulty = level;
    matchStats.reset();
    newBest = false;
}

void HudText::draw(const Game& game, bool barsShown, bool paused, float windowWidth,
                   float windowHeight, const glm::mat4& projection) {
    if (windowWidth <= 0.0f || windowHeight <= 0.0f) return;  // minimised
    HudReadout readout = readMatch(game, matchStats);
    readout.barsShown = barsShown;
    readout.paused = paused;
    readout.bestSeconds = records.bestWinSeconds(difficulty);
    readout.newBest = newBest;
    layOutHudText(readout, windowWidth, windowHeight, quads);
    batch.draw(quads, projection);
}
