#pragma once

struct ButtonPressedNew;

/// Turns a held fire button into a steady stream of primary shots.
///
/// Every shot takes the click's path: it sets `mouseLeft`, which the game spends on one
/// shot or swallows while the magazine reloads, so the magazine, the reload and the
/// ammunition bar behave exactly as for clicks. A press asks for a shot at once, which
/// makes a click one shot; while the button stays down another is asked for every
/// 1 / kShotsPerSecond seconds of game time. The mouse and the gamepad hold it
/// independently; it keeps firing while either does.
class HeldFire {
public:
    static constexpr float kShotsPerSecond = 6.0f;

    enum class Source : unsigned { Mouse = 1u, Gamepad = 2u };

    /// Every press asks for a shot now, as a click always has, and starts the interval.
    void press(Source source, ButtonPressedNew& buttons);
    void release(Source source);
    /// `seconds` of game time have passed (a drawn frame's time; never called while
    /// paused): asks for the next shot once it is due.
    void advance(float seconds, ButtonPressedNew& buttons);
    bool isHeld() const { return heldBy != 0u; }

private:
    unsigned heldBy = 0u;         ///< one bit per Source holding the button
    float untilNextShot = 0.0f;   ///< seconds of game time
};
