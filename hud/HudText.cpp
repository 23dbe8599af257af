#include "hud/HudText.h"

#include "hud/FrameCapNote.h"
#include "hud/MenuView.h"

#include "game/MatchEvents.h"

#include <algorithm>
#include <limits>

HudText::HudText(Shader* textShader, const BestWinTimes& bestTimes)
    : batch(textShader), bests(bestTimes) {
    lastVertices.reserve(GlyphQuads::kCapacity * GlyphQuads::kVerticesPerQuad);
}

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

void HudText::layOut(const Game& game, const Overlay& overlay, float windowWidth,
                     float windowHeight) {
    lastVertices.assign(quads.vertices().begin(), quads.vertices().end());
    layOutFor(game, overlay, windowWidth, windowHeight);
    const bool unchanged = quads.vertices() == lastVertices;
    if (!unchanged)
        unchangedLayOuts = 0;
    else if (unchangedLayOuts < std::numeric_limits<int>::max())
        ++unchangedLayOuts;
}

void HudText::drawLaidOut(const glm::mat4& projection) const { batch.draw(quads, projection); }

PixelRect HudText::laidOutBox() const {
    if (quads.quadCount() == 0) return {};
    const PixelRect first = quads.quadRect(0);
    float left = first.left;
    float top = first.top;
    float right = first.right();
    float bottom = first.bottom();
    for (std::size_t i = 1; i < quads.quadCount(); ++i) {
        const PixelRect rect = quads.quadRect(i);
        left = std::min(left, rect.left);
        top = std::min(top, rect.top);
        right = std::max(right, rect.right());
        bottom = std::max(bottom, rect.bottom());
    }
    return {left, top, right - left, bottom - top};
}

float HudText::laidOutArea() const {
    float area = 0.0f;
    for (std::size_t i = 0; i < quads.quadCount(); ++i) {
        const PixelRect rect = quads.quadRect(i);
        area += rect.width * rect.height;
    }
    return area;
}

void HudText::layOutFor(const Game& game, const Overlay& overlay, float windowWidth,
                        float windowHeight) {
    if (windowWidth <= 0.0f || windowHeight <= 0.0f) {  // minimised
        quads.clear();
        return;
    }
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
}
