#pragma once

#include <cstdint>

struct ButtonPressedNew;

/// The controls of one match step: which movement keys are held, the shots asked for, and
/// the gamepad's steering. A replay is a list of these, one per step.
///
/// The input callbacks keep writing the live record; each step takes a frame from it.
/// Held keys are copied; a shot asked for is taken, so it reaches the match once, and it
/// waits in the game's record until the game fires it or swallows it in a reload.
struct ControlFrame {
    enum Key : std::uint16_t {
        Forward = 1u << 0,
        Back = 1u << 1,
        Up = 1u << 2,
        Left = 1u << 3,
        Right = 1u << 4,
        Down = 1u << 5,
        DownSecond = 1u << 6,  ///< the second down key, held alongside the first or alone
        Fire = 1u << 7,
        HeavyFire = 1u << 8,
    };
    static constexpr std::uint16_t kAllKeys = (1u << 9) - 1u;

    std::uint16_t keys = 0;
    float padRight = 0.0f;    ///< from -1 to 1, as in the control record
    float padForward = 0.0f;
    float padUp = 0.0f;

    bool has(Key key) const { return (keys & key) != 0; }
    bool operator==(const ControlFrame& other) const;
    bool operator!=(const ControlFrame& other) const { return !(*this == other); }
};

/// This step's controls from the live record: the held keys and the steering as they are,
/// and the shots asked for, which are cleared there.
ControlFrame takeControls(ButtonPressedNew& live);

/// Puts a step's controls into the game's record: the keys and steering replace what was
/// there, the shots join any the game has not fired yet. The block flags stay the game's.
void applyControls(const ControlFrame& frame, ButtonPressedNew& game);
