#pragma once

#include "tools/content/sound/SoundClip.h"

// The sounds of hits and of the boss's shield, each finished (peak level, fades).

/// A heavy metallic clank over a low thud: a shot strikes the boss's hull.
SoundClip bossHitSound();
/// A bright, ringing bell-like ping: a shot glances off the shield.
SoundClip shieldHitSound();
/// A harsh, crushed crunch with a falling glitch: the craft is hit.
SoundClip craftHitSound();
/// A humming, brightening rise: the shield comes up.
SoundClip shieldUpSound();
/// A darkening fall with crackles: the shield collapses.
SoundClip shieldDownSound();
