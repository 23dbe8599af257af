#pragma once

#include "tools/content/Image.h"

// Pictures for shots, the missile, the shield and the smoke.

/// A hexagonal energy lattice on black; it repeats in both directions. The model shader
/// leaves out the black cells, so the boss shows through its shield.
Image paintShieldLattice(int size);
/// Swirling plasma, bright throughout (shots are drawn almost unlit); repeats.
/// `cool` picks the player's cyan-white, otherwise the boss's magenta-orange.
Image paintPlasma(int size, bool cool);
/// The missile's livery: the body in the top three quarters (tail at the top row, nose
/// below), the fins in the bottom quarter.
Image paintMissileLivery(int size);
/// A soft, billowing puff: light grey colour, alpha falling off to 0 at the rim.
Image paintSmokePuff(int size);
