#pragma once

#include "game/Difficulty.h"

#include "game/MatchStats.h"

#include <optional>

class Game;
class GlyphQuads;

/// What the HUD's words and numbers say in one frame.
struct HudReadout {
    int hull = 0;  ///< the player's health
    int hullMax = 0;
    int rounds = 0;
    int roundsMax = 0;
    bool reloading = false;
    int boss = 0;  ///< the boss's health
    int bossMax = 0;
    bool shieldUp = false;
    bool barsShown = true;  ///< F2 hides the bars, and their frames, labels and the clock with them
    bool paused = false;    ///< the free camera is on
    bool replay = false;    ///< a replay plays, not the player
    float matchSeconds = 0.0f;
    MatchOutcome outcome = MatchOutcome::Undecided;
    int shots = 0;
    int hits = 0;
    std::optional<int> accuracyPercent;
    std::optional<float> bestSeconds;  ///< the best winning time, this match's included
    bool newBest = false;              ///< this match set it
    bool resultsShown = true;          ///< the results panel, once the match is decided
    Difficulty difficulty = Difficulty::Normal;
};

/// The bars' numbers, the shield and the reload, and the match's statistics, as the game
/// and `stats` have them now. Display settings and records are the caller's to add.
HudReadout readMatch(const Game& game, const MatchStats& stats);

/// Clears `quads` and lays out the HUD's text for a window of `width` x `height` pixels:
/// each bar's thin frame, label and number (inside the bar, at any window size), the
/// shield and reload markers, the match clock under the boss's bar, the pause label, and
/// once the match is decided, its results under the end picture. Everything is placed by
/// fractions of the window, so a new size needs nothing but the next call. Allocates nothing.
void layOutHudText(const HudReadout& readout, float width, float height, GlyphQuads& quads);
