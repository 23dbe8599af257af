#pragma once

#include "tools/content/GeneratedModel.h"

/// The boss, as the game shows it: about 6 units wide and 8 tall, centred on the origin
/// (the middle of its capsule) and facing +z toward the player: a horned carapace over a
/// glowing eye, a snapping jaw with two claws, two cannon arms and a halo ring behind.
/// Skinned to seven bones; the ring spins a full turn per loop, the jaw snaps, the arms
/// sway. The loop lasts 2.4 s in the file (3 s in the game).
GeneratedModel buildBoss();
