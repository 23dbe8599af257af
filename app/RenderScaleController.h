#pragma once

#include <array>
#include <cstddef>

/// Picks the share of the window's size the 3D scene is drawn at (the render scale), so
/// that drawn frames keep within the frame budget of the refresh rate.
///
/// It is told what every drawn frame cost (seconds of work, not the interval between
/// frames, which the frame cap stretches) and when. At most once every kSettleSeconds it
/// looks at the median cost of the frames since its last look: over kAim of the budget,
/// it falls by as much as the drawn area needs (a frame's cost taken as growing with the
/// area), at most kLargestFall at once; when even one kStep more area would still stay
/// under kAim of the budget, it rises by that one step. A sudden load (the smoke of a wreck
/// filling the view) cannot wait that long: kOverrunFrames frames in a row over kSuddenLoad
/// budgets call a look at once, which falls as the cheapest of them needs, by as much as
/// kLargestSuddenFall; the odd run of slow frames in a fight stays under that and leaves
/// the scale alone. Scales are whole steps within [kSmallest, kLargest]. Changes that rare
/// and that small do not pump visibly, and a frame that is cheap enough at full size never
/// leaves it. A scale it rose to and had to leave at the very next look is not risen to
/// again for kRetrySeconds: where the cost jumps at a scale (the edges smoothed only at full
/// size) or hovers at the aim, the scale would otherwise swing at every look, and each
/// change reallocates the scene's targets, which stalls a software renderer for a frame or
/// two. A fixed scale never moves.
class RenderScaleController {
public:
    static constexpr float kSmallest = 0.25f;
    static constexpr float kLargest = 1.0f;
    static constexpr float kStep = 0.05f;
    static constexpr float kLargestFall = 0.15f;
    static constexpr float kLargestSuddenFall = 0.3f;
    static constexpr float kSettleSeconds = 0.5f;  ///< at least this long between two changes
    static constexpr float kAim = 0.75f;           ///< share of the budget a frame should cost
    static constexpr int kOverrunFrames = 3;  ///< frames in a row that overran call a look
    static constexpr float kSuddenLoad = 1.25f;  ///< budgets a frame must cost to overrun
    static constexpr float kRetrySeconds = 10.0f;  ///< before a scale found too costly is tried again

    /// `automatic`: starts at kLargest and follows the frame cost. Otherwise `fixedScale`,
    /// kept within [kSmallest, kLargest], for good.
    RenderScaleController(bool automatic, float fixedScale);

    /// One drawn frame that cost `frameCost` seconds against a budget of `frameBudget`
    /// seconds, measured at `now` seconds of a steady clock. Returns the scale to draw at.
    float frameDrawn(float frameCost, float frameBudget, float now);
    float scale() const { return current; }

private:
    static constexpr std::size_t kKeptCosts = 64;  ///< the most recent frames of a look

    float nextScale(float cost, float frameBudget, float largestFall) const;
    bool retriesTooSoon(float next, float now) const;
    float medianCost();
    void countOverrun(float frameCost, float frameBudget);

    std::array<float, kKeptCosts> costs{};
    std::size_t costCount = 0;  ///< frames since the last look, also those no longer kept
    float current;
    float lastLook = 0.0f;
    bool automatic;
    bool looking = false;  ///< false until the first frame starts the clock
    int overruns = 0;           ///< frames in a row that overran
    float overrunLeast = 0.0f;  ///< the cheapest of them, seconds
    bool justRose = false;              ///< the last look rose
    float fellFrom = kLargest + kStep;  ///< the scale last left at the look after rising to it
    float retryAt = 0.0f;               ///< when it, or any larger, may be risen to again
};
