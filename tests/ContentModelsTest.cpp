// The generated models under <build>/assets/models, read the way the game reads them:
// assimp with the game's import steps (structural check, triangles, flipped v, invalid
// data rejected, four weights per vertex), skinned models posed with the game's formula
// (a half turn about x, the root transform, the node chain, the offset).

#include "support/GeneratedModels.h"

#include <assimp/scene.h>
#include <glm/glm.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kGameTicksPerSecond = 800.0;
constexpr unsigned kShaderBoneSlots = 100;
constexpr float kTileLength = 3928.0f / 3.0f;  // file units; the game scales tiles by 3

float largestRadius(const std::vector<glm::vec3>& points) {
    float radius = 0.0f;
    for (const glm::vec3& p : points) radius = std::max(radius, glm::length(p));
    return radius;
}

const char* const kModelFiles[] = {"FlagAnimationsFINAL_mk2.dae", "BossAnimation.dae", "BossShield.dae",
                                   "PlayerProjectile.dae", "test1dae.dae", "BossProjectileTest02.dae",
                                   "missileTest.dae", "Landscape.obj"};

}  // namespace

TEST(ContentModels, EveryModelImportsWithUnitNormalsAndTextureCoordinates) {
    for (const char* file : kModelFiles) {
        SCOPED_TRACE(file);
        const Imported model(file);
        ASSERT_TRUE(model.usable());
        for (unsigned m = 0; m < model.scene->mNumMeshes; ++m) {
            const aiMesh& mesh = *model.scene->mMeshes[m];
            ASSERT_TRUE(mesh.HasNormals());
            ASSERT_TRUE(mesh.HasTextureCoords(0));
            EXPECT_GT(mesh.mNumFaces, 0u);
            for (unsigned v = 0; v < mesh.mNumVertices; ++v)
                ASSERT_NEAR(mesh.mNormals[v].Length(), 1.0f, 0.01f) << "vertex " << v;
        }
    }
}

TEST(ContentModels, AnimatedModelsWeighEveryVertexFullyWithAtMostFourBones) {
    for (const char* file : {"FlagAnimationsFINAL_mk2.dae", "BossAnimation.dae"}) {
        SCOPED_TRACE(file);
        const Imported model(file);
        ASSERT_TRUE(model.usable());
        std::map<std::string, int> bones;
        for (unsigned m = 0; m < model.scene->mNumMeshes; ++m) {
            const aiMesh& mesh = *model.scene->mMeshes[m];
            ASSERT_TRUE(mesh.HasBones());
            std::vector<float> sum(mesh.mNumVertices, 0.0f);
            std::vector<int> influences(mesh.mNumVertices, 0);
            for (unsigned b = 0; b < mesh.mNumBones; ++b) {
                bones[mesh.mBones[b]->mName.C_Str()] = 1;
                for (unsigned w = 0; w < mesh.mBones[b]->mNumWeights; ++w) {
                    const aiVertexWeight& weight = mesh.mBones[b]->mWeights[w];
                    sum[weight.mVertexId] += weight.mWeight;
                    ++influences[weight.mVertexId];
                }
            }
            for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
                ASSERT_NEAR(sum[v], 1.0f, 1e-3f) << "vertex " << v;
                ASSERT_LE(influences[v], 4) << "vertex " << v;  // the game keeps four
            }
        }
        EXPECT_GE(bones.size(), 5u);
        EXPECT_LE(bones.size(), kShaderBoneSlots);
    }
}

TEST(ContentModels, AnimationsLoopInOneToFourSecondsAtTheGamesTickRate) {
    for (const char* file : {"FlagAnimationsFINAL_mk2.dae", "BossAnimation.dae"}) {
        SCOPED_TRACE(file);
        const Imported model(file);
        ASSERT_TRUE(model.usable());
        ASSERT_GE(model.scene->mNumAnimations, 1u);
        const aiAnimation& animation = *model.scene->mAnimations[0];
        const double seconds = animation.mDuration / kGameTicksPerSecond;
        EXPECT_GE(seconds, 1.0);
        EXPECT_LE(seconds, 4.0);
        EXPECT_GE(animation.mNumChannels, 3u);
        for (unsigned c = 0; c < animation.mNumChannels; ++c) {
            const aiNodeAnim& channel = *animation.mChannels[c];
            ASSERT_NE(findNode(model.scene->mRootNode, channel.mNodeName.C_Str()), nullptr) << channel.mNodeName.C_Str();
            ASSERT_GE(channel.mNumRotationKeys, 2u);
        }
    }
}

