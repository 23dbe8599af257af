#pragma once

#include "tools/content/MeshBuilder.h"
#include "tools/content/Skeleton.h"

#include <glm/glm.hpp>

#include <string>

/// What one Collada file holds: a single mesh, optionally skinned to a skeleton with one
/// looping animation.
struct ColladaModel {
    std::string name;
    const MeshBuilder* mesh = nullptr;
    const Skeleton* skeleton = nullptr;  ///< null for a plain mesh
    glm::vec3 diffuse{0.8f};             ///< the material colour recorded in the file
};

/// Writes COLLADA 1.4.1 documents (Y up, metres) that assimp imports as one mesh with
/// normals and one set of texture coordinates, and, for a skinned model, bones with
/// inverse bind matrices and one animation of matrix keys.
///
/// The game poses skinned models with a half turn about x on top of the file's own bone
/// matrices, so skinned models are designed the way the game shows them and written here
/// turned by that half turn: in the game they come out as designed.
class ColladaWriter {
public:
    /// Key frames written per loop, plus a last key equal to the first.
    static constexpr int kKeysPerLoop = 24;

    /// Prints a line and returns false when the file cannot be written.
    static bool write(const ColladaModel& model, const std::string& path);
};
