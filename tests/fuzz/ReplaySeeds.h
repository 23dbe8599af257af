#pragma once

#include "game/Replay.h"

#include <string_view>

/// The game version the replay fuzzer's seeds are stamped with and its reader expects.
inline constexpr std::string_view kFuzzGameVersion = "fuzz";

/// A short replay whose controls change every few steps: keys, shots and pad steering.
inline Replay seedReplay(std::uint32_t steps, Difficulty difficulty) {
    Replay replay(12345u, difficulty);
    for (std::uint32_t step = 0; step < steps; ++step) {
        ControlFrame controls;
        controls.keys = static_cast<std::uint16_t>((step / 5) % 64);
        controls.padRight = static_cast<float>(step % 3) * 0.5f - 0.5f;
        replay.record(controls);
    }
    return replay;
}
