#include "support/GeneratedModels.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace {

constexpr unsigned kGameImportFlags = aiProcess_ValidateDataStructure | aiProcess_Triangulate |
                                      aiProcess_FlipUVs | aiProcess_FindInvalidData |
                                      aiProcess_LimitBoneWeights | aiProcess_JoinIdenticalVertices;

glm::mat4 globalTransform(const aiNode* node) {
    return node->mParent ? globalTransform(node->mParent) * toGlm(node->mTransformation) : toGlm(node->mTransformation);
}

}  // namespace

std::string modelPath(const std::string& file) { return std::string(QEX_BUILD_DIR) + "/assets/models/" + file; }

glm::mat4 toGlm(const aiMatrix4x4& m) { return glm::transpose(glm::make_mat4(&m.a1)); }

Imported::Imported(const std::string& file) : scene(importer.ReadFile(modelPath(file), kGameImportFlags)) {}

bool Imported::usable() const {
    return scene && !(scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) && scene->mRootNode && scene->mNumMeshes > 0;
}

const aiNode* findNode(const aiNode* node, const std::string& name) {
    if (name == node->mName.C_Str()) return node;
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        if (const aiNode* found = findNode(node->mChildren[i], name)) return found;
    return nullptr;
}

std::vector<glm::vec3> gameSpaceVertices(const aiScene& scene) {
    const glm::mat4 turn = glm::rotate(glm::mat4(1.0f), 3.14159274f, glm::vec3(1.0f, 0.0f, 0.0f));
    const glm::mat4 root = toGlm(scene.mRootNode->mTransformation);
    std::vector<glm::vec3> out;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        std::vector<glm::mat4> skin(mesh.mNumVertices, glm::mat4(mesh.mNumBones ? 0.0f : 1.0f));
        for (unsigned b = 0; b < mesh.mNumBones; ++b) {
            const aiBone& bone = *mesh.mBones[b];
            const aiNode* node = findNode(scene.mRootNode, bone.mName.C_Str());
            const glm::mat4 final = turn * root * (node ? globalTransform(node) : glm::mat4(1.0f)) * toGlm(bone.mOffsetMatrix);
            for (unsigned w = 0; w < bone.mNumWeights; ++w) skin[bone.mWeights[w].mVertexId] += final * bone.mWeights[w].mWeight;
        }
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            const aiVector3D& p = mesh.mVertices[v];
            out.push_back(glm::vec3(skin[v] * glm::vec4(p.x, p.y, p.z, 1.0f)));
        }
    }
    return out;
}

Bounds boundsOf(const std::vector<glm::vec3>& points) {
    Bounds bounds;
    for (const glm::vec3& p : points) bounds.add(p);
    return bounds;
}
