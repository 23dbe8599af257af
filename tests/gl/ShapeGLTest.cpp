#include "framework/Shape.h"

#include "support/GlContext.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

GLint attribute(GLuint index, GLenum name) {
    GLint value = -1;
    glGetVertexAttribiv(index, name, &value);
    return value;
}

GLint bufferBytes(GLuint buffer) {
    GLint bytes = -1;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    return bytes;
}

class ShapeUpload : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        material = std::make_shared<Material>(std::make_shared<Shader>(), glm::vec3(0.1f), 2.0f);
    }
    std::shared_ptr<Material> material;
};

}  // namespace

TEST_F(ShapeUpload, EachAttributeHasItsOwnTightlyPackedBuffer) {
    const ShapeData cube = makeCube(1.5f, 1.5f, 1.5f);
    const Shape shape(glm::mat4(1.0f), cube, material);
    EXPECT_EQ(shape.elementCount, 36u);
    EXPECT_EQ(bufferBytes(shape.positionBuffer), 24 * 12);
    EXPECT_EQ(bufferBytes(shape.normalBuffer), 24 * 12);
    EXPECT_EQ(bufferBytes(shape.uvBuffer), 24 * 8);

    glBindVertexArray(shape.vertexArray);
    const GLuint buffers[] = {shape.positionBuffer, shape.normalBuffer, shape.uvBuffer};
    const GLint sizes[] = {3, 3, 2};
    for (GLuint index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_TRUE);
        EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_SIZE), sizes[index]);
        EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_TYPE), GL_FLOAT);
        EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_STRIDE), 0);
        EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING),
                  static_cast<GLint>(buffers[index]));
    }
    GLint indexBuffer = 0;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &indexBuffer);
    EXPECT_EQ(indexBuffer, static_cast<GLint>(shape.indexBuffer));
    glBindVertexArray(0);
}

TEST_F(ShapeUpload, BuffersHoldTheGeneratedData) {
    const ShapeData cylinder = makeCylinder(1.3f, 1.0f);
    const Shape shape(glm::mat4(1.0f), cylinder, material);
    std::vector<glm::vec2> uvs(cylinder.uvs.size());
    glBindBuffer(GL_ARRAY_BUFFER, shape.uvBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(uvs.size() * sizeof(glm::vec2)),
                       uvs.data());
    EXPECT_EQ(uvs, cylinder.uvs);
    std::vector<std::uint32_t> indices(cylinder.indices.size());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, shape.indexBuffer);
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0,
                       static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint32_t)),
                       indices.data());
    EXPECT_EQ(indices, cylinder.indices);
}

TEST_F(ShapeUpload, LeavesNoVertexArrayOrIndexBufferBound) {
    const Shape shape(glm::mat4(1.0f), makeSphere(1.0f), material);
    GLint vertexArray = -1, indexBuffer = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &indexBuffer);
    EXPECT_EQ(vertexArray, 0);
    EXPECT_EQ(indexBuffer, 0);
    EXPECT_EQ(shape.elementCount, 11904u);
}

TEST_F(ShapeUpload, DestructionDeletesItsGlObjectsAndReleasesTheMaterial) {
    GLuint names[5] = {};
    {
        const Shape shape(glm::mat4(1.0f), makeCube(1, 1, 1), material);
        EXPECT_EQ(material.use_count(), 2);
        const GLuint built[] = {shape.positionBuffer, shape.normalBuffer, shape.uvBuffer,
                                shape.indexBuffer, shape.vertexArray};
        std::copy(std::begin(built), std::end(built), names);
    }
    EXPECT_EQ(material.use_count(), 1);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(glIsBuffer(names[i])) << i;
    EXPECT_FALSE(glIsVertexArray(names[4]));
}
