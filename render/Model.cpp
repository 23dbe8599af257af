#include "render/Model.h"

#include "framework/Shader.h"
#include "render/AssimpConversion.h"
#include "render/ImportRepair.h"
#include "framework/ShaderUniforms.h"
#include "render/stbTexture.h"

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <iostream>
#include <numeric>
#include <utility>

namespace {

// Read: structure checked, polygons cut into triangles, v flipped for GL. Clean-up: lines
// and points dropped (everything here draws triangles), garbage data rejected, at most
// four weights a vertex, and corners that agree in everything (position, normal,
// coordinates, weights) shared again: the importers give every triangle corner a vertex of
// its own, which triples the vertex work of a smooth mesh. No normals are generated, so
// the file's own normals and weights arrive untouched, bar the bad ones mended in between.
constexpr unsigned kReadFlags =
    aiProcess_ValidateDataStructure | aiProcess_Triangulate | aiProcess_FlipUVs;
constexpr unsigned kCleanUpFlags = aiProcess_SortByPType | aiProcess_FindInvalidData |
                                   aiProcess_LimitBoneWeights | aiProcess_JoinIdenticalVertices;

// Named once so that drawing builds no strings.
const std::string kMaterialCoefficientsUniform = "materialCoefficients";
const std::string kSpecularAlphaUniform = "specularAlpha";
const std::string kHasTextureUniform = "hasTexture";
const std::string kHasBonesUniform = "hasBones";
const std::string kGlowColorUniform = "glowColor";
const std::string kRimColorUniform = "rimColor";
const std::string kBonesUniform = "bones";

// Every problem with a model file is one line that names the file.
void reportModelProblem(const std::string& problem, const std::string& path) {
    std::cout << "ERROR::ASSIMP::" << problem << ": " << path << std::endl;
}

bool isUsable(const aiScene* scene) {
    return scene && !(scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) && scene->mRootNode;
}

// The importer's reason, without the full stop that some of its messages end with.
std::string importFailure(const Assimp::Importer& importer) {
    std::string reason = importer.GetErrorString();
    reason.erase(reason.find_last_not_of(". \n") + 1);
    return reason.empty() ? "Incomplete scene" : reason;
}

bool hasVertexWithMoreWeightsThanSlots(const aiMesh& mesh) {
    std::vector<unsigned> influences(mesh.mNumVertices, 0);
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        for (unsigned w = 0; w < bone.mNumWeights; ++w) {
            const unsigned vertex = bone.mWeights[w].mVertexId;
            if (vertex < influences.size() && ++influences[vertex] > VertexBoneData::kSlots)
                return true;
        }
    }
    return false;
}

bool hasVertexWithMoreWeightsThanSlots(const aiScene& scene) {
    return std::any_of(scene.mMeshes, scene.mMeshes + scene.mNumMeshes,
                       [](const aiMesh* mesh) { return hasVertexWithMoreWeightsThanSlots(*mesh); });
}

bool hasFinitePositions(const aiMesh& mesh) {
    return std::all_of(mesh.mVertices, mesh.mVertices + mesh.mNumVertices,
                       [](const aiVector3D& p) {
                           return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
                       });
}

// "<verb> <count> <what>", only when the count is not 0.
void reportCount(const std::string& verb, unsigned count, const std::string& what,
                 const std::string& path) {
    if (count > 0) reportModelProblem(verb + " " + std::to_string(count) + " " + what, path);
}

// Bad normals and texture coordinates are mended one by one before FindInvalidData sees
// them, which would delete a mesh's whole array for one of them. The scene is still the
// importer's; it is changed in place between the two passes, as a step of its own would.
void repairBadValues(const aiScene& read, const std::string& path) {
    unsigned normals = 0;
    unsigned texCoords = 0;
    for (unsigned m = 0; m < read.mNumMeshes; ++m) {
        aiMesh& mesh = *const_cast<aiMesh*>(read.mMeshes[m]);
        if (!hasFinitePositions(mesh)) continue;  // left out whole by FindInvalidData
        normals += import_repair::repairNormals(mesh);
        texCoords += import_repair::repairTexCoords(mesh);
    }
    reportCount("Mended", normals, "zero or non-finite normal(s)", path);
    reportCount("Zeroed", texCoords, "non-finite texture coordinate(s)", path);
}

