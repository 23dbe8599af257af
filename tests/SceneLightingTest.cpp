#include "app/SceneLighting.h"

#include <gtest/gtest.h>

TEST(SceneLighting, SunColourFollowsTheIlluminationMultiplier) {
    EXPECT_EQ(DirectionalLight(1.0f).color, glm::vec3(0.7f));
    EXPECT_FLOAT_EQ(DirectionalLight(2.0f).color.r, 0.8f);
    EXPECT_FLOAT_EQ(DirectionalLight(0.0f).color.g, 0.6f);
    EXPECT_FLOAT_EQ(DirectionalLight(6.0f).color.b, 1.2f);  // not clamped
}

TEST(SceneLighting, SunShinesDownAlongTheUnitDiagonal) {
    const DirectionalLight sun;
    EXPECT_TRUE(sun.enabled);
    EXPECT_NEAR(sun.direction.x, 0.57735f, 1e-5f);
    EXPECT_NEAR(sun.direction.y, -0.57735f, 1e-5f);
    EXPECT_NEAR(sun.direction.z, -0.57735f, 1e-5f);
}

TEST(SceneLighting, GlowIsDimRedAndHoversAboveTheBoss) {
    PointLight glow;
    EXPECT_EQ(glow.color, glm::vec3(0.3f, 0.0f, 0.0f));
    EXPECT_EQ(glow.position, glm::vec3(0.0f));
    EXPECT_EQ(glow.attenuation, glm::vec3(0.1f, 0.001f, 0.005f));
    glow.hoverAbove(glm::vec3(1.0f, 2.0f, -30.0f));
    EXPECT_FLOAT_EQ(glow.position.x, 1.0f);
    EXPECT_FLOAT_EQ(glow.position.y, 5.6f);
    EXPECT_FLOAT_EQ(glow.position.z, -30.0f);
}

TEST(SceneLighting, HudProjectionMapsWindowCornersToClipCorners) {
    const glm::mat4 projection = hudProjection(800.0f, 600.0f);
    const glm::vec4 topLeft = projection * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    const glm::vec4 bottomRight = projection * glm::vec4(800.0f, 600.0f, 0.0f, 1.0f);
    const glm::vec4 centre = projection * glm::vec4(400.0f, 300.0f, 0.5f, 1.0f);
    EXPECT_EQ(topLeft, glm::vec4(-1.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ(bottomRight, glm::vec4(1.0f, -1.0f, 0.0f, 1.0f));
    EXPECT_EQ(centre, glm::vec4(0.0f, 0.0f, -0.5f, 1.0f));
}
