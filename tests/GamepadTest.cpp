// The gamepad from a fake GLFW sample to the game's input record, without a device.

#include "app/Gamepad.h"
#include "app/InputCallbacks.h"
#include "support/ShellStateFixture.h"

#include <gtest/gtest.h>

namespace {

constexpr float kDeadzone = 0.2f;

GLFWgamepadstate restingPad() {
    GLFWgamepadstate state{};
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = -1.0f;  // triggers rest at -1
    state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = -1.0f;
    return state;
}

GLFWgamepadstate withButton(int button) {
    GLFWgamepadstate state = restingPad();
    state.buttons[button] = GLFW_PRESS;
    return state;
}

GLFWgamepadstate withAxis(int axis, float value) {
    GLFWgamepadstate state = restingPad();
    state.axes[axis] = value;
    return state;
}

PadControls read(const GLFWgamepadstate& state) { return readPadControls(state, kDeadzone); }

}  // namespace

TEST(GamepadDeadzone, InsideTheCircleIsStillAndFullTiltIsFullSpeed) {
    struct Case {
        glm::vec2 stick;
        float length;  // of the result
    };
    const Case cases[] = {
        {{0.0f, 0.0f}, 0.0f},
        {{0.19f, 0.0f}, 0.0f},      // just inside
        {{0.0f, -0.199f}, 0.0f},
        {{0.14f, 0.14f}, 0.0f},     // 0.198 on the diagonal: inside, though each axis alone is far past 0.1
        {{0.6f, 0.0f}, 0.5f},       // half of what is left
        {{1.0f, 0.0f}, 1.0f},       // full tilt
        {{0.0f, -1.0f}, 1.0f},
        {{0.7071f, 0.7071f}, 1.0f}, // full on the diagonal
        {{1.0f, 1.0f}, 1.0f},       // the corner of a square gate is no faster
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stick " << c.stick.x << ", " << c.stick.y);
        const glm::vec2 out = applyRadialDeadzone(c.stick, kDeadzone);
        EXPECT_NEAR(glm::length(out), c.length, 1e-3f);
        if (c.length > 0.0f) {
            EXPECT_NEAR(glm::dot(glm::normalize(out), glm::normalize(c.stick)), 1.0f, 1e-5f);
        }
    }
    // Just outside the circle starts from nothing, not from a jump to the deadzone's size.
    EXPECT_LT(glm::length(applyRadialDeadzone({0.21f, 0.0f}, kDeadzone)), 0.02f);
    EXPECT_GT(glm::length(applyRadialDeadzone({0.21f, 0.0f}, kDeadzone)), 0.0f);
}

TEST(GamepadMapping, SticksAndDpadSteer) {
    EXPECT_NEAR(read(withAxis(GLFW_GAMEPAD_AXIS_LEFT_X, 1.0f)).right, 1.0f, 1e-5f);
    EXPECT_NEAR(read(withAxis(GLFW_GAMEPAD_AXIS_LEFT_X, -1.0f)).right, -1.0f, 1e-5f);
    EXPECT_NEAR(read(withAxis(GLFW_GAMEPAD_AXIS_LEFT_Y, -1.0f)).forward, 1.0f, 1e-5f);  // pushed away
    EXPECT_NEAR(read(withAxis(GLFW_GAMEPAD_AXIS_LEFT_Y, 1.0f)).forward, -1.0f, 1e-5f);
    EXPECT_EQ(read(withAxis(GLFW_GAMEPAD_AXIS_LEFT_X, 0.15f)).right, 0.0f);
    EXPECT_EQ(read(withAxis(GLFW_GAMEPAD_AXIS_RIGHT_X, 1.0f)).right, 0.0f);  // the right stick does nothing

    EXPECT_EQ(read(withButton(GLFW_GAMEPAD_BUTTON_DPAD_LEFT)).right, -1.0f);
    EXPECT_EQ(read(withButton(GLFW_GAMEPAD_BUTTON_DPAD_RIGHT)).right, 1.0f);
    EXPECT_EQ(read(withButton(GLFW_GAMEPAD_BUTTON_DPAD_UP)).forward, 1.0f);
    EXPECT_EQ(read(withButton(GLFW_GAMEPAD_BUTTON_DPAD_DOWN)).forward, -1.0f);
    GLFWgamepadstate both = withButton(GLFW_GAMEPAD_BUTTON_DPAD_RIGHT);
    both.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 1.0f;
    EXPECT_EQ(read(both).right, 1.0f);  // stick and d-pad together are no faster

    EXPECT_EQ(read(withButton(GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER)).up, 1.0f);
    EXPECT_EQ(read(withButton(GLFW_GAMEPAD_BUTTON_LEFT_BUMPER)).up, -1.0f);
}

