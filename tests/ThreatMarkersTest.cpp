#include "hud/ThreatMarkers.h"

#include "render/CustomCamera.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

constexpr float kMargin = 0.05f;

}  // namespace

// The eye at the origin looking down -z, a square window. Window fractions grow to the
// right and downwards.
TEST(EdgeMarker, PointsAtWhatIsOutOfSightFromTheNearestEdge) {
    const glm::mat4 viewProjection =
        perspectiveProjection(60.0f, 1.0f, 0.1f, 100.0f) *
        glm::lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const struct {
        const char* where;
        glm::vec3 world;
        bool offScreen;
        glm::vec2 centre;
    } cases[] = {
        {"ahead", {1.0f, 1.0f, -10.0f}, false, {0.0f, 0.0f}},
        {"far left", {-50.0f, 0.0f, -10.0f}, true, {kMargin, 0.5f}},
        {"high above", {0.0f, 50.0f, -10.0f}, true, {0.5f, kMargin}},
        {"behind, to the right", {5.0f, 0.0f, 10.0f}, true, {1.0f - kMargin, 0.5f}},
        {"behind, low on the left", {-5.0f, -5.0f, 3.0f}, true, {kMargin, 1.0f - kMargin}},
        {"straight behind", {0.0f, 0.0f, 10.0f}, true, {0.5f, 1.0f - kMargin}},
    };
    for (const auto& c : cases) {
        const EdgeMarker marker = edgeMarkerFor(viewProjection, c.world, kMargin);
        EXPECT_EQ(marker.offScreen, c.offScreen) << c.where;
        if (!c.offScreen) continue;
        EXPECT_NEAR(marker.centre.x, c.centre.x, 1e-3f) << c.where;
        EXPECT_NEAR(marker.centre.y, c.centre.y, 1e-3f) << c.where;
    }
}
