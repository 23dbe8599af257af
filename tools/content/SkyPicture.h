#pragma once

#include "tools/content/Image.h"

#include <glm/glm.hpp>

/// The colour of the haze at and below the horizon. The model shader fades distant
/// geometry into exactly this colour ("texture.frag", kHaze), so the far edge of the
/// terrain melts into the sky picture behind it.
inline const glm::vec3 kHorizonHaze(0.80f, 0.52f, 0.46f);

/// Fraction of the picture's height at which the horizon lies: the game's camera looks
/// almost level, so the horizon sits just above the middle of the window.
constexpr float kHorizonHeight = 0.485f;

/// The full-window background: an alien dusk with a ringed gas giant, two moons,
/// nebulae and stars above a hazy horizon with distant ridges.
Image paintSky(int width, int height);
