#pragma once

#include <assimp/anim.h>
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

// Key-frame interpolation for one key list of an animation channel, at time `t` in ticks.
//
// The interval is the first one whose end key is later than t, so a time before the
// first key extrapolates along the first interval. A time at or after the last key holds
// the last key. An empty list gives `whenEmpty` (vectors) or no rotation.

glm::vec3 interpolatedVector(const aiVectorKey* keys, unsigned count, float t,
                             const glm::vec3& whenEmpty);

/// Spherical blend of the two keys around t, the shorter way round, normalised.
glm::quat interpolatedRotation(const aiQuatKey* keys, unsigned count, float t);
