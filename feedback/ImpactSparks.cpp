#include "feedback/ImpactSparks.h"

#include "effects/SparkBursts.h"
#include "game/MatchEvents.h"

namespace {

struct SparkColour {
    MatchEvent hit;
    glm::vec3 colour;
};
const SparkColour kSparkColours[] = {
    {MatchEvent::BossHit, {1.0f, 0.72f, 0.25f}},
    {MatchEvent::ShieldHit, {0.4f, 0.78f, 1.0f}},
    {MatchEvent::PlayerHit, {1.0f, 0.38f, 0.12f}},
};

const SparkColour* sparkColourFor(MatchEvent hit) {
    for (const SparkColour& row : kSparkColours)
        if (row.hit == hit) return &row;
    return nullptr;
}

}  // namespace

void burstSparksAtImpacts(SparkBursts& sparks, const MatchEvents& events,
                          const glm::vec3& sceneDrift) {
    for (const MatchEvents::Impact* impact = events.beginImpacts(); impact != events.endImpacts();
         ++impact)
        if (const SparkColour* row = sparkColourFor(impact->kind))
            sparks.burst(impact->position, sceneDrift, row->colour);
}
