#pragma once

#include "tools/content/sound/SoundClip.h"

// The sounds of firing, each finished (peak level, fades). The craft's sounds are bright
// and short, the boss's darker and heavier, so a player hears who is shooting.

/// A bright, snappy falling zap: the light shot.
SoundClip primaryShotSound();
/// A deep cannon thump with a falling roar: the heavy shot that spends the magazine.
SoundClip heavyShotSound();
/// A dark, wobbling plasma throb: one orb of the boss's volley.
SoundClip bossShotSound();
/// An ignition thump and a rising, whistling whoosh.
SoundClip missileLaunchSound();
/// A rising beep, repeated while it loops: a missile is closing in.
SoundClip missileWarningSound();
/// Two mechanical clacks around a rising charge, ending in a ready blip.
SoundClip reloadSound();
/// A dry, dull click: the trigger pulled on an empty magazine.
SoundClip emptyMagazineSound();
