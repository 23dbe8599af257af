#pragma once

/// The match's pace against the wall clock. The match itself only ever moves in whole
/// steps of kStep seconds (its time is the number of steps taken); wall time only says how
/// many are due. Each pass of the loop hands in its duration and takes the steps due; what
/// is left over, a fraction of a step, carries to the next pass and tells the drawing how
/// far to go between the last two steps.
class MatchClock {
public:
    static constexpr float kStep = 1.0f / 60.0f;  ///< seconds of one step
    /// Catch-up limit of one pass: 0.2 s, a frame at 5 fps. A longer pass (a stall, a window
    /// drag) drops the rest instead of spending ever longer on catching up.
    static constexpr int kMaxStepsPerPass = 12;

    /// Adds `passSeconds` of wall time and returns how many steps are due now.
    int takeDueSteps(float passSeconds);
    /// How far past the last step the wall clock stands, in steps: 0 up to (not quite) 1.
    float alpha() const { return static_cast<float>(carried / kStep); }
    /// Forgets the fraction carried over, as a new match or the end of a pause wants.
    void reset() { carried = 0.0; }

private:
    double carried = 0.0;  ///< seconds not yet taken as a step; double, so that it never drifts
};
