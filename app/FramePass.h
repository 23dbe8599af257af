#pragma once

#include <cstddef>

/// The steps of one loop pass, in the order they run. `Idle` is the time between the end
/// of one pass and the start of the next.
enum class FramePass {
    Events,
    Physics,
    Camera,
    Sky,
    Objects,
    Landscape,
    Sparks,
    Ending,
    Update,
    Resolve,
    Hud,
    Swap,
    Idle,
    Count
};

constexpr std::size_t kFramePassCount = static_cast<std::size_t>(FramePass::Count);

/// Told where each step of a loop pass begins; a step ends where the next one begins. The
/// game runs without one; the benchmark's timers listen here, so they time the game's own
/// frame code rather than a copy of it.
class FramePassProbe {
public:
    virtual ~FramePassProbe() = default;
    virtual void enter(FramePass pass) = 0;
};
