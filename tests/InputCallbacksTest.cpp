#include "app/InputCallbacks.h"

#include "game/Debugger.h"
#include "render/GlyphQuads.h"
#include "support/ShellStateFixture.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <string>

namespace {

void press(int key) { onKey(nullptr, key, 0, GLFW_PRESS, 0); }
void release(int key) { onKey(nullptr, key, 0, GLFW_RELEASE, 0); }
void type(const char* text) {
    for (const char* c = text; *c; ++c) onChar(nullptr, static_cast<unsigned char>(*c));
}

}  // namespace

using InputCallbacks = ShellStateTest;

TEST_F(InputCallbacks, MovementKeysSetOnPressAndClearOnRelease) {
    press(GLFW_KEY_A);
    press(GLFW_KEY_LEFT_SHIFT);
    EXPECT_TRUE(buttons->a);
    EXPECT_TRUE(buttons->shift);
    release(GLFW_KEY_A);
    EXPECT_FALSE(buttons->a);
    EXPECT_TRUE(buttons->shift);
}

TEST_F(InputCallbacks, BlockedDirectionIgnoresPresses) {
    buttons->blockW = true;
    press(GLFW_KEY_W);
    EXPECT_FALSE(buttons->w);
    buttons->blockC = true;
    press(GLFW_KEY_C);
    EXPECT_FALSE(buttons->c);
    press(GLFW_KEY_S);
    EXPECT_TRUE(buttons->s);
}

TEST_F(InputCallbacks, RepeatEventsDoNothing) {
    onKey(nullptr, GLFW_KEY_D, 0, GLFW_REPEAT, 0);
    onKey(nullptr, GLFW_KEY_O, 0, GLFW_REPEAT, 0);
    EXPECT_FALSE(buttons->d);
    EXPECT_FALSE(toggles.showFrameStats);
}

TEST_F(InputCallbacks, HeldKeySurvivesEnteringFreeCameraAndClearsOnRelease) {
    press(GLFW_KEY_W);
    press(GLFW_KEY_P);
    EXPECT_TRUE(toggles.freeCameraMode);
    EXPECT_TRUE(buttons->paused);
    EXPECT_TRUE(buttons->w);
    release(GLFW_KEY_W);
    EXPECT_FALSE(buttons->w);
    press(GLFW_KEY_S);
    EXPECT_FALSE(buttons->s);  // gameplay presses are ignored while flying
}

TEST_F(InputCallbacks, MouseButtonsFireOnlyOutsideFreeCamera) {
    onMouseButton(nullptr, GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE, 0);
    EXPECT_FALSE(buttons->mouseLeft);
    buttons->blockMouseLeft = true;  // the mouse ignores its block flags
    onMouseButton(nullptr, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS, 0);
    EXPECT_TRUE(buttons->mouseLeft);
    toggles.freeCameraMode = true;
    onMouseButton(nullptr, GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS, 0);
    EXPECT_FALSE(buttons->mouseRight);
}

TEST_F(InputCallbacks, TypedDigitsBecomeTheRefreshRateOnLeavingFreeCamera) {
    press(GLFW_KEY_P);
    type("1a4.4");
    press(GLFW_KEY_P);
    EXPECT_EQ(settings.refreshRate, 144);
    EXPECT_FALSE(toggles.freeCameraMode);
    EXPECT_FALSE(buttons->paused);
}

TEST_F(InputCallbacks, NoDigitsOrOnlyZerosKeepTheRate) {
    press(GLFW_KEY_P);
    press(GLFW_KEY_P);
    EXPECT_EQ(settings.refreshRate, 60);
    press(GLFW_KEY_P);
    type("000");
    press(GLFW_KEY_P);
    EXPECT_EQ(settings.refreshRate, 60);
}

TEST_F(InputCallbacks, EnteringFreeCameraDiscardsOldDigits) {
    toggles.freeCameraMode = false;
    type("99");  // outside free-camera mode: ignored
    press(GLFW_KEY_P);
    EXPECT_EQ(freeCamera.refreshRateDigits, "");
    type("3");
    press(GLFW_KEY_P);
    press(GLFW_KEY_P);
    EXPECT_EQ(freeCamera.refreshRateDigits, "");
    type("75");
    press(GLFW_KEY_P);
    EXPECT_EQ(settings.refreshRate, 75);
}

