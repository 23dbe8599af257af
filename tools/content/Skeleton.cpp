#include "tools/content/Skeleton.h"

int Skeleton::addBone(const std::string& name, int parent, const glm::mat4& rest,
                      std::function<glm::mat4(float)> motion) {
    boneList.push_back({name, parent, rest, std::move(motion)});
    return static_cast<int>(boneList.size() - 1);
}

int Skeleton::addBoneAt(const std::string& name, int parent, const glm::mat4& worldRestPose,
                        std::function<glm::mat4(float)> motion) {
    const glm::mat4 parentWorld = parent < 0 ? glm::mat4(1.0f) : worldRest(parent);
    return addBone(name, parent, glm::inverse(parentWorld) * worldRestPose, std::move(motion));
}

glm::mat4 Skeleton::localAt(int bone, float phase) const {
    const Bone& b = boneList[static_cast<size_t>(bone)];
    return b.motion ? b.rest * b.motion(phase) : b.rest;
}

glm::mat4 Skeleton::worldRest(int bone) const {
    const Bone& b = boneList[static_cast<size_t>(bone)];
    return b.parent < 0 ? b.rest : worldRest(b.parent) * b.rest;
}
