#pragma once

#include "hud/HudLabels.h"
#include "game/MatchStats.h"
#include "game/Records.h"
#include "render/GlyphQuads.h"
#include "render/TextBatch.h"

#include <glm/glm.hpp>

#include <vector>

class Game;
class FrameCapNote;
struct MenuView;
class MatchEvents;
class Shader;

/// The HUD's words and numbers and the match record behind them: the bars' labels, the
/// clock, the pause label and the results, with the statistics that feed them and the
/// best times. The scene keeps one; it needs a current GL context to construct.
class HudText {
public:
    HudText(Shader* textShader, const BestWinTimes& bests);

    /// Once per drawn frame, after the game's update and before its events are cleared.
    void recordFrame(const MatchEvents& events, float matchSeconds);
    /// The records as a kept match left them. Its new best shows while a won match's
    /// results do: one kept after a restart changes only the times.
    void showRecords(const BestWinTimes& bests, bool newBest);
    /// Nothing counted, the clock at zero, no new best; a win counts at `level`.
    void startNewMatch(Difficulty level);
    /// What the shell shows over the match this frame.
    struct Overlay {
        bool barsShown = true;   ///< the bars' labels and the clock
        bool paused = false;     ///< the free camera's pause label
        bool resultsShown = false;
        const MenuView* menu = nullptr;
        int countdownDigit = 0;  ///< 0: no countdown
        const FrameCapNote* note = nullptr;  ///< a typed frame cap, while it shows
    };
    /// Lays the text out for the window's size, to be drawn by drawLaidOut.
    void layOut(const Game& game, const Overlay& overlay, float windowWidth, float windowHeight);
    /// Draws what layOut laid out last, in one call. Blending is the caller's, as for the
    /// HUD's bars.
    void drawLaidOut(const glm::mat4& projection) const;
    /// For how many layOut calls in a row the text has come out as the call before laid it
    /// out; 0 when the last call changed it.
    int framesUnchanged() const { return unchangedLayOuts; }
    /// The smallest box that holds everything laid out last, in window pixels (y down).
    PixelRect laidOutBox() const;
    /// Square pixels covered by the quads laid out last, counted once for each quad.
    float laidOutArea() const;

    const MatchStats& stats() const { return matchStats; }
    const BestWinTimes& bestTimes() const { return bests; }
    /// Marks what is shown as a replay, not a match being played.
    void showAsReplay(bool replay) { replaying = replay; }

private:
    void layOutFor(const Game& game, const Overlay& overlay, float windowWidth,
                   float windowHeight);

    TextBatch batch;
    GlyphQuads quads;
    std::vector<GlyphVertex> lastVertices;  ///< what the layOut before the last laid out
    int unchangedLayOuts = 0;
    MatchStats matchStats;
    BestWinTimes bests;
    bool newBest = false;  ///< this match set the best time
    bool replaying = false;
    Difficulty difficulty = Difficulty::Normal;  ///< of the match under way
};