// The settings file's range, one line on stdout either way, and the same words on screen.
TEST_F(InputCallbacks, TypedRateTakesTheSettingsRangeAndSaysWhatItSet) {
    struct Case { std::string typed; int rate; const char* said; const char* shown; };
    const Case cases[] = {
        {"1", 1, "Frame cap set to 1 frames", "FRAME CAP 1"},
        {"01000", 1000, "Frame cap set to 1000 frames", "FRAME CAP 1000"},
        {"1001", 60, "Typed refresh_rate 1001 is not a number from 1 to 1000; keeping 60.",
         "FRAME CAP 60 (TYPE 1 TO 1000)"},
        {"000", 60, "Typed refresh_rate 000 is not", "FRAME CAP 60 (TYPE 1 TO 1000)"},
        {"99999", 60, "Typed refresh_rate 99999 is not", "FRAME CAP 60 (TYPE"},
        {std::string(400, '9'), 60, "is not a number from 1 to 1000; keeping 60.", "FRAME CAP 60 (TYPE"},
    };
    for (const Case& c : cases) {
        settings.refreshRate = 60;
        frameCapNote = FrameCapNote{};
        press(GLFW_KEY_P);
        type(c.typed.c_str());
        testing::internal::CaptureStdout();
        press(GLFW_KEY_P);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(settings.refreshRate, c.rate) << c.typed;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
        EXPECT_NE(printed.find(c.said), std::string::npos) << printed;
        EXPECT_EQ(frameCapNote.text().substr(0, std::string(c.shown).size()), c.shown) << c.typed;
        for (const PixelRect& area : {PixelRect{0, 0, 800, 800}, PixelRect{0, 0, 160, 900}}) {
            GlyphQuads quads;
            frameCapNote.layOut(area.width, area.height, quads);
            EXPECT_GT(quads.quadCount(), 1u);
            for (std::size_t i = 0; i < quads.quadCount(); ++i)
                EXPECT_TRUE(area.contains(quads.quadRect(i))) << c.typed << " quad " << i;
        }
        frameCapNote.age(FrameCapNote::kShownSeconds - 0.1f);
        EXPECT_TRUE(frameCapNote.shown()) << c.typed;
        frameCapNote.age(0.2f);
        EXPECT_FALSE(frameCapNote.shown()) << c.typed;
        GlyphQuads none;
        frameCapNote.layOut(800.0f, 800.0f, none);
        EXPECT_EQ(none.quadCount(), 0u) << c.typed;
    }
}

TEST_F(InputCallbacks, LeavingFreeCameraRestoresTheSavedPose) {
    camera->position = glm::vec3(1.0f, 2.0f, 3.0f);
    press(GLFW_KEY_P);
    const glm::mat4 saved = camera->viewProjection;
    camera->position = glm::vec3(50.0f, 60.0f, 70.0f);
    camera->viewProjection = glm::mat4(2.0f);
    camera->firstMouse = false;
    press(GLFW_KEY_P);
    EXPECT_EQ(camera->position, glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(camera->viewProjection, saved);
    EXPECT_TRUE(camera->firstMouse);
    EXPECT_EQ(camera->front, glm::vec3(0.0f, -0.1f, -1.0f));
    EXPECT_EQ(camera->right, glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(camera->up, glm::vec3(0.0f, 1.0f, 0.0f));
}

TEST_F(InputCallbacks, RestartOnlyAfterTheMatchEnded) {
    press(GLFW_KEY_R);
    EXPECT_FALSE(toggles.restartRequested);
    menus.tick(0.0f, true, 0.0f);  // a side has fallen
    press(GLFW_KEY_R);
    EXPECT_TRUE(toggles.restartRequested);
    EXPECT_EQ(menus.screen(), Screen::Countdown);
}

TEST_F(InputCallbacks, StatisticsToggleOnPressOfO) {
    press(GLFW_KEY_O);
    EXPECT_TRUE(toggles.showFrameStats);
    release(GLFW_KEY_O);
    EXPECT_TRUE(toggles.showFrameStats);
    press(GLFW_KEY_O);
    EXPECT_FALSE(toggles.showFrameStats);
}

// F3 and F4 each own one bit of the physics debug drawing, flipped when pressed.
TEST_F(InputCallbacks, F3AndF4FlipTheirDebugDrawBitsOnPress) {
    game.debugger = std::make_unique<Debugger>(nullptr);
    press(GLFW_KEY_F3);
    EXPECT_EQ(game.debugger->getDebugMode(), Debugger::kWireframeBit);
    release(GLFW_KEY_F3);
    onKey(nullptr, GLFW_KEY_F3, 0, GLFW_REPEAT, 0);
    EXPECT_EQ(game.debugger->getDebugMode(), Debugger::kWireframeBit);
    press(GLFW_KEY_F4);
    EXPECT_EQ(game.debugger->getDebugMode(), Debugger::kWireframeBit | Debugger::kBoundingBoxBit);
    press(GLFW_KEY_F3);
    EXPECT_EQ(game.debugger->getDebugMode(), Debugger::kBoundingBoxBit);
    release(GLFW_KEY_F4);
    press(GLFW_KEY_F4);
    EXPECT_EQ(game.debugger->getDebugMode(), 0);
    game.debugger.reset();
}

TEST_F(InputCallbacks, ReleaseTriggeredKeysDoNothingWhileHeld) {
    press(GLFW_KEY_F1);
    press(GLFW_KEY_F2);
    press(GLFW_KEY_ESCAPE);
    EXPECT_FALSE(toggles.wireframeMode);
    EXPECT_TRUE(toggles.hudVisible);
    EXPECT_TRUE(toggles.cullingEnabled);
}

TEST_F(InputCallbacks, MinimisingStoresZeroAndChangesNothingElse) {
    const glm::mat4 projection = camera->projection;
    onWindowSize(nullptr, 0, 0);
    EXPECT_EQ(settings.width, 0);
    EXPECT_EQ(settings.height, 0);
    EXPECT_EQ(camera->projection, projection);
    onWindowSize(nullptr, 1024, 0);
    EXPECT_EQ(settings.width, 1024);
    EXPECT_EQ(camera->projection, projection);
}
