#pragma once

#include <glm/glm.hpp>

#include <string>
#include <utility>
#include <vector>

/// One mesh of a generated Collada scene: a triangle list, one vertex per corner.
struct ColladaMesh {
    std::string name;
    std::vector<glm::vec3> positions;  ///< three per triangle
    bool withTexCoords = true;         ///< (x, y) of the position when set
    bool withNormals = true;           ///< +z when set
    std::vector<glm::vec3> normals;    ///< one per position in place of +z, when given
    std::vector<glm::vec2> texCoords;  ///< one per position in place of (x, y), when given
    /// Per vertex, the (joint index, weight) influences; empty for an unskinned mesh.
    std::vector<std::vector<std::pair<int, float>>> influences;
};

/// A keyed transform of one joint: times in seconds, one translation per time.
struct ColladaJointAnimation {
    int joint = 0;
    std::vector<float> times;
    std::vector<glm::vec3> translations;
};

/// A Collada 1.4.1 document with the given meshes and a flat list of joints under an
/// "Armature" node, written for import tests that need a case no shipped file has.
std::string colladaDocument(const std::vector<ColladaMesh>& meshes,
                            const std::vector<std::string>& jointNames,
                            const std::vector<ColladaJointAnimation>& animations = {});

/// A mesh of `triangles` small triangles side by side, with texture coordinates.
ColladaMesh colladaTriangles(const std::string& name, int triangles);
