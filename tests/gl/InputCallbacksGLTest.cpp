#include "app/InputCallbacks.h"

#include "app/Gamepad.h"

#include "support/GlContext.h"
#include "support/ShellStateFixture.h"

namespace {

class InputWithWindow : public ShellStateTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(context.ready());
        ShellStateTest::SetUp();
        window = context.window;
    }
    void TearDown() override {
        window = nullptr;
        ShellStateTest::TearDown();
    }
    GlContext context;
};

void tap(int key) {
    onKey(window, key, 0, GLFW_PRESS, 0);
    onKey(window, key, 0, GLFW_RELEASE, 0);
}

}  // namespace

TEST_F(InputWithWindow, EscapeClosesOnRelease) {
    onKey(window, GLFW_KEY_ESCAPE, 0, GLFW_PRESS, 0);
    EXPECT_FALSE(glfwWindowShouldClose(window));
    onKey(window, GLFW_KEY_ESCAPE, 0, GLFW_RELEASE, 0);
    EXPECT_TRUE(glfwWindowShouldClose(window));
}

TEST_F(InputWithWindow, F1SwitchesPolygonModeOnRelease) {
    tap(GLFW_KEY_F1);
    EXPECT_TRUE(toggles.wireframeMode);
    GLint modes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    tap(GLFW_KEY_F1);
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
}

TEST_F(InputWithWindow, F2HidesTheHudAndSwitchesCullingAtOnce) {
    glEnable(GL_CULL_FACE);
    tap(GLFW_KEY_F2);
    EXPECT_FALSE(toggles.hudVisible);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    tap(GLFW_KEY_F2);
    EXPECT_TRUE(toggles.hudVisible);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(InputWithWindow, GamepadBackHidesTheHudOnReleaseAsF2Does) {
    PadControls backHeld;
    backHeld.back = true;
    onGamepadSample(backHeld, PadControls{});
    EXPECT_TRUE(toggles.hudVisible);
    onGamepadSample(PadControls{}, backHeld);
    EXPECT_FALSE(toggles.hudVisible);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(InputWithWindow, ResizeSetsViewportAndProjection) {
    onWindowSize(window, 1280, 720);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1280);
    EXPECT_EQ(viewport[3], 720);
    EXPECT_NEAR(camera->projection[1][1] / camera->projection[0][0], 1280.0f / 720.0f, 1e-4f);
    EXPECT_EQ(settings.width, 1280);
}
