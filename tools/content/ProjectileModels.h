#pragma once

#include "tools/content/GeneratedModel.h"

// The rigid models: shots, the missile and the boss's shield. The game draws them with
// their full physics transform and a texture, so their coordinates are used as written.

/// A plasma ball of `radius` (the primary shot 0.4, the heavy shot 4.0), mapped for a
/// texture that repeats twice around and once from pole to pole.
GeneratedModel buildPlasmaShot(const std::string& name, float radius);
/// The boss's shot: a spiked orb of radius 0.8.
GeneratedModel buildBossShot();
/// The homing missile: 2.2 long with its nose along local +y, the axis the game's
/// steering turns onto the flight direction (the capsule's own axis). Its body is as thick
/// as the capsule (radius 0.3 of 0.35), and a thin ring 1.66 across circles the warhead,
/// so that a missile seen nose first still reads at a glance.
GeneratedModel buildMissile();
/// The shield: a sphere of radius 4.5 whose texture (a lattice, four times around and
/// twice from pole to pole) has dark cells that the model shader leaves out; its texture
/// coordinates start at u = 100, the shader's cut-out zone.
GeneratedModel buildShield();
