#pragma once

#include "game/ControlFrame.h"
#include "game/Game.h"
#include "game/MatchClock.h"

/// Runs the game's match against the wall clock, as the frame loop does and as the tests do
/// with a fake one: a loop pass's wall time in, the match steps that are due taken, each with
/// the controls its source gives for it. A pause takes no step and keeps the fraction of a
/// step it stopped at, so the match goes on exactly where it stood.
class MatchRunner {
public:
    explicit MatchRunner(Game& match) : game(match) {}

    /// One loop pass of `passSeconds`; `controlsForStep()` is asked once per step taken, in
    /// order. Returns the steps taken.
    template <class ControlSource>
    int runPass(float passSeconds, bool paused, ControlSource&& controlsForStep) {
        if (paused) return 0;
        const int due = clock.takeDueSteps(passSeconds);
        for (int i = 0; i < due; ++i) game.step(controlsForStep());
        return due;
    }
    /// How far between the last two steps the wall clock stands (0 to 1), for drawing.
    float alpha() const { return clock.alpha(); }
    /// A new match starts from a whole step.
    void restart() { clock.reset(); }

private:
    Game& game;
    MatchClock clock;
};