// The pose wraps from the end of the loop to its start: the last keys must be the first.
TEST(ContentModels, AnimationsEndInThePoseTheyStartIn) {
    for (const char* file : {"FlagAnimationsFINAL_mk2.dae", "BossAnimation.dae"}) {
        SCOPED_TRACE(file);
        const Imported model(file);
        ASSERT_TRUE(model.usable());
        const aiAnimation& animation = *model.scene->mAnimations[0];
        for (unsigned c = 0; c < animation.mNumChannels; ++c) {
            const aiNodeAnim& ch = *animation.mChannels[c];
            SCOPED_TRACE(ch.mNodeName.C_Str());
            EXPECT_NEAR(ch.mRotationKeys[ch.mNumRotationKeys - 1].mTime, animation.mDuration, 1e-3);
            const aiQuaternion first = ch.mRotationKeys[0].mValue;
            const aiQuaternion last = ch.mRotationKeys[ch.mNumRotationKeys - 1].mValue;
            const float dot = first.x * last.x + first.y * last.y + first.z * last.z + first.w * last.w;
            EXPECT_NEAR(std::fabs(dot), 1.0f, 1e-4f);
            const aiVector3D moved = ch.mPositionKeys[ch.mNumPositionKeys - 1].mValue - ch.mPositionKeys[0].mValue;
            EXPECT_NEAR(moved.Length(), 0.0f, 1e-4f);
        }
    }
}

TEST(ContentModels, CraftIsAboutTwoPointFourLongWithItsNoseTowardMinusZ) {
    const Imported model("FlagAnimationsFINAL_mk2.dae");
    ASSERT_TRUE(model.usable());
    const std::vector<glm::vec3> points = gameSpaceVertices(*model.scene);
    const Bounds bounds = boundsOf(points);
    EXPECT_NEAR(bounds.size().z, 2.5f, 0.3f);
    EXPECT_NEAR(0.5f * (bounds.low.z + bounds.high.z), 0.0f, 0.2f);  // centred on its capsule
    EXPECT_GT(bounds.size().x, 2.0f);                                  // wings
    // The nose is a point at -z; the tail end is as wide as the wings and streamers.
    Bounds nose;
    Bounds tail;
    for (const glm::vec3& p : points) {
        if (p.z < bounds.low.z + 0.3f) nose.add(p);
        if (p.z > bounds.high.z - 0.6f) tail.add(p);
    }
    EXPECT_LT(nose.size().x, 0.5f);
    EXPECT_GT(tail.size().x, 2.0f);
    EXPECT_GT(bounds.high.y, -bounds.low.y);  // the fins stand up
}

TEST(ContentModels, BossIsAboutSixWideEightTallAndFacesPlusZ) {
    const Imported model("BossAnimation.dae");
    ASSERT_TRUE(model.usable());
    const Bounds bounds = boundsOf(gameSpaceVertices(*model.scene));
    EXPECT_NEAR(bounds.size().x, 6.5f, 1.0f);
    EXPECT_NEAR(bounds.size().y, 8.0f, 0.6f);
    EXPECT_NEAR(0.5f * (bounds.low.y + bounds.high.y), 0.0f, 0.5f);
    EXPECT_GT(bounds.high.z, -bounds.low.z);  // the eye and the cannons reach toward the player
    EXPECT_LT(bounds.high.z, 6.5f);           // and stay inside the shield (radius 4.5, 2 ahead)
}

TEST(ContentModels, ShotsAndShieldHaveTheirBodiesRadii) {
    const struct {
        const char* file;
        float radius;
    } bodies[] = {{"PlayerProjectile.dae", 0.4f}, {"test1dae.dae", 4.0f}, {"BossProjectileTest02.dae", 0.8f},
                  {"BossShield.dae", 4.5f}};
    for (const auto& body : bodies) {
        SCOPED_TRACE(body.file);
        const Imported model(body.file);
        ASSERT_TRUE(model.usable());
        EXPECT_EQ(model.scene->mMeshes[0]->mNumBones, 0u);
        const std::vector<glm::vec3> points = gameSpaceVertices(*model.scene);
        EXPECT_NEAR(largestRadius(points), body.radius, body.radius * 0.05f);
        EXPECT_NEAR(glm::length(boundsOf(points).high + boundsOf(points).low), 0.0f, 0.05f);  // centred
    }
}

// The missile is drawn with its body's rotation, and steering turns the capsule's local
// +y axis onto the flight direction: the nose must be at +y.
// Seen nose first, its halo round the warhead makes it about as wide as an orb (1.6).
TEST(ContentModels, MissileIsTwoPointTwoLongWithItsNoseAlongPlusY) {
    const Imported model("missileTest.dae");
    ASSERT_TRUE(model.usable());
    const std::vector<glm::vec3> points = gameSpaceVertices(*model.scene);
    const Bounds bounds = boundsOf(points);
    EXPECT_NEAR(bounds.size().y, 2.2f, 0.1f);
    EXPECT_NEAR(bounds.size().x, 1.66f, 0.05f);
    EXPECT_NEAR(bounds.size().z, 1.66f, 0.05f);
    const auto top = std::max_element(points.begin(), points.end(), [](auto& a, auto& b) { return a.y < b.y; });
    EXPECT_LT(glm::length(glm::vec2(top->x, top->z)), 0.02f);  // a pointed nose on the axis
    Bounds fins;
    Bounds halo;
    for (const glm::vec3& p : points) {
        const float out = glm::length(glm::vec2(p.x, p.z));
        if (out > 0.35f && out < 0.65f) fins.add(p);
        if (out >= 0.65f) halo.add(p);
    }
    EXPECT_LT(fins.high.y, 0.0f);  // the fins are at the tail...
    EXPECT_GT(halo.low.y, 0.0f);   // ...the halo round the warhead
}

