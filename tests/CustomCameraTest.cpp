#include "render/CustomCamera.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

TEST(CustomCamera, PerspectiveElementsFollowFieldOfViewAspectAndPlanes) {
    const glm::mat4 m = perspectiveProjection(90.0f, 2.0f, 1.0f, 11.0f);
    EXPECT_NEAR(m[0][0], 0.5f, 1e-6f);  // 1 / (aspect * tan 45)
    EXPECT_NEAR(m[1][1], 1.0f, 1e-6f);
    EXPECT_NEAR(m[2][2], -1.2f, 1e-6f);
    EXPECT_FLOAT_EQ(m[2][3], -1.0f);
    EXPECT_NEAR(m[3][2], -2.2f, 1e-6f);
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            const bool set = (c == r && c < 3) || (c == 2 && r == 3) || (c == 3 && r == 2);
            if (!set) {
                EXPECT_EQ(m[c][r], 0.0f) << c << "," << r;
            }
        }
    }
}

TEST(CustomCamera, ResizeKeepsFieldOfViewAndChangesAspect) {
    CustomCamera cam(800.0f, 800.0f, 60.0f, 0.1f, 100.0f);
    EXPECT_NEAR(cam.projection[0][0], cam.projection[1][1], 1e-6f);
    cam.setViewportSize(1600.0f, 800.0f);
    EXPECT_NEAR(cam.projection[0][0] * 2.0f, cam.projection[1][1], 1e-5f);
    EXPECT_NEAR(cam.projection[1][1], 1.0f / std::tan(30.0f * 3.14159265f / 180.0f), 1e-5f);
}

TEST(CustomCamera, ConstructorStartsTheCursorAtTheWindowCentre) {
    const CustomCamera cam(640.0f, 480.0f, 60.0f, 0.1f, 100.0f);
    EXPECT_FLOAT_EQ(cam.lastX, 320.0f);
    EXPECT_FLOAT_EQ(cam.lastY, 240.0f);
    EXPECT_TRUE(cam.firstMouse);
    EXPECT_EQ(cam.view, glm::mat4(1.0f));
}

TEST(CustomCamera, YawMinusNinetyLooksDownMinusZ) {
    CustomCamera cam(800.0f, 800.0f, 60.0f, 0.1f, 100.0f);
    cam.worldUp = glm::vec3(0.0f, 1.0f, 0.0f);
    cam.yaw = -90.0f;
    cam.updateCameraVectors();
    EXPECT_NEAR(cam.front.z, -1.0f, 1e-6f);
    EXPECT_NEAR(cam.right.x, 1.0f, 1e-6f);
    EXPECT_NEAR(cam.up.y, 1.0f, 1e-6f);
}

TEST(CustomCamera, MouseLookClampsPitchAndIgnoresTheFirstSample) {
    CustomCamera cam(800.0f, 800.0f, 60.0f, 0.1f, 100.0f);
    cam.worldUp = glm::vec3(0.0f, 1.0f, 0.0f);
    cam.mouseLook(500.0f, 400.0f);  // first sample: only remembered
    EXPECT_FLOAT_EQ(cam.yaw, 0.0f);
    EXPECT_FLOAT_EQ(cam.pitch, 0.0f);
    cam.mouseLook(510.0f, 400.0f);
    EXPECT_FLOAT_EQ(cam.yaw, 3.0f);
    cam.mouseLook(510.0f, -10000.0f);  // far up
    EXPECT_FLOAT_EQ(cam.pitch, 89.0f);
    cam.mouseLook(510.0f, 100000.0f);
    EXPECT_FLOAT_EQ(cam.pitch, -89.0f);
}

TEST(CustomCamera, LooksFromBetweenTheLastTwoStepsDownTheTrackOrAtItsTarget) {
    CustomCamera cam(800.0f, 800.0f, 60.0f, 0.1f, 100.0f);
    cam.position = glm::vec3(1.0f, 2.0f, 0.0f);
    cam.up = glm::vec3(0.0f, 1.0f, 0.0f);
    cam.rememberPosition();
    cam.position.z = -1.0f;
    cam.lookBetweenSteps(0.25f, true);
    EXPECT_EQ(cam.position, glm::vec3(1.0f, 2.0f, -1.0f));  // drawing moves nothing
    EXPECT_EQ(cam.target, glm::vec3(0.0f, 0.0f, -100.25f));
    EXPECT_EQ(cam.view, glm::lookAt(glm::vec3(1.0f, 2.0f, -0.25f), cam.target, cam.up));

    cam.target = glm::vec3(5.0f, -3.0f, 0.0f);
    cam.lookBetweenSteps(1.0f, false);
    EXPECT_EQ(cam.target, glm::vec3(5.0f, -3.0f, 0.0f));  // a wreck is watched where it is
    EXPECT_EQ(cam.view, glm::lookAt(cam.position, cam.target, cam.up));
}
