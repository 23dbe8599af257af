// The running game photographed from outside: does what reaches the window look like
// the sky over a lit landscape, at the start size and after a resize?

#include "support/RunningGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <utility>

namespace {

// Between the boss's health bar (y 0.05..0.1) and the horizon; the boss hovers lower.
const Screenshot::Region kSky{0.02f, 0.12f, 0.98f, 0.3f};
// The near ground on either side of the craft, above the player's bars. Farther off,
// the haze alone is warm and bright even over ground that is drawn black.
const Screenshot::Region kGround[] = {
    {0.02f, 0.72f, 0.3f, 0.88f},
    {0.7f, 0.72f, 0.98f, 0.88f},
};

// Thin strips along the four edges: where a viewport or a target that missed the
// resize leaves the clear colour.
const Screenshot::Region kEdges[] = {
    {0.0f, 0.0f, 0.03f, 1.0f},  // left
    {0.97f, 0.0f, 1.0f, 1.0f},  // right
    {0.0f, 0.0f, 1.0f, 0.03f},  // top
    {0.0f, 0.97f, 1.0f, 1.0f},  // bottom
};

constexpr double kStartTimeout = 60.0;  // seconds: loading the models is slow on llvmpipe
constexpr auto kSettle = std::chrono::seconds(2);
// Lit ground: red over 94 and a roughness (mean luminance step between neighbours)
// near 1 here; ground without its textures, black under the haze: below 80 and 0.3.
constexpr float kLitGroundRed = 80.0f;
constexpr float kTexturedRoughness = 0.45f;

// The window's white, the scene's (0.1, 0.1, 0.1) after grading, or black: a flat,
// colourless fill that no part of the picture has.
bool isFillColour(const glm::u8vec3& p) {
    const int spread = std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b});
    return spread < 8 && (p.r < 45 || p.r > 240);
}

std::string describe(const Screenshot::ColourStats& s) {
    return "mean " + describeColour(s.mean) + ", deviation " + describeColour(s.deviation);
}

float largest(const glm::vec3& v) { return std::max({v.r, v.g, v.b}); }

void expectLitTexturedGround(const Screenshot& shot) {
    for (const Screenshot::Region& side : kGround) {
        const Screenshot::ColourStats ground = shot.statsOf(side);
        EXPECT_GT(ground.mean.r, ground.mean.g) << "not warm: " << describe(ground);
        EXPECT_GT(ground.mean.g, ground.mean.b) << "not warm: " << describe(ground);
        EXPECT_GT(ground.mean.r, kLitGroundRed) << "unlit: " << describe(ground);
        EXPECT_GT(shot.roughnessOf(side), kTexturedRoughness) << "untextured: " << describe(ground);
    }
}

void expectFilledToTheEdges(const Screenshot& shot) {
    for (const Screenshot::Region& edge : kEdges)
        EXPECT_LT(shot.fractionOf(edge, isFillColour), 0.1f)
            << "edge strip x " << edge.x0 << ".." << edge.x1 << ", y " << edge.y0 << ".." << edge.y1
            << " shows a flat fill: " << describe(shot.statsOf(edge));
}

// Polls, because the resize reaches the game's callback and the next drawn frame a
// moment after xdotool returns.
bool waitForSize(const RunningGame& game, int width, int height, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (game.size() == std::make_pair(width, height)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

}  // namespace

// At full size: on a busy machine the automatic render scale would blur the textures away.
TEST(GameScreenshot, ShowsAVariedNightSkyAboveATexturedWarmLandscape) {
    const RunningGame game(RunningGame::WindowSettings{{"render_scale", "1.0"}});
    ASSERT_TRUE(game.hasWindow()) << game.output();
    ASSERT_FALSE(game.waitForFirstFrame(kStartTimeout).empty()) << game.output();
    std::this_thread::sleep_for(kSettle);
    const Screenshot shot = game.screenshot();
    ASSERT_EQ(shot.width(), 800);
    ASSERT_EQ(shot.height(), 800);

    const Screenshot::ColourStats sky = shot.statsOf(kSky);
    EXPECT_GT(sky.mean.b, sky.mean.g) << "not purple or blue: " << describe(sky);
    EXPECT_GT(sky.mean.r, sky.mean.g) << "not purple: " << describe(sky);
    EXPECT_LT(largest(sky.mean), 170.0f) << "not a dark sky: " << describe(sky);
    EXPECT_GT(largest(sky.deviation), 25.0f) << "a flat fill, not the sky: " << describe(sky);

    expectLitTexturedGround(shot);
    expectFilledToTheEdges(shot);
    EXPECT_FALSE(game.reportedOpenGlErrors()) << game.output();
}

// The scene at half the window's size: the target must follow the resize at its scale.
TEST(GameScreenshot, AfterAResizeThePictureStillFillsTheWindow) {
    const RunningGame game(RunningGame::WindowSettings{{"render_scale", "0.5"}});
    ASSERT_TRUE(game.hasWindow()) << game.output();
    ASSERT_FALSE(game.waitForFirstFrame(kStartTimeout).empty()) << game.output();

    game.resize(1280, 720);
    ASSERT_TRUE(waitForSize(game, 1280, 720, 10.0)) << "the window kept its size";
    std::this_thread::sleep_for(kSettle);
    const Screenshot shot = game.screenshot();
    ASSERT_EQ(shot.width(), 1280);
    ASSERT_EQ(shot.height(), 720);

    expectFilledToTheEdges(shot);
    const Screenshot::ColourStats sky = shot.statsOf(kSky);
    EXPECT_GT(sky.mean.b, sky.mean.g) << "no sky across the top: " << describe(sky);
    expectLitTexturedGround(shot);
    EXPECT_TRUE(RunningGame::showsFullBossHealthBar(shot)) << "the HUD does not fit the new size";
    EXPECT_FALSE(game.reportedOpenGlErrors()) << game.output();
}
