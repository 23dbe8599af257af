// Posing runs on the imported scene alone, so these tests hand a Model an in-memory scene
// and need no GL context.
#include "render/Model.h"

#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <memory>
#include <vector>

namespace {

struct TranslationKey {
    double time;
    float x;
};

aiNodeAnim* translationChannel(const char* node, const std::vector<TranslationKey>& keys) {
    auto* channel = new aiNodeAnim;
    channel->mNodeName = aiString(node);
    channel->mNumPositionKeys = static_cast<unsigned>(keys.size());
    channel->mPositionKeys = new aiVectorKey[keys.size()];
    for (size_t k = 0; k < keys.size(); ++k)
        channel->mPositionKeys[k] = aiVectorKey(keys[k].time, aiVector3D(keys[k].x, 0.0f, 0.0f));
    channel->mNumRotationKeys = 1;
    channel->mRotationKeys = new aiQuatKey[1]{aiQuatKey(0.0, aiQuaternion())};
    channel->mNumScalingKeys = 1;
    channel->mScalingKeys = new aiVectorKey[1]{aiVectorKey(0.0, aiVector3D(1.0f))};
    return channel;
}

aiMatrix4x4 translation(float x, float y, float z) {
    aiMatrix4x4 m;
    return aiMatrix4x4::Translation(aiVector3D(x, y, z), m);
}

/// root -> "parent" -> "bone"; the bone is bone 0 of the model, "parent" is not a bone.
class PosedModel : public ::testing::Test {
protected:
    void build(double duration, std::vector<aiNodeAnim*> channels) {
        auto* scene = new aiScene;
        scene->mRootNode = new aiNode("root");
        auto* parent = new aiNode("parent");
        auto* bone = new aiNode("bone");
        bone->mTransformation = translation(0.0f, 2.0f, 0.0f);
        parent->addChildren(1, &bone);
        scene->mRootNode->addChildren(1, &parent);
        if (duration >= 0.0) {
            auto* animation = new aiAnimation;
            animation->mDuration = duration;
            if (!channels.empty()) {
                animation->mNumChannels = static_cast<unsigned>(channels.size());
                animation->mChannels = new aiNodeAnim*[channels.size()];
                std::copy(channels.begin(), channels.end(), animation->mChannels);
            }
            scene->mNumAnimations = 1;
            scene->mAnimations = new aiAnimation* [1] { animation };
        }
        model.scene.reset(scene);
        model.boneMapping.emplace("bone", 0u);
        model.boneInfo.resize(1);
        model.numBones = 1;
    }

    /// The bone's final transform with the axis correction taken off again.
    glm::mat4 corrected() const {
        return glm::inverse(axisCorrection) * model.boneInfo[0].finalTransformation;
    }
    float boneX() const { return corrected()[3][0]; }

    const glm::mat4 axisCorrection =
        glm::rotate(glm::mat4(1.0f), 3.14159274f, glm::vec3(1.0f, 0.0f, 0.0f));
    Model model;
};

}  // namespace

TEST_F(PosedModel, PoseAfterOnePeriodEqualsPoseAtZero) {
    // 2000 ticks at 800 per second: one period is 2.5 s.
    build(2000.0, {translationChannel("bone", {{0.0, 0.0f}, {2000.0, 10.0f}})});
    model.boneTransform(0.0f);
    EXPECT_FLOAT_EQ(boneX(), 0.0f);
    model.boneTransform(1.25f);
    EXPECT_FLOAT_EQ(boneX(), 5.0f);
    model.boneTransform(2.5f);
    EXPECT_FLOAT_EQ(boneX(), 0.0f);
}

TEST_F(PosedModel, OneKeyChannelHoldsItsValue) {
    build(2000.0, {translationChannel("bone", {{0.0, 3.0f}})});
    for (float seconds : {0.0f, 0.7f, 2.4f}) {
        model.boneTransform(seconds);
        EXPECT_FLOAT_EQ(boneX(), 3.0f) << seconds << " s";
    }
}

