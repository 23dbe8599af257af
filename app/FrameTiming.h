#pragma once

#include <ostream>

/// The frame loop's clock book-keeping, all in seconds. The loop spins without sleeping:
/// physics steps on every pass, and a frame is drawn once a whole frame budget
/// (1 / refresh rate) of pass time has accumulated.
struct FrameTiming {
    float lastPass = 0.0f;          ///< duration of the previous pass; the physics time step
    float accumulated = 0.0f;       ///< time since the last drawn frame; the frame time
    float statsWindowStart = 0.0f;  ///< start of the current one-second statistics window
    int frameCount = 0;             ///< frames drawn since the last statistics line

    static float frameBudget(int refreshRate) { return 1.0f / static_cast<float>(refreshRate); }
    bool frameDue(int refreshRate) const { return accumulated >= frameBudget(refreshRate); }
    void frameDrawn();
    void passEnded(float passStart, float now);

    /// Once per pass: writes the statistics line when `shown` and a whole second has
    /// passed. While hidden, the window follows the clock and the count starts afresh, so
    /// the first line after O describes the second that followed it.
    void reportStats(bool shown, float now, std::ostream& out);
    bool statsDue(float now) const { return now - statsWindowStart >= 1.0f; }
    /// Writes the statistics line, then starts the next one-second window; after a pass
    /// longer than a second that window starts now, rather than leave a backlog of lines.
    void printStats(std::ostream& out, float now);
};
