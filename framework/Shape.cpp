#include "framework/Shape.h"

#include "framework/StaticBuffers.h"

#include <cassert>
#include <utility>

Shape::Shape(const glm::mat4& placement, const ShapeData& data,
             std::shared_ptr<Material> sharedMaterial)
    : elementCount(static_cast<GLuint>(data.indices.size())),
      material(std::move(sharedMaterial)),
      modelMatrix(placement) {
    assert(data.normals.size() == data.positions.size());
    assert(data.uvs.size() == data.positions.size());
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    positionBuffer = makeAttributeBuffer(0, data.positions);
    normalBuffer = makeAttributeBuffer(1, data.normals);
    uvBuffer = makeAttributeBuffer(2, data.uvs);
    indexBuffer = makeIndexBuffer(data.indices);
    // Vertex array first: unbinding the index buffer while it is bound would drop it.
    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

Shape::~Shape() {
    glDeleteBuffers(1, &positionBuffer);
    glDeleteBuffers(1, &normalBuffer);
    glDeleteBuffers(1, &uvBuffer);
    glDeleteBuffers(1, &indexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
}
