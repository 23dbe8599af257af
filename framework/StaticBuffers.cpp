#include "framework/StaticBuffers.h"

namespace {

GLuint makeFloatAttributeBuffer(GLuint attribute, GLint floatsPerVertex, const void* values,
                                std::size_t bytes) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), values, GL_STATIC_DRAW);
    glEnableVertexAttribArray(attribute);
    glVertexAttribPointer(attribute, floatsPerVertex, GL_FLOAT, GL_FALSE, 0, nullptr);
    return buffer;
}

}  // namespace

GLuint makeAttributeBuffer(GLuint attribute, const std::vector<glm::vec3>& values) {
    return makeFloatAttributeBuffer(attribute, 3, values.data(), values.size() * sizeof(glm::vec3));
}

GLuint makeAttributeBuffer(GLuint attribute, const std::vector<glm::vec2>& values) {
    return makeFloatAttributeBuffer(attribute, 2, values.data(), values.size() * sizeof(glm::vec2));
}

GLuint makeIndexBuffer(const std::vector<std::uint32_t>& indices) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint32_t)), indices.data(),
                 GL_STATIC_DRAW);
    return buffer;
}
