#include "hud/HudText.h"

#include "hud/FrameCapNote.h"
#include "hud/MenuView.h"

#include "game/MatchEvents.h"

HudText::HudText(Shader* textShader, const BestWinTimes& bestTimes)
    : batch(textShader), bests(bestTimes) {}

void HudText::recordFrame(const MatchEvents& events, float matchSeconds) {
    matchStats.recordFrame(events, matchSeconds);
}

void HudText::showRecords(const BestWinTimes& bestTimes, bool setNewBest) {
    bests = bestTimes;
    newBest = setNewBest && !replaying && matchStats.outcome() == MatchOutcome::Won;
}

void HudText::startNewMatch(Difficulty level) {
    difficulty = level;
    matchStats.reset();
    newBest = false;
}

void HudText::draw(const Game& game, const Overlay& overlay, float windowWidth,
                   float windowHeight, const glm::mat4& projection) {
    if (windowWidth <= 0.0f || windowHeight <= 0.0f) return;  // minimised
    HudReadout readout = readMatch(game, matchStats);
    readout.barsShown = overlay.barsShown;
    readout.paused = overlay.paused;
    readout.resultsShown = overlay.resultsShown;
    readout.bestSeconds = bestOf(bests, difficulty);
    readout.newBest = newBest;
    readout.replay = replaying;
    layOutHudText(readout, windowWidth, windowHeight, quads);
    if (overlay.menu) layOutMenu(*overlay.menu, windowWidth, windowHeight, quads);
    if (overlay.countdownDigit > 0)
        layOutCountdown(overlay.countdownDigit, windowWidth, windowHeight, quads);
    if (overlay.note) overlay.note->layOut(windowWidth, windowHeight, quads);
    batch.draw(quads, projection);
}
