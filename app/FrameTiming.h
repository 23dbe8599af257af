#pragma once

#include <functional>
#include <ostream>

/// The frame loop's clock book-keeping, all in seconds. The match takes the steps due on
/// every pass, and a frame is drawn once a whole frame budget (1 / refresh rate) of pass
/// time has accumulated.
///
/// A capped loop must not spin a core: a pass whose next frame is more than kSleepThreshold
/// away ends by sleeping until kWakeEarly before that frame, or before the next match step
/// is due (a step after this pass began), whichever comes first. The sleep belongs to the
/// pass, so the match's wall time and the frame time count it.
struct FrameTiming {
    using Clock = std::function<float()>;        ///< seconds
    using Sleeper = std::function<void(float)>;  ///< blocks for the given seconds
    static constexpr float kSleepThreshold = 0.002f;  ///< seconds; anything nearer, spin
    static constexpr float kWakeEarly = 0.001f;  ///< seconds; covers the scheduler waking late

    /// The game passes GLFW's clock and a thread sleep; tests pass a fake pair.
    FrameTiming(Clock clock, Sleeper sleep);

    Clock clock;
    Sleeper sleep;
    float lastPass = 0.0f;          ///< duration of the previous pass; wall time for the match
    float accumulated = 0.0f;       ///< time since the last drawn frame; the frame time
    float statsWindowStart = 0.0f;  ///< start of the current one-second statistics window
    int frameCount = 0;             ///< frames drawn since the last statistics line

    static float frameBudget(int refreshRate) { return 1.0f / static_cast<float>(refreshRate); }
    bool frameDue(int refreshRate) const { return accumulated >= frameBudget(refreshRate); }
    /// The wall time since the last drawn frame, for what runs by the wall clock (the free
    /// camera), but no more than one pass's steps catch up. Beyond that (a stall, a machine
    /// below 5 fps) the rest is dropped, as the match drops it.
    float frameTime() const;
    void frameDrawn();
    void passEnded(float passStart, float now);
    /// Sleeps if the next frame and physics step are far enough away (see above), then
    /// ends the pass that stepped the physics at `passStart`.
    void endPass(float passStart, int refreshRate);

    /// Once per pass: writes the statistics line when `shown` and a whole second has
    /// passed. While hidden, the window follows the clock and the count starts afresh, so
    /// the first line after O describes the second that followed it.
    void reportStats(bool shown, float now, std::ostream& out);
    bool statsDue(float now) const { return now - statsWindowStart >= 1.0f; }
    /// Writes the statistics line, then starts the next one-second window; after a pass
    /// longer than a second that window starts now, rather than leave a backlog of lines.
    void printStats(std::ostream& out, float now);
};