// Two passes, so that what assimp drops or changes without a word can be reported: the
// structural check, triangles and flipped v first; then lines and points and meshes with
// non-finite positions are dropped, and each vertex keeps its largest weights,
// renormalised to a sum of 1.
bool importCheckedScene(Assimp::Importer& importer, const std::string& path) {
    importer.SetPropertyInteger(AI_CONFIG_PP_LBW_MAX_WEIGHTS, VertexBoneData::kSlots);
    importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    importer.SetPropertyBool(AI_CONFIG_PP_FID_IGNORE_TEXTURECOORDS, true);
    const aiScene* read = importer.ReadFile(path, kReadFlags);
    if (!isUsable(read)) {
        reportModelProblem(importFailure(importer), path);
        return false;
    }
    const unsigned meshesRead = read->mNumMeshes - import_repair::countMeshesWithoutTriangles(*read);
    const unsigned nonTriangles = import_repair::countNonTriangleFaces(*read);
    const bool weightsToLimit = hasVertexWithMoreWeightsThanSlots(*read);
    repairBadValues(*read, path);
    const aiScene* cleaned = importer.ApplyPostProcessing(kCleanUpFlags);
    if (!isUsable(cleaned)) {
        reportModelProblem(importFailure(importer), path);
        return false;
    }
    reportCount("Left out", nonTriangles, "line or point face(s)", path);
    if (cleaned->mNumMeshes < meshesRead)
        reportModelProblem("Left out " + std::to_string(meshesRead - cleaned->mNumMeshes) +
                               " mesh(es) with invalid positions",
                           path);
    if (weightsToLimit)
        reportModelProblem("Kept the " + std::to_string(VertexBoneData::kSlots) +
                               " largest bone weights of each vertex",
                           path);
    return true;
}

// Material files written on Windows separate folders with backslashes, and some
// exporters leave trailing blanks; neither names a file here.
std::string normalisedTexturePath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    path.erase(path.find_last_not_of(" \t\r\n") + 1);
    return path;
}

