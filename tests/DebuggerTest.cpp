#include "game/Debugger.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

TEST(Debugger, StartsInModeZeroInstalledInTheWorld) {
    HeadlessGame h;
    ASSERT_NE(h.game.debugger, nullptr);
    EXPECT_EQ(h.game.debugger->getDebugMode(), 0);
    EXPECT_EQ(h.game.world->getDebugDrawer(), h.game.debugger.get());
}

TEST(Debugger, ModeZeroCollectsNothingAndMakesNoBuffers) {
    HeadlessGame h;
    h.frames(3);
    h.game.world->debugDrawWorld();
    EXPECT_TRUE(h.game.debugger->collectedLines().empty());
    EXPECT_EQ(h.game.debugger->vertexArrayName(), 0u);
}

TEST(Debugger, WireframeModeCollectsTheWorldsShapes) {
    HeadlessGame h;
    h.game.debugger->toggleWireframes();
    h.game.world->debugDrawWorld();
    const auto& lines = h.game.debugger->collectedLines();
    EXPECT_FALSE(lines.empty());
    EXPECT_EQ(lines.size() % 2, 0u);  // two points a segment
}

TEST(Debugger, F3TwiceReturnsToZeroAndF3ThenF4GivesThree) {
    Debugger debugger(nullptr);
    debugger.toggleWireframes();
    EXPECT_EQ(debugger.getDebugMode(), 1);
    debugger.toggleWireframes();
    EXPECT_EQ(debugger.getDebugMode(), 0);
    debugger.toggleWireframes();
    debugger.toggleBoundingBoxes();
    EXPECT_EQ(debugger.getDebugMode(), 3);
    debugger.toggleBoundingBoxes();
    EXPECT_EQ(debugger.getDebugMode(), 1);
}

TEST(Debugger, ContactPointGivesOneSegmentAlongTheNormalOfLengthDistance) {
    Debugger debugger(nullptr);
    debugger.drawContactPoint({1.0f, 2.0f, 3.0f}, {0.0f, 1.0f, 0.0f}, 0.25f, 7, {1, 0, 0});
    const auto& lines = debugger.collectedLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(lines[1], glm::vec3(1.0f, 2.25f, 3.0f));
}

TEST(Debugger, LinesKeepEmissionOrderAndIgnoreColour) {
    Debugger debugger(nullptr);
    debugger.drawLine({0, 0, 0}, {1, 0, 0}, {1, 0, 0});
    debugger.drawLine({2, 0, 0}, {3, 0, 0}, {0, 1, 0}, {0, 0, 1});  // the two-colour form too
    const auto& lines = debugger.collectedLines();
    ASSERT_EQ(lines.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(lines[i].x, static_cast<float>(i));
}
