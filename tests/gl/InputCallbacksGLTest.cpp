#include "app/InputCallbacks.h"

#include "app/Gamepad.h"

#include "support/GlContext.h"
#include "support/ShellStateFixture.h"

#include <chrono>
#include <functional>
#include <utility>

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

std::pair<int, int> windowSize() {
    std::pair<int, int> size;
    glfwGetWindowSize(window, &size.first, &size.second);
    return size;
}

// The X server answers a change of size a moment later; until then the events trickle in.
bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        glfwWaitEventsTimeout(0.05);
    }
    return true;
}

}  // namespace

// Escape must not lose a match: it pauses it, and again resumes; on the title it quits.
TEST_F(InputWithWindow, EscapePausesAMatchAndQuitsFromTheTitle) {
    tap(GLFW_KEY_ESCAPE);
    EXPECT_EQ(menus.screen(), Screen::PauseMenu);
    tap(GLFW_KEY_ESCAPE);
    EXPECT_EQ(menus.screen(), Screen::Playing);
    EXPECT_FALSE(glfwWindowShouldClose(window));
    menus = MenuFlow(OptionValues{}, Difficulty::Normal);
    tap(GLFW_KEY_ESCAPE);
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
    EXPECT_EQ(game.windowWidth, 1280.0f);  // the bars of the next match are built for it
    EXPECT_EQ(game.windowHeight, 720.0f);
}

// Full screen and back: the window returns to the size it had, although the window-size
// callback stored the full-screen size meanwhile.
TEST_F(InputWithWindow, F6TwiceReturnsToTheWindowedSize) {
    registerInputCallbacks(window);
    settings.width = settings.windowedWidth = 320;
    settings.height = settings.windowedHeight = 240;
    ASSERT_EQ(windowSize(), std::make_pair(320, 240));

    onKey(window, GLFW_KEY_F6, 0, GLFW_PRESS, 0);
    EXPECT_TRUE(toggles.fullscreenToggle);
    EXPECT_NE(glfwGetWindowMonitor(window), nullptr);
    ASSERT_TRUE(waitUntil([] { return settings.width != 320; })) << "never went full screen";
    onKey(window, GLFW_KEY_F6, 0, GLFW_RELEASE, 0);

    onKey(window, GLFW_KEY_F6, 0, GLFW_PRESS, 0);
    EXPECT_FALSE(toggles.fullscreenToggle);
    EXPECT_EQ(glfwGetWindowMonitor(window), nullptr);
    EXPECT_TRUE(waitUntil([] { return windowSize() == std::make_pair(320, 240); }))
        << windowSize().first << " x " << windowSize().second;
    EXPECT_TRUE(waitUntil([] { return settings.width == 320 && settings.height == 240; }));
}
