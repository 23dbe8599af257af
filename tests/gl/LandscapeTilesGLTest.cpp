#include "app/LandscapeTiles.h"

#include "render/stbTexture.h"
#include "support/GlContext.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

glm::mat4 startPlacement(float extraZ) {
    return glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -30.0f, extraZ)) *
           glm::scale(glm::mat4(1.0f), glm::vec3(3.0f));
}

float tileZ(const Model& tile) { return tile.meshes.front().modelMatrix[3].z; }

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
