#include "render/Model.h"

#include "framework/Shader.h"
#include "render/AssimpConversion.h"
#include "framework/ShaderUniforms.h"
#include "render/stbTexture.h"

#include <GLFW/glfw3.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <array>
#include <cassert>
#include <iostream>
#include <utility>

namespace {

// Triangles only, v flipped for GL; nothing else, so the file's own vertices, normals and
// weights arrive untouched.
constexpr unsigned kImportFlags = aiProcess_Triangulate | aiProcess_FlipUVs;

// Named once so that drawing builds no strings.
const std::string kMaterialCoefficientsUniform = "materialCoefficients";
const std::string kSpecularAlphaUniform = "specularAlpha";
const std::string kHasTextureUniform = "hasTexture";
const std::string kHasBonesUniform = "hasBones";
const std::string kGlowColorUniform = "glowColor";
const std::string kRimColorUniform = "rimColor";

std::vector<MeshTexture> loadMaterialTextures(const aiMaterial& material, aiTextureType type,
                                              const std::string& typeName) {
    std::vector<MeshTexture> records;
    const unsigned count = aiGetMaterialTextureCount(&material, type);
    for (unsigned i = 0; i < count; ++i) {
        aiString texturePath;
        if (aiGetMaterialTexture(&material, type, i, &texturePath, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr) == AI_SUCCESS)
            records.push_back({typeName, texturePath.C_Str()});
    }
    return records;
}

std::vector<MeshTexture> materialTextures(const aiScene& scene, const aiMesh& mesh) {
    if (!scene.mMaterials || mesh.mMaterialIndex >= scene.mNumMaterials) return {};
    const aiMaterial& material = *scene.mMaterials[mesh.mMaterialIndex];
    std::vector<MeshTexture> records =
        loadMaterialTextures(material, aiTextureType_DIFFUSE, "texture_diffuse");
    std::vector<MeshTexture> specular =
        loadMaterialTextures(material, aiTextureType_SPECULAR, "texture_specular");
    records.insert(records.end(), specular.begin(), specular.end());
    return records;
}

// The importer generates no normals; a mesh that has none gets zero normals.
std::vector<Vertex> meshVertices(const aiMesh& mesh) {
    std::vector<Vertex> vertices(mesh.mNumVertices);
    const aiVector3D* texCoords = mesh.mTextureCoords[0];
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        vertices[i].position = toGlm(mesh.mVertices[i]);
        if (mesh.mNormals) vertices[i].normal = toGlm(mesh.mNormals[i]);
        if (texCoords) vertices[i].texCoords = glm::vec2(texCoords[i].x, texCoords[i].y);
    }
    return vertices;
}

std::vector<std::uint32_t> meshIndices(const aiMesh& mesh) {
    std::vector<std::uint32_t> indices;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        indices.insert(indices.end(), face.mIndices, face.mIndices + face.mNumIndices);
    }
    return indices;
}

}  // namespace

Model::Model(const char* file) {
    loadModel(file);
}

void Model::loadModel(const std::string& file) {
    numBones = 0;
    totalVertices = 0;
    path = file;
    materialCoefficients = glm::vec3(0.1f, 0.7f, 0.4f);
    specularAlpha = 0.6f;

    Assimp::Importer importer;
    const aiScene* imported = importer.ReadFile(file, kImportFlags);
    if (!imported || (imported->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !imported->mRootNode) {
        std::cout << "ERROR::ASSIMP::" << importer.GetErrorString() << std::endl;
        return;
    }
    directory = file.substr(0, file.find_last_of('/'));
    scene.reset(importer.GetOrphanedScene());
    rootTransform = toGlm(scene->mRootNode->mTransformation);
    for (unsigned m = 0; m < scene->mNumMeshes; ++m)
        totalVertices += scene->mMeshes[m]->mNumVertices;
    processNode(*scene->mRootNode);
}

void Model::processNode(const aiNode& node) {
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        if (node.mMeshes[i] < scene->mNumMeshes)
            meshes.push_back(processMesh(*scene->mMeshes[node.mMeshes[i]]));
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c) processNode(*node.mChildren[c]);
}

Mesh Model::processMesh(const aiMesh& mesh) {
    std::vector<VertexBoneData> bones(mesh.mNumVertices);
    addBones(mesh, bones);
    return Mesh(meshVertices(mesh), meshIndices(mesh), materialTextures(*scene, mesh),
                std::move(bones));
}

// The last mesh that names a bone sets its offset; vertex ids are per mesh, bone indices
// model-wide.
void Model::addBones(const aiMesh& mesh, std::vector<VertexBoneData>& bones) {
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        const unsigned index = boneIndexFor(bone.mName.C_Str());
        boneInfo[index].boneOffset = toGlm(bone.mOffsetMatrix);
        for (unsigned w = 0; w < bone.mNumWeights; ++w) {
            const aiVertexWeight& weight = bone.mWeights[w];
            if (weight.mVertexId < bones.size())
                bones[weight.mVertexId].addWeight(static_cast<std::int32_t>(index), weight.mWeight);
        }
    }
}

unsigned Model::boneIndexFor(const std::string& boneName) {
    const auto known = boneMapping.find(boneName);
    if (known != boneMapping.end()) return known->second;
    boneMapping.emplace(boneName, numBones);
    boneInfo.emplace_back();
    return numBones++;
}

void Model::transform(const glm::mat4& m) {
    for (Mesh& mesh : meshes) mesh.transform(m);
}

void Model::setModelMatrix(const glm::mat4& m) {
    for (Mesh& mesh : meshes) mesh.resetModelMatrix();
    transform(m);
}

void Model::resetModelMatrix() {
    for (Mesh& mesh : meshes) mesh.resetModelMatrix();
}

void Model::setColor(const glm::vec3& rgb) {
    for (Mesh& mesh : meshes) mesh.model_rgbColor = rgb;
}

void Model::setTexture(const std::string& fileName) {
    texture = std::make_shared<stbTexture>(fileName);
}

// The model-wide uniforms go to whichever program is current (the caller's); each mesh
// then makes the shader current itself.
void Model::draw(const std::shared_ptr<Shader>& shader) {
    assert(shader && "a model is drawn with a shader");
    shader->setUniform(kMaterialCoefficientsUniform, materialCoefficients);
    setUniformFloat(*shader, kSpecularAlphaUniform, specularAlpha);
    shader->setUniform(kGlowColorUniform, glowColor);
    shader->setUniform(kRimColorUniform, rimColor);

    // The loaded flag is not consulted: a failed image still binds its empty texture.
    if (texture) glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture ? texture->id : 0);
    setUniformFlag(*shader, kHasTextureUniform, texture != nullptr);

    setUniformFlag(*shader, kHasBonesUniform, numBones >= 1);
    if (numBones >= 1) {
        boneTransform(static_cast<float>(glfwGetTime()));
        uploadBones(*shader);
    }

    for (const Mesh& mesh : meshes) mesh.draw(*shader);
}

void Model::uploadBones(Shader& shader) const {
    const GLint location = glGetUniformLocation(shader.program, "bones");
    if (location == -1) return;
    std::array<glm::mat4, kMaxBones> palette;
    palette.fill(glm::mat4(1.0f));
    const unsigned count = std::min(numBones, kMaxBones);
    for (unsigned i = 0; i < count; ++i) palette[i] = boneInfo[i].finalTransformation;
    glUniformMatrix4fv(location, static_cast<GLsizei>(count), GL_FALSE, glm::value_ptr(palette[0]));
}
