#pragma once

#include <glm/glm.hpp>

#include <functional>
#include <string>
#include <vector>

/// A bone of a generated model and how it moves over one loop of the animation.
struct Bone {
    std::string name;
    int parent = -1;          ///< index of the parent bone; -1 hangs it under the armature
    glm::mat4 rest{1.0f};     ///< placement relative to the parent in the bind pose
    /// The bone's own motion on top of `rest` at loop phase 0..1. It must be periodic (the
    /// same at 0 and at 1) so that the loop closes without a jump. Empty for a bone that
    /// holds still.
    std::function<glm::mat4(float phase)> motion;
};

/// The bones of one animated model and the length of its single looping animation.
class Skeleton {
public:
    explicit Skeleton(float loopSeconds) : seconds(loopSeconds) {}

    /// Returns the new bone's index.
    int addBone(const std::string& name, int parent, const glm::mat4& rest,
                std::function<glm::mat4(float)> motion = {});
    /// The same, with the bind pose given in model space instead of relative to the parent.
    int addBoneAt(const std::string& name, int parent, const glm::mat4& worldRestPose,
                  std::function<glm::mat4(float)> motion = {});

    const std::vector<Bone>& bones() const { return boneList; }
    /// The loop's length as written to the file (assimp reports it in milliseconds).
    float loopSeconds() const { return seconds; }

    /// Placement relative to the parent at loop phase 0..1.
    glm::mat4 localAt(int bone, float phase) const;
    /// Placement in model space in the bind pose (the pose the mesh is built in).
    glm::mat4 worldRest(int bone) const;

private:
    std::vector<Bone> boneList;
    float seconds;
};
