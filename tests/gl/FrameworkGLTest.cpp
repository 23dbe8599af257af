#include "framework/Framework.h"

#include "framework/TeapotTable.h"
#include "support/GlContext.h"

#include <vector>

namespace {

GLint currentProgram() {
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

GLint boundInteger(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

template <typename T>
std::vector<T> readBuffer(GLenum target, GLuint buffer, std::size_t count) {
    std::vector<T> values(count);
    glBindBuffer(target, buffer);
    glGetBufferSubData(target, 0, static_cast<GLsizeiptr>(count * sizeof(T)), values.data());
    return values;
}

// The framework's objects are program-wide: every test leaves them shut down.
class FrameworkStart : public GlTest {
protected:
    void TearDown() override { shutdownFramework(); }
};

}  // namespace

TEST_F(FrameworkStart, FreshContextGetsTheDefaultShaderCurrent) {
    ASSERT_EQ(currentProgram(), 0);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(initFramework());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_NE(defaultShader, nullptr);
    EXPECT_TRUE(defaultShader->fromSource);
    EXPECT_EQ(currentProgram(), static_cast<GLint>(defaultShader->program));
}

TEST_F(FrameworkStart, ProgramAlreadyCurrentStaysAndNoDefaultShaderIsMade) {
    Shader ours;
    glUseProgram(ours.program);
    ASSERT_TRUE(initFramework());
    EXPECT_EQ(defaultShader, nullptr);
    EXPECT_EQ(currentProgram(), static_cast<GLint>(ours.program));
    EXPECT_NE(teapotMesh.vertexArray, 0u);  // the teapot is built all the same
}

TEST_F(FrameworkStart, TeapotIsUploadedHalfATurnAboutY) {
    ASSERT_TRUE(initFramework());
    EXPECT_EQ(boundInteger(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(boundInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);

    const std::vector<glm::vec3> table = teapotPositions();
    const std::vector<glm::vec3> uploaded =
        readBuffer<glm::vec3>(GL_ARRAY_BUFFER, teapotMesh.vertexBuffer, kTeapotPositionCount);
    for (std::size_t i = 0; i < kTeapotPositionCount; ++i)
        ASSERT_EQ(uploaded[i], glm::vec3(-table[i].x, table[i].y, -table[i].z)) << i;
    EXPECT_EQ(readBuffer<std::uint32_t>(GL_ELEMENT_ARRAY_BUFFER, teapotMesh.indexBuffer,
                                        kTeapotIndexCount),
              teapotIndices());
}

TEST_F(FrameworkStart, TeapotVertexArrayRecordsItsBuffers) {
    ASSERT_TRUE(initFramework());
    glBindVertexArray(teapotMesh.vertexArray);
    EXPECT_EQ(boundInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING),
              static_cast<GLint>(teapotMesh.indexBuffer));
    GLint enabled = 0, size = 0, buffer = 0;
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_SIZE, &size);
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
    EXPECT_EQ(enabled, GL_TRUE);
    EXPECT_EQ(size, 3);
    EXPECT_EQ(buffer, static_cast<GLint>(teapotMesh.vertexBuffer));
    GLint bytes = 0;
    glBindBuffer(GL_ARRAY_BUFFER, teapotMesh.vertexBuffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    EXPECT_EQ(bytes, 512 * 12);
    glBindVertexArray(0);
}

TEST_F(FrameworkStart, ShutdownDeletesTheTeapotAndTheDefaultProgram) {
    ASSERT_TRUE(initFramework());
    const TeapotMesh built = teapotMesh;
    const GLuint program = defaultShader->program;
    shutdownFramework();
    EXPECT_EQ(defaultShader, nullptr);
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsBuffer(built.vertexBuffer));
    EXPECT_FALSE(glIsBuffer(built.indexBuffer));
    EXPECT_FALSE(glIsVertexArray(built.vertexArray));
    EXPECT_EQ(teapotMesh.vertexArray, 0u);
}

TEST_F(FrameworkStart, RefusesWithoutACurrentContext) {
    glfwMakeContextCurrent(nullptr);
    testing::internal::CaptureStdout();
    const bool started = initFramework();
    const std::string output = testing::internal::GetCapturedStdout();
    glfwMakeContextCurrent(context.window);
    EXPECT_FALSE(started);
    EXPECT_EQ(output, "No context available. Exiting.\n");
    EXPECT_EQ(defaultShader, nullptr);
    EXPECT_EQ(teapotMesh.vertexArray, 0u);
}

TEST_F(FrameworkStart, RefusesWhenGlewFoundNoOpenGl30) {
    // GLEW's own flag, as glewInit leaves it on a context older than OpenGL 3.0.
    const GLboolean found = __GLEW_VERSION_3_0;
    __GLEW_VERSION_3_0 = GL_FALSE;
    testing::internal::CaptureStdout();
    const bool started = initFramework();
    const std::string output = testing::internal::GetCapturedStdout();
    __GLEW_VERSION_3_0 = found;
    EXPECT_FALSE(started);
    EXPECT_EQ(output, "GLEW not available. Exiting.\n");
    EXPECT_EQ(defaultShader, nullptr);
    EXPECT_EQ(currentProgram(), 0);
}
