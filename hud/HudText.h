#pragma once

#include "hud/HudLabels.h"
#include "game/MatchStats.h"
#include "game/Records.h"
#include "render/GlyphQuads.h"
#include "render/TextBatch.h"

#include <glm/glm.hpp>

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
    /// Lays the text out for the window's size and draws it in one call. Blending is the
    /// caller's, as for the HUD's bars.
    void draw(const Game& game, const Overlay& overlay, float windowWidth, float windowHeight,
              const glm::mat4& projection);

    const MatchStats& stats() const { return matchStats; }
    const BestWinTimes& bestTimes() const { return bests; }
    /// Marks what is shown as a replay, not a match being played.
    void showAsReplay(bool replay) { replaying = replay; }

private:
    TextBatch batch;
    GlyphQuads quads;
    MatchStats matchStats;
    BestWinTimes bests;
    bool newBest = false;  ///< this match set the best time
    bool replaying = false;
    Difficulty difficulty = Difficulty::Normal;  ///< of the match under way
};
