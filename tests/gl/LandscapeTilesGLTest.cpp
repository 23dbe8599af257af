#include "app/LandscapeTiles.h"

#include "render/CustomCamera.h"
#include "effects/PostProcessingFrameBuffer.h"
#include "framework/Shader.h"
#include "render/stbTexture.h"
#include "support/GlContext.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <functional>
#include <iostream>
#include <vector>

namespace {

glm::mat4 startPlacement(float extraZ) {
    return glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -30.0f, extraZ)) *
           glm::scale(glm::mat4(1.0f), glm::vec3(3.0f));
}

float tileZ(const Model& tile) { return tile.meshes.front().modelMatrix[3].z; }

// One view of the landscape with the game's lens (60 degrees, clip planes 0.1 and 100).
struct View {
    const char* name;
    glm::vec3 eye;
    glm::vec3 lookAt;
};

// What one way of drawing the tiles puts on screen, and how many triangles it sends.
struct Drawn {
    std::vector<glm::u8vec3> pixels;
    GLuint triangles = 0;
};

// The tiles of the game's own generated landscape, loaded from the build's assets.
class Landscape : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        tiles = std::make_unique<LandscapeTiles>();
        ASSERT_FALSE(tiles->tile1.meshes.empty());
        tiles->place();
    }
    std::unique_ptr<LandscapeTiles> tiles;
};

}  // namespace

TEST_F(Landscape, StartsScaledLoweredAndOneTileApart) {
    for (const Mesh& mesh : tiles->tile1.meshes) EXPECT_EQ(mesh.modelMatrix, startPlacement(0.0f));
    for (const Mesh& mesh : tiles->tile2.meshes)
        EXPECT_EQ(mesh.modelMatrix, startPlacement(-kLandscapeTileLength));
    EXPECT_NE(tiles->tile1.meshes.front().gl, tiles->tile2.meshes.front().gl);  // own GL objects
}

TEST_F(Landscape, TileBehindLeapsTwoLengthsOncePerThreshold) {
    tiles->followPlayer(-3927.0f);
    EXPECT_EQ(tileZ(tiles->tile1), 0.0f);

    tiles->followPlayer(-3928.0f);
    EXPECT_EQ(tileZ(tiles->tile1), -2.0f * kLandscapeTileLength);
    EXPECT_TRUE(tiles->landscapeToggle);
    EXPECT_EQ(tiles->landscapeLeapCount, 2.0f);

    tiles->followPlayer(-5000.0f);  // the next threshold is two lengths out
    EXPECT_EQ(tileZ(tiles->tile2), -kLandscapeTileLength);

    tiles->followPlayer(-7856.0f);
    EXPECT_EQ(tileZ(tiles->tile2), -3.0f * kLandscapeTileLength);
    EXPECT_FALSE(tiles->landscapeToggle);
}

TEST_F(Landscape, AtMostOneLeapPerFrameAndNoneBackwards) {
    tiles->followPlayer(400.0f);
    EXPECT_EQ(tiles->landscapeLeapCount, 1.0f);
    tiles->followPlayer(-20000.0f);
    EXPECT_EQ(tiles->landscapeLeapCount, 2.0f);
    EXPECT_EQ(tileZ(tiles->tile2), -kLandscapeTileLength);
}

TEST_F(Landscape, PlacingAgainStartsOverWithTileOneNext) {
    tiles->followPlayer(-3928.0f);
    tiles->followPlayer(-7856.0f);
    tiles->place();
    EXPECT_EQ(tiles->tile1.meshes.front().modelMatrix, startPlacement(0.0f));
    EXPECT_EQ(tiles->tile2.meshes.front().modelMatrix, startPlacement(-kLandscapeTileLength));
    tiles->followPlayer(-3928.0f);
    EXPECT_EQ(tileZ(tiles->tile1), -2.0f * kLandscapeTileLength);
}

