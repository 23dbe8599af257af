#pragma once

/// The control record shared by the input callbacks and gameplay: 19 one-byte flags,
/// all false at start, and the gamepad's steering. The callbacks set and clear the
/// movement and fire flags, the game's contact rules set and clear the block flags, and
/// the match restart clears everything except `paused`. Shared through std::shared_ptr.
struct ButtonPressedNew {
    bool w = false;            ///< move forward (toward -z)
    bool s = false;            ///< move back
    bool space = false;        ///< move up
    bool a = false;            ///< move left
    bool d = false;            ///< move right
    bool mouseLeft = false;    ///< primary shot; cleared by gameplay when it fires
    bool mouseRight = false;   ///< heavy shot; cleared by gameplay when it fires
    bool c = false;            ///< move down
    bool paused = false;       ///< flipped by P together with free-camera mode
    bool shift = false;        ///< move down (second key)
    bool blockW = false;       ///< the wall sensor touches the front wall (or the boss)
    bool blockS = false;
    bool blockSpace = false;
    bool blockA = false;
    bool blockD = false;
    bool blockMouseLeft = false;   ///< never set; cleared by the restart
    bool blockMouseRight = false;  ///< never set; cleared by the restart
    bool blockC = false;
    bool blockShift = false;

    // The gamepad's steering, rewritten once per loop pass: a share of a movement key's
    // speed, from -1 to 1, added to the keys. The block flags stop it as they stop the keys.
    float padRight = 0.0f;    ///< negative: left, as A
    float padForward = 0.0f;  ///< toward -z, as W; negative: back, as S
    float padUp = 0.0f;       ///< as Space; negative: down, as C

    /// Everything back to false except `paused`, as a new match needs it.
    void clearAllButPause() {
        const bool keepPaused = paused;
        *this = ButtonPressedNew{};
        paused = keepPaused;
    }
};
