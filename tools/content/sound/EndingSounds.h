#pragma once

#include "tools/content/sound/SoundClip.h"

// The sounds of a match being decided, each finished (peak level, fades). The explosion
// comes with the wreck, the stinger with the end picture; both keys suit the music's
// D minor.

/// A long, deep blast with rumbling debris: the boss goes down.
SoundClip bossDestroyedSound();
/// A sharper, shorter blast with a falling whistle: the craft goes down.
SoundClip craftDestroyedSound();
/// A bright rising D major fanfare.
SoundClip winStingerSound();
/// A slow, falling line that sags at its end.
SoundClip loseStingerSound();
