#include "render/Mesh.h"

#include "framework/Shader.h"

#include <cstddef>
#include <string>
#include <utility>

namespace {

// The attribute locations are the contract with the model shaders ("texture.vert").
constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kNormalAttribute = 1;
constexpr GLuint kTexCoordAttribute = 2;
constexpr GLuint kBoneIdAttribute = 3;
constexpr GLuint kBoneWeightAttribute = 4;

// Named once so that drawing builds no strings.
const std::string kColorUniform = "model_rgbColor";
const std::string kModelMatrixUniform = "modelMatrix";
const std::string kNormalMatrixUniform = "normalMatrix";

template <typename T>
void fillBuffer(GLenum target, GLuint buffer, const std::vector<T>& data) {
    glBindBuffer(target, buffer);
    glBufferData(target, static_cast<GLsizeiptr>(data.size() * sizeof(T)), data.data(),
                 GL_STATIC_DRAW);
}

void floatAttribute(GLuint location, GLint components, GLsizei stride, std::size_t offset) {
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offset));
}

}  // namespace

Mesh::GlObjects::GlObjects() {
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &positionBuffer);
    glGenBuffers(1, &elementBuffer);
    glGenBuffers(1, &normalBuffer);
    glGenBuffers(1, &texCoordBuffer);
    glGenBuffers(1, &boneBuffer);
}

Mesh::GlObjects::~GlObjects() {
    const GLuint buffers[] = {positionBuffer, elementBuffer, normalBuffer, texCoordBuffer,
                              boneBuffer};
    glDeleteBuffers(5, buffers);
    glDeleteVertexArrays(1, &vao);
}

Mesh::Mesh(std::vector<Vertex> meshVertices, std::vector<std::uint32_t> meshIndices,
           std::vector<MeshTexture> meshTextures, std::vector<VertexBoneData> meshBones)
    : vertices(std::move(meshVertices)),
      indices(std::move(meshIndices)),
      textures(std::move(meshTextures)),
      bones(std::move(meshBones)) {
    if (!vertices.empty()) restLow = restHigh = vertices.front().position;
    for (const Vertex& vertex : vertices) {
        restLow = glm::min(restLow, vertex.position);
        restHigh = glm::max(restHigh, vertex.position);
    }
    setupMesh();
}

// Position, normal and texture coordinates each have a buffer of the whole vertex array
// and read their own field of it.
void Mesh::setupMesh() {
    const auto objects = std::make_shared<GlObjects>();
    glBindVertexArray(objects->vao);

    constexpr GLsizei vertexStride = sizeof(Vertex);
    fillBuffer(GL_ARRAY_BUFFER, objects->positionBuffer, vertices);
    floatAttribute(kPositionAttribute, 3, vertexStride, offsetof(Vertex, position));

    fillBuffer(GL_ELEMENT_ARRAY_BUFFER, objects->elementBuffer, indices);

    fillBuffer(GL_ARRAY_BUFFER, objects->normalBuffer, vertices);
    floatAttribute(kNormalAttribute, 3, vertexStride, offsetof(Vertex, normal));

    fillBuffer(GL_ARRAY_BUFFER, objects->texCoordBuffer, vertices);
    floatAttribute(kTexCoordAttribute, 2, vertexStride, offsetof(Vertex, texCoords));

    constexpr GLsizei boneStride = sizeof(VertexBoneData);
    fillBuffer(GL_ARRAY_BUFFER, objects->boneBuffer, bones);
    glEnableVertexAttribArray(kBoneIdAttribute);
    glVertexAttribIPointer(kBoneIdAttribute, VertexBoneData::kSlots, GL_INT, boneStride,
                           reinterpret_cast<const void*>(offsetof(VertexBoneData, boneIds)));
    floatAttribute(kBoneWeightAttribute, VertexBoneData::kSlots, boneStride,
                   offsetof(VertexBoneData, weights));

    updateNormalMatrix();
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl = objects;
}

void Mesh::transform(const glm::mat4& m) {
    modelMatrix = m * modelMatrix;
    updateNormalMatrix();
}

void Mesh::resetModelMatrix() {
    modelMatrix = glm::mat4(1.0f);
}

void Mesh::updateNormalMatrix() {
    normalMatrix = glm::mat3(glm::transpose(glm::inverse(modelMatrix)));
}

void Mesh::bindForDraw(Shader& shader) const {
    glUseProgram(shader.program);
    shader.setUniform(kColorUniform, model_rgbColor);
    shader.setUniform(kModelMatrixUniform, modelMatrix);
    shader.setUniform(kNormalMatrixUniform, normalMatrix);
    glBindVertexArray(gl->vao);
}

void Mesh::draw(Shader& shader) const {
    bindForDraw(shader);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void Mesh::draw(Shader& shader, const std::vector<IndexRun>& runs) const {
    bindForDraw(shader);
    for (const IndexRun& run : runs) {
        const auto offset = static_cast<std::uintptr_t>(run.first) * sizeof(std::uint32_t);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(run.count), GL_UNSIGNED_INT,
                       reinterpret_cast<const void*>(offset));
    }
    glBindVertexArray(0);
}

void Mesh::reorderTriangles(std::vector<std::uint32_t> reordered) {
    indices = std::move(reordered);
    glBindVertexArray(gl->vao);
    fillBuffer(GL_ELEMENT_ARRAY_BUFFER, gl->elementBuffer, indices);
    glBindVertexArray(0);
}
