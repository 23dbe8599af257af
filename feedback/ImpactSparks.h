#pragma once

#include <glm/glm.hpp>

class MatchEvents;
class SparkBursts;

/// A burst of sparks at every impact of this frame's events, coloured by what was hit:
/// gold off the boss, electric blue off the shield, red-orange off the craft. The sparks
/// ride along at `sceneDrift` (units per second), as the hit objects do.
void burstSparksAtImpacts(SparkBursts& sparks, const MatchEvents& events,
                          const glm::vec3& sceneDrift);
