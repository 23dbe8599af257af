// The craft must show whole, above the player's bars, at the start and all through a
// strafe from wall to wall: its bounds as the game draws it (bind pose), seen through the
// game's own camera as the shell moves it (the start pose, then followForward after
// every update).

#include "app/SceneSetup.h"
#include "game/HudLayout.h"
#include "support/GeneratedModels.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

namespace {

// The top edge of the player's health and ammunition bars, down the window.
const float kBarsTop = std::min(kPlayerHealthBar.y, kAmmoBar.y);

struct WindowSize {
    float width;
    float height;
};
const WindowSize kWindowSizes[] = {{800.0f, 800.0f}, {1280.0f, 720.0f}, {1920.0f, 1080.0f}};

std::array<glm::vec3, 8> corners(const Bounds& b) {
    std::array<glm::vec3, 8> out;
    for (int i = 0; i < 8; ++i)
        out[static_cast<std::size_t>(i)] = glm::vec3(i & 1 ? b.high.x : b.low.x, i & 2 ? b.high.y : b.low.y,
                                                     i & 4 ? b.high.z : b.low.z);
    return out;
}

Bounds craftBounds() {
    const Imported craft("FlagAnimationsFINAL_mk2.dae");
    EXPECT_TRUE(craft.usable());
    return craft.usable() ? boundsOf(gameSpaceVertices(*craft.scene)) : Bounds{};
}

// The craft's bounds where the game draws them now, in window fractions (y down).
Bounds onScreen(HeadlessGame& h, const Bounds& craft) {
    const glm::mat4 viewProjection = h.camera->projection * h.camera->view;
    const btVector3 origin = h.player().position();
    const glm::vec3 at(origin.x(), origin.y(), origin.z());
    Bounds screen;
    for (const glm::vec3& corner : corners(craft)) {
        const std::optional<glm::vec2> fraction = windowFraction(at + corner, viewProjection);
        EXPECT_TRUE(fraction.has_value());
        if (fraction) screen.add(glm::vec3(*fraction, 0.0f));
    }
    return screen;
}

class Framing : public ::testing::TestWithParam<WindowSize> {
protected:
    Framing() {
        resetCamera(*h.camera);
        h.camera->setViewportSize(GetParam().width, GetParam().height);
        shellFrame();
    }
    // One drawn frame as the shell runs it: the game's step, then the view from the last.
    // The craft's place on screen joins everywhere it has been seen since the last check.
    void shellFrame() {
        h.frame();
        h.camera->lookBetweenSteps(1.0f, true);
        const Bounds now = onScreen(h, craft);
        seen.add(now.low);
        seen.add(now.high);
    }
    void expectWholeAndAboveTheBars(const char* when) {
        SCOPED_TRACE(when);
        EXPECT_LT(seen.high.y, kBarsTop) << "the craft's lowest point reaches the bars";
        EXPECT_GT(seen.low.y, 0.0f);
        EXPECT_GT(seen.low.x, 0.0f) << "the craft leaves the window on the left";
        EXPECT_LT(seen.high.x, 1.0f) << "the craft leaves the window on the right";
        seen = Bounds{};
    }
    // Holds a movement key until the side wall has stopped the sensor (the wall's rule
    // clears the key's flag), then lets the craft settle.
    void strafe(bool ButtonPressedNew::*key) {
        h.buttons.get()->*key = true;
        for (int i = 0; i < 180; ++i) shellFrame();
        h.buttons.get()->*key = false;
    }

    HeadlessGame h;
    const Bounds craft = craftBounds();
    Bounds seen;  ///< window fractions, y down
};

}  // namespace

TEST_P(Framing, CraftShowsWholeAboveTheBarsAtStartAndAfterAFullStrafe) {
    expectWholeAndAboveTheBars("at start");
    strafe(&ButtonPressedNew::d);
    EXPECT_GT(h.player().position().x(), 13.0f);  // the right wall stopped it
    expectWholeAndAboveTheBars("strafing right");
    strafe(&ButtonPressedNew::a);
    EXPECT_LT(h.player().position().x(), -13.0f);
    expectWholeAndAboveTheBars("strafing left");
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, Framing, ::testing::ValuesIn(kWindowSizes),
                         [](const ::testing::TestParamInfo<WindowSize>& size) {
                             return std::to_string(static_cast<int>(size.param.width)) + "x" +
                                    std::to_string(static_cast<int>(size.param.height));
                         });
