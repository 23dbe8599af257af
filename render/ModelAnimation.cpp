// Skeletal posing of a Model: the first animation of the scene, looped on the global clock.
#include "render/Model.h"

#include "render/AssimpConversion.h"
#include "render/KeyInterpolation.h"

#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace {

// Posed bones come out half a turn about X from the way the scene's unskinned models are
// drawn; this turns them back. 3.14159274 is pi as the nearest float.
const glm::mat4 axisCorrection =
    glm::rotate(glm::mat4(1.0f), 3.14159274f, glm::vec3(1.0f, 0.0f, 0.0f));

std::string_view viewOf(const aiString& name) {
    return std::string_view(name.data, name.length);
}

glm::mat4 channelTransform(const aiNodeAnim& channel, float t) {
    const glm::vec3 scaling =
        interpolatedVector(channel.mScalingKeys, channel.mNumScalingKeys, t, glm::vec3(1.0f));
    const glm::quat rotation =
        interpolatedRotation(channel.mRotationKeys, channel.mNumRotationKeys, t);
    const glm::vec3 position =
        interpolatedVector(channel.mPositionKeys, channel.mNumPositionKeys, t, glm::vec3(0.0f));
    const glm::mat4 identity(1.0f);
    return glm::translate(identity, position) * glm::mat4_cast(rotation) *
           glm::scale(identity, scaling);
}

}  // namespace

void Model::boneTransform(float seconds) {
    if (!scene || scene->mNumAnimations == 0) return;
    const float ticks = seconds * static_cast<float>(ticksPerSecond);
    const double duration = scene->mAnimations[0]->mDuration;
    // A zero-length animation has only its first instant to show.
    const float animationTime =
        duration > 0.0 ? static_cast<float>(std::fmod(static_cast<double>(ticks), duration)) : 0.0f;
    readNodeHierarchy(animationTime, *scene->mRootNode, glm::mat4(1.0f));
}

void Model::readNodeHierarchy(float animationTime, const aiNode& node, glm::mat4 parentTransform) {
    const std::string_view nodeName = viewOf(node.mName);
    glm::mat4 nodeTransform = toGlm(node.mTransformation);
    if (const aiNodeAnim* channel = findNodeAnim(*scene->mAnimations[0], nodeName))
        nodeTransform = channelTransform(*channel, animationTime);

    const glm::mat4 globalTransform = parentTransform * nodeTransform;
    const auto bone = boneMapping.find(nodeName);
    if (bone != boneMapping.end()) {
        BoneInfo& info = boneInfo[bone->second];
        info.finalTransformation =
            axisCorrection * rootTransform * globalTransform * info.boneOffset;
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c)
        readNodeHierarchy(animationTime, *node.mChildren[c], globalTransform);
}

const aiNodeAnim* Model::findNodeAnim(const aiAnimation& animation, std::string_view nodeName) {
    for (unsigned c = 0; c < animation.mNumChannels; ++c) {
        const aiNodeAnim* channel = animation.mChannels[c];
        if (viewOf(channel->mNodeName) == nodeName) return channel;
    }
    return nullptr;
}