TEST_F(Landscape, TilesAreDressedDifferently) {
    tiles->dress();
    EXPECT_EQ(tiles->tile1.meshes.front().model_rgbColor, glm::vec3(1.0f, 1.0f, 0.4f));
    EXPECT_EQ(tiles->tile2.meshes.front().model_rgbColor, glm::vec3(1.0f, 0.0f, 0.4f));
    ASSERT_TRUE(tiles->tile1.texture && tiles->tile2.texture);
    EXPECT_TRUE(tiles->tile1.texture->loaded);
    EXPECT_NE(tiles->tile1.texture->id, tiles->tile2.texture->id);
    EXPECT_FLOAT_EQ(tiles->tile2.materialCoefficients.x, 0.3f);
}

// The cells leave out only what the view cannot reach: every view shows the picture the
// whole tiles give, and down the track it takes a small share of their triangles.
TEST_F(Landscape, CellsDrawWhatTheWholeTilesDrawFromAShareOfTheTriangles) {
    constexpr int kSize = 128;
    tiles->dress();
    const auto shader = std::make_shared<Shader>("texture.vert", "texture.frag");
    PostProcessingFrameBuffer target(kSize, kSize);
    const glm::mat4 lens = perspectiveProjection(60.0f, 1.0f, 0.1f, 100.0f);
    GLuint query = 0;
    glGenQueries(1, &query);

    const auto draw = [&](const View& view, const std::function<void(const glm::mat4&)>& tilesWith) {
        const glm::mat4 viewProjection =
            lens * glm::lookAt(view.eye, view.lookAt, glm::vec3(0.0f, 1.0f, 0.0f));
        glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
        glViewport(0, 0, kSize, kSize);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glUseProgram(shader->program);
        shader->setUniform("viewProjMatrix", viewProjection);
        shader->setUniform("camera_world", view.eye);
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        tilesWith(viewProjection);
        glEndQuery(GL_PRIMITIVES_GENERATED);
        Drawn drawn;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &drawn.triangles);
        drawn.pixels.resize(kSize * kSize);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, drawn.pixels.data());
        return drawn;
    };
    const auto whole = [&](const glm::mat4&) {
        tiles->tile1.draw(shader);
        tiles->tile2.draw(shader);
    };
    const auto inCells = [&](const glm::mat4& viewProjection) { tiles->draw(shader, viewProjection); };

    const View views[] = {
        {"down the track", {0.0f, 2.0f, 8.0f}, {0.0f, 0.0f, -100.0f}},
        {"back along the track", {0.0f, 2.0f, -60.0f}, {0.0f, -10.0f, 40.0f}},
        {"steeply down from high above", {30.0f, 60.0f, -200.0f}, {0.0f, -20.0f, -210.0f}},
        {"across the join of the two tiles", {-200.0f, 2.0f, -3900.0f}, {-180.0f, -20.0f, -4000.0f}},
        {"beyond the far end, looking away", {0.0f, 2.0f, -8000.0f}, {0.0f, 0.0f, -9000.0f}},
    };
    for (const View& view : views) {
        SCOPED_TRACE(view.name);
        const Drawn all = draw(view, whole);
        const Drawn culled = draw(view, inCells);
        const auto differing = std::mismatch(culled.pixels.begin(), culled.pixels.end(), all.pixels.begin());
        EXPECT_TRUE(differing.first == culled.pixels.end())
            << "first different pixel: " << (differing.first - culled.pixels.begin());
        EXPECT_LE(culled.triangles, all.triangles);
    }
    const Drawn all = draw(views[0], whole);
    const Drawn culled = draw(views[0], inCells);
    const auto ground = std::count_if(all.pixels.begin(), all.pixels.end(),
                                      [](const glm::u8vec3& pixel) { return pixel != glm::u8vec3(0); });
    EXPECT_GT(ground, kSize * kSize / 4);  // the pictures compared show the landscape
    EXPECT_GT(culled.triangles, 0u);
    EXPECT_LT(culled.triangles * 10, all.triangles);
    std::cout << "down the track: " << culled.triangles << " of " << all.triangles << " triangles\n";
    EXPECT_EQ(draw(views[4], inCells).triangles, 0u);
    glDeleteQueries(1, &query);
}
