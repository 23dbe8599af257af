#include "render/ImportRepair.h"

#include <assimp/mesh.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr unsigned kTriangleCorners = 3;
const aiVector3D kFallbackNormal(0.0f, 1.0f, 0.0f);

bool isFinite(const aiVector3D& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The test FindInvalidData applies to a normal, so that none it would object to remains.
bool isBadNormal(const aiVector3D& n) { return !isFinite(n) || (n.x == 0.0f && n.y == 0.0f && n.z == 0.0f); }

// Each bad normal's vertex gathers the area-weighted normals of the triangles it is in.
std::vector<aiVector3D> triangleNormalsAround(const aiMesh& mesh) {
    std::vector<aiVector3D> sums(mesh.mNumVertices, aiVector3D(0.0f));
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != kTriangleCorners) continue;
        const unsigned* corner = face.mIndices;
        if (std::any_of(corner, corner + kTriangleCorners,
                        [&](unsigned v) { return v >= mesh.mNumVertices; }))
            continue;
        const aiVector3D& a = mesh.mVertices[corner[0]];
        const aiVector3D normal = (mesh.mVertices[corner[1]] - a) ^ (mesh.mVertices[corner[2]] - a);
        for (unsigned c = 0; c < kTriangleCorners; ++c)
            if (isBadNormal(mesh.mNormals[corner[c]])) sums[corner[c]] += normal;
    }
    return sums;
}

}  // namespace

namespace import_repair {

unsigned repairNormals(aiMesh& mesh) {
    if (!mesh.mNormals) return 0;
    aiVector3D* const normals = mesh.mNormals;
    const auto bad = static_cast<unsigned>(std::count_if(normals, normals + mesh.mNumVertices, isBadNormal));
    if (bad == 0) return 0;
    const std::vector<aiVector3D> around = triangleNormalsAround(mesh);
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        if (!isBadNormal(normals[v])) continue;
        const aiVector3D sum = around[v];
        normals[v] = isBadNormal(sum) ? kFallbackNormal : sum / sum.Length();
    }
    return bad;
}

unsigned repairTexCoords(aiMesh& mesh) {
    unsigned repaired = 0;
    for (aiVector3D* set : mesh.mTextureCoords) {
        if (!set) continue;
        for (aiVector3D* uv = set; uv != set + mesh.mNumVertices; ++uv) {
            if (isFinite(*uv)) continue;
            *uv = aiVector3D(0.0f);
            ++repaired;
        }
    }
    return repaired;
}

unsigned countNonTriangleFaces(const aiScene& scene) {
    unsigned count = 0;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f)
            if (mesh.mFaces[f].mNumIndices < kTriangleCorners) ++count;
    }
    return count;
}

unsigned countMeshesWithoutTriangles(const aiScene& scene) {
    return static_cast<unsigned>(std::count_if(
        scene.mMeshes, scene.mMeshes + scene.mNumMeshes,
        [](const aiMesh* mesh) {
            const unsigned types = mesh->mPrimitiveTypes;
            return (types & (aiPrimitiveType_POINT | aiPrimitiveType_LINE)) != 0 &&
                   (types & (aiPrimitiveType_TRIANGLE | aiPrimitiveType_POLYGON)) == 0;
        }));
}

}  // namespace import_repair
