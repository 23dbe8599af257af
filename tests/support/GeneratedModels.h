#pragma once

// The generated models under <build>/assets/models, read the way the game reads them:
// assimp with the game's import steps (structural check, triangles, flipped v, invalid
// data rejected, four weights per vertex), skinned models posed with the game's formula
// (a half turn about x, the root transform, the node chain, the offset).

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

std::string modelPath(const std::string& file);

glm::mat4 toGlm(const aiMatrix4x4& m);

struct Bounds {
    glm::vec3 low{1e30f};
    glm::vec3 high{-1e30f};
    void add(const glm::vec3& p) {
        low = glm::min(low, p);
        high = glm::max(high, p);
    }
    glm::vec3 size() const { return high - low; }
};

/// A generated model imported as the game imports it. Keeps the importer (which owns the
/// scene) alive for the test.
struct Imported {
    explicit Imported(const std::string& file);
    bool usable() const;
    Assimp::Importer importer;
    const aiScene* scene;
};

const aiNode* findNode(const aiNode* node, const std::string& name);

/// Every vertex where the game draws it in the bind pose: skinned by the game's formula,
/// or as written for a rigid model.
std::vector<glm::vec3> gameSpaceVertices(const aiScene& scene);

Bounds boundsOf(const std::vector<glm::vec3>& points);