namespace {

struct Tile {
    Tile() : model("Landscape.obj") {}
    Imported model;
    const aiMesh& mesh() const { return *model.scene->mMeshes[0]; }
};

}  // namespace

TEST(ContentLandscape, SpansExactlyOneTileAlongMinusZAndStaysBelowTheArenaFloor) {
    const Tile tile;
    ASSERT_TRUE(tile.model.usable());
    ASSERT_EQ(tile.model.scene->mNumMeshes, 1u);
    Bounds bounds;
    for (unsigned v = 0; v < tile.mesh().mNumVertices; ++v) {
        const aiVector3D& p = tile.mesh().mVertices[v];
        bounds.add({p.x, p.y, p.z});
    }
    EXPECT_NEAR(bounds.high.z, 0.0f, 1e-3f);
    EXPECT_NEAR(bounds.low.z, -kTileLength, 1e-3f);
    EXPECT_LT(3.0f * bounds.high.y - 30.0f, -5.0f);  // the game scales by 3 and lowers by 30
    // Wide enough for a 16:9 view (vertical field 60 degrees) to the far plane at 100,
    // from anywhere the craft can fly (14.5 either side).
    const float halfView = 100.0f * std::tan(glm::radians(30.0f)) * 16.0f / 9.0f;
    EXPECT_GT(3.0f * std::min(-bounds.low.x, bounds.high.x), halfView + 14.5f);
}

TEST(ContentLandscape, JoiningEdgesMatchInHeightAndNormal) {
    const Tile tile;
    ASSERT_TRUE(tile.model.usable());
    std::map<long, std::pair<aiVector3D, aiVector3D>> front;  // x in millimetres -> (position, normal)
    std::map<long, std::pair<aiVector3D, aiVector3D>> back;
    for (unsigned v = 0; v < tile.mesh().mNumVertices; ++v) {
        const aiVector3D& p = tile.mesh().mVertices[v];
        const long key = std::lround(p.x * 1000.0f);
        if (std::fabs(p.z) < 1e-3f) front[key] = {p, tile.mesh().mNormals[v]};
        if (std::fabs(p.z + kTileLength) < 1e-3f) back[key] = {p, tile.mesh().mNormals[v]};
    }
    ASSERT_GT(front.size(), 20u);
    ASSERT_EQ(front.size(), back.size());
    for (const auto& [x, edge] : front) {
        ASSERT_EQ(back.count(x), 1u) << x;
        EXPECT_FLOAT_EQ(edge.first.y, back[x].first.y) << "x = " << edge.first.x;
        EXPECT_NEAR((edge.second - back[x].second).Length(), 0.0f, 1e-3f) << "x = " << edge.first.x;
    }
}

TEST(ContentLandscape, ACanyonRunsAlongItsMiddle) {
    const Tile tile;
    ASSERT_TRUE(tile.model.usable());
    double middle = 0.0;
    double sides = 0.0;
    int middleCount = 0;
    int sideCount = 0;
    for (unsigned v = 0; v < tile.mesh().mNumVertices; ++v) {
        const aiVector3D& p = tile.mesh().mVertices[v];
        if (std::fabs(p.x) < 3.0f) {
            middle += p.y;
            ++middleCount;
        } else if (std::fabs(p.x) > 25.0f) {
            sides += p.y;
            ++sideCount;
        }
    }
    ASSERT_GT(middleCount, 0);
    ASSERT_GT(sideCount, 0);
    EXPECT_GT(sides / sideCount - middle / middleCount, 2.5);  // 7.5 world units of wall
}

TEST(ContentLandscape, IsLightEnoughForSoftwareRenderingAndRepeatsItsTexture) {
    const Tile tile;
    ASSERT_TRUE(tile.model.usable());
    EXPECT_LE(tile.mesh().mNumFaces, 60000u);  // per tile; the game draws two
    float highestV = 0.0f;
    for (unsigned v = 0; v < tile.mesh().mNumVertices; ++v)
        highestV = std::max(highestV, std::fabs(tile.mesh().mTextureCoords[0][v].y));
    EXPECT_GT(highestV, 50.0f);
}