TEST_F(PosedModel, TwoChannelsForOneNodeUseTheFirst) {
    build(2000.0,
          {translationChannel("bone", {{0.0, 1.0f}}), translationChannel("bone", {{0.0, 2.0f}})});
    model.boneTransform(0.5f);
    EXPECT_FLOAT_EQ(boneX(), 1.0f);
}

TEST_F(PosedModel, ChannelEndingBeforeTheAnimationHoldsItsLastKey) {
    build(2000.0, {translationChannel("bone", {{0.0, 0.0f}, {1000.0, 4.0f}})});
    model.boneTransform(1.875f);  // tick 1500
    EXPECT_FLOAT_EQ(boneX(), 4.0f);
}

TEST_F(PosedModel, ZeroDurationShowsTheFirstInstant) {
    build(0.0, {translationChannel("bone", {{0.0, 6.0f}, {10.0, 8.0f}})});
    model.boneTransform(3.0f);
    EXPECT_FLOAT_EQ(boneX(), 6.0f);
}

TEST_F(PosedModel, WithoutAnimationTheBonesStayAtIdentity) {
    build(-1.0, {});
    model.boneTransform(1.0f);
    EXPECT_EQ(model.boneInfo[0].finalTransformation, glm::mat4(1.0f));
}

TEST_F(PosedModel, BoneWithoutChannelUsesItsNodeTransformation) {
    build(2000.0, {translationChannel("other", {{0.0, 9.0f}})});
    model.boneTransform(0.0f);
    EXPECT_FLOAT_EQ(corrected()[3][1], 2.0f);
    EXPECT_FLOAT_EQ(boneX(), 0.0f);
}

TEST_F(PosedModel, ParentChannelMovesTheBoneBelowIt) {
    build(2000.0, {translationChannel("parent", {{0.0, 7.0f}})});
    model.boneTransform(0.0f);
    EXPECT_FLOAT_EQ(boneX(), 7.0f);
    EXPECT_FLOAT_EQ(corrected()[3][1], 2.0f);
}

// axisCorrection x rootTransform x global x offset, in that order.
TEST_F(PosedModel, FinalTransformComposesRootTransformChainAndOffset) {
    build(2000.0, {});
    model.rootTransform = glm::scale(glm::mat4(1.0f), glm::vec3(2.0f));
    model.boneInfo[0].boneOffset = glm::scale(glm::mat4(1.0f), glm::vec3(0.5f));
    model.boneTransform(0.0f);
    // Offset halves z to 0.5, the bone lifts y to 2, the root transform doubles both.
    const glm::vec4 p = corrected() * glm::vec4(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(p.y, 4.0f);
    EXPECT_FLOAT_EQ(p.z, 1.0f);
}

TEST_F(PosedModel, AxisCorrectionTurnsHalfATurnAboutX) {
    build(2000.0, {});
    model.boneTransform(0.0f);
    const glm::vec4 lifted = model.boneInfo[0].finalTransformation * glm::vec4(0, 0, 0, 1);
    EXPECT_NEAR(lifted.y, -2.0f, 1e-5f);
    EXPECT_NEAR(lifted.z, 0.0f, 1e-5f);
}

TEST(FindNodeAnim, MatchesNamesExactlyAndTakesTheFirst) {
    aiAnimation animation;
    animation.mNumChannels = 3;
    animation.mChannels = new aiNodeAnim* [3] {
        translationChannel("Bone", {{0.0, 1.0f}}), translationChannel("bone", {{0.0, 2.0f}}),
            translationChannel("bone", {{0.0, 3.0f}})
    };
    EXPECT_EQ(Model::findNodeAnim(animation, "bone"), animation.mChannels[1]);
    EXPECT_EQ(Model::findNodeAnim(animation, "Bone"), animation.mChannels[0]);
    EXPECT_EQ(Model::findNodeAnim(animation, "bon"), nullptr);
    EXPECT_EQ(Model::findNodeAnim(animation, "BONE"), nullptr);
}