TEST(GamepadMapping, ButtonsAndTriggers) {
    const PadControls resting = read(restingPad());
    EXPECT_FALSE(resting.fire || resting.heavy || resting.start || resting.back);
    EXPECT_EQ(resting.right, 0.0f);
    EXPECT_EQ(resting.forward, 0.0f);
    EXPECT_EQ(resting.up, 0.0f);

    EXPECT_TRUE(read(withButton(GLFW_GAMEPAD_BUTTON_A)).fire);
    EXPECT_TRUE(read(withAxis(GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER, 1.0f)).fire);
    EXPECT_FALSE(read(withAxis(GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER, -0.5f)).fire);  // a quarter pull
    EXPECT_TRUE(read(withButton(GLFW_GAMEPAD_BUTTON_B)).heavy);
    EXPECT_TRUE(read(withAxis(GLFW_GAMEPAD_AXIS_LEFT_TRIGGER, 1.0f)).heavy);
    EXPECT_FALSE(read(withButton(GLFW_GAMEPAD_BUTTON_A)).heavy);
    EXPECT_FALSE(read(withButton(GLFW_GAMEPAD_BUTTON_B)).fire);
    EXPECT_TRUE(read(withButton(GLFW_GAMEPAD_BUTTON_START)).start);
    EXPECT_TRUE(read(withButton(GLFW_GAMEPAD_BUTTON_BACK)).back);
}

namespace {

// Samples reach the shell the way pollGamepad passes them: each against the one before.
class GamepadInShell : public ShellStateTest {
protected:
    void sample(const GLFWgamepadstate& state) {
        const PadControls now = read(state);
        onGamepadSample(now, before);
        before = now;
    }
    PadControls before;
};

}  // namespace

TEST_F(GamepadInShell, StickSteersThroughTheInputRecordAlongsideTheKeys) {
    onKey(nullptr, GLFW_KEY_W, 0, GLFW_PRESS, 0);
    sample(withAxis(GLFW_GAMEPAD_AXIS_LEFT_X, -1.0f));
    EXPECT_NEAR(buttons->padRight, -1.0f, 1e-5f);
    EXPECT_TRUE(buttons->w);  // the keyboard keeps working
    sample(restingPad());
    EXPECT_EQ(buttons->padRight, 0.0f);
    EXPECT_TRUE(buttons->w);
    sample(withButton(GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER));
    EXPECT_EQ(buttons->padUp, 1.0f);
}

TEST_F(GamepadInShell, FireTakesTheClickPathAndKeepsFiringWhileHeld) {
    sample(withAxis(GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER, 1.0f));
    EXPECT_TRUE(buttons->mouseLeft);
    EXPECT_TRUE(heldFire.isHeld());
    buttons->mouseLeft = false;  // the game fired
    sample(withAxis(GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER, 1.0f));
    EXPECT_FALSE(buttons->mouseLeft);  // still held: no second press
    heldFire.advance(1.0f / HeldFire::kShotsPerSecond, *buttons);
    EXPECT_TRUE(buttons->mouseLeft);
    sample(restingPad());
    EXPECT_FALSE(heldFire.isHeld());
}

TEST_F(GamepadInShell, HeavyShotOncePerPress) {
    sample(withButton(GLFW_GAMEPAD_BUTTON_B));
    EXPECT_TRUE(buttons->mouseRight);
    buttons->mouseRight = false;  // the game fired
    sample(withButton(GLFW_GAMEPAD_BUTTON_B));
    EXPECT_FALSE(buttons->mouseRight);
}

// Start pauses a match and resumes it, as Escape does; B backs out of the pause menu too.
TEST_F(GamepadInShell, StartOpensThePauseMenuAndResumes) {
    sample(withButton(GLFW_GAMEPAD_BUTTON_START));
    EXPECT_EQ(menus.screen(), Screen::PauseMenu);
    sample(restingPad());
    sample(withButton(GLFW_GAMEPAD_BUTTON_START));
    EXPECT_EQ(menus.screen(), Screen::Playing);
    sample(restingPad());
    sample(withButton(GLFW_GAMEPAD_BUTTON_START));
    sample(withButton(GLFW_GAMEPAD_BUTTON_B));
    EXPECT_EQ(menus.screen(), Screen::Playing);
    EXPECT_FALSE(toggles.restartRequested);
}

TEST_F(GamepadInShell, FreeCameraIgnoresSteeringAndFireButNotReleases) {
    sample(withButton(GLFW_GAMEPAD_BUTTON_A));
    ASSERT_TRUE(heldFire.isHeld());
    toggleFreeCameraMode();
    sample(restingPad());
    EXPECT_FALSE(heldFire.isHeld());

    buttons->mouseLeft = false;
    GLFWgamepadstate everything = withButton(GLFW_GAMEPAD_BUTTON_A);
    everything.buttons[GLFW_GAMEPAD_BUTTON_B] = GLFW_PRESS;
    everything.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 1.0f;
    sample(everything);
    EXPECT_FALSE(buttons->mouseLeft);
    EXPECT_FALSE(buttons->mouseRight);
    EXPECT_FALSE(heldFire.isHeld());
    EXPECT_EQ(buttons->padRight, 0.0f);
}
