#pragma once

#include <glm/glm.hpp>

/// One entry of a model's bone table, indexed by bone index.
struct BoneInfo {
    glm::mat4 boneOffset{1.0f};           ///< mesh space to bone space, from the file
    glm::mat4 finalTransformation{1.0f};  ///< the current pose, written by Model::boneTransform
};

static_assert(sizeof(BoneInfo) == 128, "two column-major 4x4 float matrices");