std::vector<MeshTexture> loadMaterialTextures(const aiMaterial& material, aiTextureType type,
                                              const std::string& typeName) {
    std::vector<MeshTexture> records;
    const unsigned count = aiGetMaterialTextureCount(&material, type);
    for (unsigned i = 0; i < count; ++i) {
        aiString texturePath;
        if (aiGetMaterialTexture(&material, type, i, &texturePath, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr) == AI_SUCCESS)
            records.push_back({typeName, normalisedTexturePath(texturePath.C_Str())});
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

// No model of ours reaches a thousandth of this far from its origin. A file that does is
// garbage: a Collada source whose count disagrees with its values reads as numbers like 1e20.
constexpr float kFarthestCoordinate = 1.0e6f;

bool staysNearItsOrigin(const aiMesh& mesh) {
    return std::all_of(mesh.mVertices, mesh.mVertices + mesh.mNumVertices,
                       [](const aiVector3D& p) {
                           return std::abs(p.x) <= kFarthestCoordinate &&
                                  std::abs(p.y) <= kFarthestCoordinate &&
                                  std::abs(p.z) <= kFarthestCoordinate;
                       });
}

bool hasFiniteWeights(const aiMesh& mesh) {
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        for (unsigned w = 0; w < bone.mNumWeights; ++w)
            if (!std::isfinite(bone.mWeights[w].mWeight)) return false;
    }
    return true;
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
    if (!importCheckedScene(importer, file)) return;
    directory = file.substr(0, file.find_last_of('/'));
    scene.reset(importer.GetOrphanedScene());
    rootTransform = toGlm(scene->mRootNode->mTransformation);
    for (unsigned m = 0; m < scene->mNumMeshes; ++m)
        totalVertices += scene->mMeshes[m]->mNumVertices;
    processNode(*scene->mRootNode);
    reportWhatCannotBeDrawn();
}

// Once per model, after its meshes are built: nothing to draw, or bones beyond what the
// shader poses (their weights were already taken back from the vertices).
void Model::reportWhatCannotBeDrawn() const {
    const auto vertexCount = [](std::size_t sum, const Mesh& m) { return sum + m.vertices.size(); };
    const auto indexCount = [](std::size_t sum, const Mesh& m) { return sum + m.indices.size(); };
    if (std::accumulate(meshes.begin(), meshes.end(), std::size_t{0}, vertexCount) == 0)
        reportModelProblem("Model has no vertices", path);
    else if (std::accumulate(meshes.begin(), meshes.end(), std::size_t{0}, indexCount) == 0)
        reportModelProblem("Model has no faces", path);
    if (numBones > kMaxBones)
        reportModelProblem("Model has " + std::to_string(numBones) + " bones; only the first " +
                               std::to_string(kMaxBones) + " move",
                           path);
}

void Model::processNode(const aiNode& node) {
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        if (node.mMeshes[i] >= scene->mNumMeshes) continue;
        const aiMesh& mesh = *scene->mMeshes[node.mMeshes[i]];
        const std::string leftOut = "Left out mesh \"" + std::string(mesh.mName.C_Str()) + "\" with ";
        if (!hasFinitePositions(mesh) || !hasFiniteWeights(mesh))
            reportModelProblem(leftOut + "a non-finite position or weight", path);
        else if (!staysNearItsOrigin(mesh))
            reportModelProblem(leftOut + "a position more than " +
                                   std::to_string(static_cast<long>(kFarthestCoordinate)) + " units out",
                               path);
        else
            meshes.push_back(processMesh(mesh));
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
// model-wide. Weights on bones the shader cannot pose are taken back from each vertex.
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
    if (numBones <= kMaxBones) return;
    for (VertexBoneData& vertex : bones) vertex.dropBonesFrom(static_cast<std::int32_t>(kMaxBones));
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

// Uniforms go to the current program: the shader is made current before the model-wide
// ones are sent, whichever program the caller used last.
void Model::draw(const std::shared_ptr<Shader>& shader) {
    assert(shader && "a model is drawn with a shader");
    glUseProgram(shader->program);
    sendModelUniforms(*shader);
    for (const Mesh& mesh : meshes) mesh.draw(*shader);
}

void Model::sendModelUniforms(Shader& shader) {
    shader.setUniform(kMaterialCoefficientsUniform, materialCoefficients);
    setUniformFloat(shader, kSpecularAlphaUniform, specularAlpha);
    shader.setUniform(kGlowColorUniform, glowColor);
    shader.setUniform(kRimColorUniform, rimColor);

    // The loaded flag is not consulted: a failed image still binds its empty texture.
    if (texture) glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture ? texture->id : 0);
    setUniformFlag(shader, kHasTextureUniform, texture != nullptr);

    setUniformFlag(shader, kHasBonesUniform, numBones >= 1);
    if (numBones >= 1) {
        boneTransform(animationSeconds);
        uploadBones(shader);
    }
}

// Only the posed bones go up, from the shader's cached location: a draw asks the driver
// for nothing and copies no more than it sends.
void Model::uploadBones(Shader& shader) const {
    const GLint location = shader.uniformLocation(kBonesUniform);
    if (location == -1) return;
    std::array<glm::mat4, kMaxBones> palette;
    const unsigned count = std::min(numBones, kMaxBones);
    for (unsigned i = 0; i < count; ++i) palette[i] = boneInfo[i].finalTransformation;
    glUniformMatrix4fv(location, static_cast<GLsizei>(count), GL_FALSE, glm::value_ptr(palette[0]));
}
