#include "game/ButtonPressedNew.h"
#include "render/CustomCamera.h"
#include "framework/Shader.h"
#include "game/BulletConversion.h"
#include "game/Enemy.h"
#include "game/ControlFrame.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/Projectile.h"
#include "render/HUD.h"
#include "render/Model.h"
#include "support/GlContext.h"

#include <memory>
#include <string>

namespace {

constexpr float kDt = 1.0f / 60.0f;
const std::string kCube = std::string(QEX_TESTDATA_DIR) + "/models/collada/cube_UTF8BOM.dae";

// The game with graphics on: real HUD bars, models drawn with the built-in shader.
class GameGL : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        shader = std::make_shared<Shader>();
        camera = std::make_shared<CustomCamera>(320.0f, 240.0f, 60.0f, 0.1f, 1000.0f);
        game = std::make_unique<Game>(Graphics::On);
        game->clock = [this] { return time; };
        game->setup(shader, shader, buttons, camera, 320.0f, 240.0f);
        game->createPlayer(Model(), shader, shader);
        game->createBoss(Model(kCube.c_str()), shader, shader);
        game->createArena();
    }
    void TearDown() override { game.reset(); }  // while the context still exists

    void frame() {
        time += kDt;
        game->step(takeControls(*buttons));
        game->placeModels(1.0f);
        game->render(1.0f);
    }

    float time = 50.0f;
    std::shared_ptr<Shader> shader;
    std::shared_ptr<CustomCamera> camera;
    std::shared_ptr<ButtonPressedNew> buttons = std::make_shared<ButtonPressedNew>();
    std::unique_ptr<Game> game;
};

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) EXPECT_NEAR(actual[c][r], expected[c][r], 1e-4f) << c << r;
}

}  // namespace

TEST_F(GameGL, PlayerAndBossBringTheirBarsInDrawingOrder) {
    ASSERT_EQ(game->hudElements.size(), 4u);
    EXPECT_EQ(game->player->getHealthBar(), game->hudElements[0].get());
    EXPECT_NE(game->hudElements[1]->texture, nullptr);  // the heavy-shot icon
    EXPECT_EQ(game->player->getAmmoBar(), game->hudElements[2].get());
    EXPECT_EQ(game->boss->getHealthBar(), game->hudElements[3].get());
    EXPECT_FLOAT_EQ(game->hudElements[3]->x, 0.05f);
    EXPECT_FLOAT_EQ(game->hudElements[3]->w, 0.9f);
}

TEST_F(GameGL, HitsShrinkTheHealthBars) {
    Projectile& shot = *game->armory.firePrimaryShot({0, 100, 0}, shader);
    game->onContactBegin(game->boss->getRigidBody(), shot.getRigidBody());
    EXPECT_FLOAT_EQ(game->boss->getHealthBar()->currentFill, 149.0f);
    EXPECT_FLOAT_EQ(game->boss->getHealthBar()->maxFill, 150.0f);

    Projectile& bossShot = *game->armory.fireBossShot({0, 100, 0}, {0, 0, 1}, 0.05f, shader);
    game->onContactBegin(bossShot.getRigidBody(), game->player->getRigidBody());
    EXPECT_FLOAT_EQ(game->player->getHealthBar()->currentFill, 23.0f);
    EXPECT_FLOAT_EQ(game->player->getHealthBar()->maxFill, 25.0f);
}

TEST_F(GameGL, AmmunitionBarFollowsTheMagazineAndTheReload) {
    HUD& bar = *game->player->getAmmoBar();
    buttons->mouseLeft = true;
    game->updatePlayerWeapons();
    EXPECT_FLOAT_EQ(bar.currentFill, 14.0f);

    buttons->mouseRight = true;
    game->updatePlayerWeapons();
    EXPECT_FLOAT_EQ(bar.currentFill, 0.0f);

    time += 1.0f;  // half way: 7.5 of 15 rounds back
    game->updatePlayerWeapons();
    EXPECT_NEAR(bar.currentFill, 7.5f, 1e-3f);
    time += 1.1f;
    game->updatePlayerWeapons();
    EXPECT_FLOAT_EQ(bar.currentFill, 15.0f);
    EXPECT_EQ(game->player->getAmmo(), 15);
}

TEST_F(GameGL, RenderGivesProjectilesTheirFullPhysicsPose) {
    game->armory.playerShotModel = std::make_shared<Model>(kCube.c_str());
    ASSERT_FALSE(game->armory.playerShotModel->meshes.empty());
    Projectile& shot = *game->armory.firePrimaryShot({5, 0, 0}, shader);
    for (int i = 0; i < 3; ++i) frame();
    expectMatrixNear(shot.getModel()->meshes[0].modelMatrix, toMatrix(shot.motionTransform()));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GameGL, FallenBossIsDrawnWithItsTumblingPose) {
    game->boss->addHealth(-150);
    for (int i = 0; i < 40; ++i) frame();
    const glm::mat4 drawn = game->boss->getModel()->meshes[0].modelMatrix;
    const glm::mat4 body = toMatrix(game->boss->motionTransform());
    for (int c = 0; c < 3; ++c)  // the rotation follows the spinning body
        for (int r = 0; r < 3; ++r) EXPECT_NEAR(drawn[c][r], body[c][r], 1e-4f);
    EXPECT_GT(std::abs(body[0][2]) + std::abs(body[2][0]), 1e-3f);  // it really turned
}

TEST_F(GameGL, DebugLinesAreDrawnOnlyInANonZeroMode) {
    frame();
    EXPECT_EQ(game->debugger->vertexArrayName(), 0u);

    game->debugger->toggleWireframes();
    frame();
    const GLuint first = game->debugger->vertexArrayName();
    EXPECT_NE(first, 0u);
    EXPECT_TRUE(game->debugger->collectedLines().empty());
    frame();
    EXPECT_NE(game->debugger->vertexArrayName(), 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GameGL, RestartRefillsTheBarsItKeeps) {
    game->boss->addHealth(-150);
    frame();
    const HUD* bossBar = game->boss->getHealthBar();
    game->restartMatch(Model(), Model(), 1u);
    ASSERT_EQ(game->hudElements.size(), 4u);
    EXPECT_EQ(game->boss->getHealthBar(), bossBar);
    EXPECT_EQ(game->boss->getHealthBar(), game->hudElements[3].get());
    EXPECT_FLOAT_EQ(game->boss->getHealthBar()->currentFill, 1.0f);
    frame();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(DebuggerGL, DrawLinesUploadsTheBatchAndEmptiesIt) {
    GlContext context;
    ASSERT_TRUE(context.ready());
    auto shader = std::make_shared<Shader>();
    Debugger debugger(shader);
    debugger.drawLine({0, 0, 0}, {1, 1, 1}, {1, 0, 0});
    debugger.drawLines();
    const GLuint vertexArray = debugger.vertexArrayName();
    EXPECT_TRUE(glIsVertexArray(vertexArray));
    EXPECT_TRUE(debugger.collectedLines().empty());

    debugger.drawLines();  // a new batch replaces the old names
    EXPECT_TRUE(glIsVertexArray(debugger.vertexArrayName()));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
