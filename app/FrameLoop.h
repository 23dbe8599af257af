#pragma once

#include "app/FramePass.h"
#include "app/FrameTiming.h"
#include "app/RenderScaleController.h"
#include "app/Scene.h"
#include "game/MatchRunner.h"

#include <cstdint>

/// What the loop carries from one pass to the next.
struct LoopState {
    FrameTiming timing;
    MatchRunner match;                  ///< the game's steps, taken as the wall clock makes them due
    int stepsSinceFrame = 0;            ///< match steps taken since the last drawn frame
    RenderScaleController renderScale;  ///< the scene's share of the window's size
    bool uncapped = false;              ///< draws on every pass, whatever the refresh rate
    FramePassProbe* probe = nullptr;    ///< the benchmark's timers; the game runs without
    std::uint64_t framesDrawn = 0;      ///< since the start; the smoke takes its quarters in turn by it
};

/// The loop's state at its start: the statistics window begins where the scene set-up read
/// it, and the render scale is the settings' (or full size, when it is "auto"). What first
/// draws in the middle of a match (sparks, smoke, end pictures) is drawn once here, so that
/// the frame it first shows in does not stall.
LoopState startLoop(Scene& scene);

/// One pass of the loop: the restart when one is asked for, the window's events, the match
/// steps that are due, and a drawn and swapped frame when the frame budget has run out. The
/// game and the benchmark both drive their frames through this.
void runOnePass(Scene& scene, LoopState& state);

/// The only loop: runs passes until the window's close flag is set.
void runFrameLoop(Scene& scene);
