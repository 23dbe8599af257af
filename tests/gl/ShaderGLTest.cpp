#include "framework/Shader.h"

#include "support/GlContext.h"
#include "support/TempFiles.h"

namespace {

const char* const kVertex =
    "#version 430 core\nlayout(location = 0) in vec3 position;\nuniform mat4 modelMatrix;\n"
    "uniform mat3 normalMatrix;\nout vec3 shade;\n"
    "void main() { shade = normalMatrix * position; gl_Position = modelMatrix * vec4(position, 1); }\n";
const char* const kFragment =
    "#version 430 core\nin vec3 shade;\nuniform vec3 tint;\nout vec4 color;\n"
    "void main() { color = vec4(tint + shade, 1); }\n";

int locationQueries = 0;
PFNGLGETUNIFORMLOCATIONPROC realGetUniformLocation = nullptr;

GLint GLAPIENTRY countingGetUniformLocation(GLuint program, const GLchar* name) {
    ++locationQueries;
    return realGetUniformLocation(program, name);
}

// Shader files live in a temporary working directory, as assets/shader/ does for the game.
class ShaderFiles : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        dir.write("assets/shader/plain.vert", kVertex);
        dir.write("assets/shader/plain.frag", kFragment);
    }
    TempDir dir;
    ScopedWorkingDirectory cwd{dir.path()};
};

}  // namespace

TEST_F(ShaderFiles, BuildsFromFilesAndKeepsTheNames) {
    Shader shader("plain.vert", "plain.frag");
    EXPECT_NE(shader.program, 0u);
    EXPECT_FALSE(shader.fromSource);
    EXPECT_EQ(shader.vertexFile, "plain.vert");
    GLint linked = 0;
    glGetProgramiv(shader.program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    GLint attached = -1;
    glGetProgramiv(shader.program, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 0);  // the stages are detached and deleted after linking
}

TEST_F(GlTest, DefaultConstructionUsesTheBuiltInSources) {
    Shader shader;
    EXPECT_TRUE(shader.fromSource);
    EXPECT_EQ(shader.vertexFile, builtinVertexSource);
    EXPECT_EQ(std::string(builtinVertexSource).size(), 122u);
    EXPECT_EQ(std::string(builtinFragmentSource).size(), 124u);
    EXPECT_NE(shader.uniformLocation("fragColor"), -1);
}

TEST_F(ShaderFiles, SettersReachTheProgram) {
    Shader shader("plain.vert", "plain.frag");
    glUseProgram(shader.program);
    shader.setUniform("tint", glm::vec3(0.25f, 0.5f, 0.75f));
    const glm::mat4 model(2.0f);
    shader.setUniform("modelMatrix", model);
    shader.setUniform("normalMatrix", glm::mat3(3.0f));

    GLfloat tint[3] = {};
    glGetUniformfv(shader.program, shader.uniformLocation("tint"), tint);
    EXPECT_FLOAT_EQ(tint[2], 0.75f);
    GLfloat matrix[16] = {};
    glGetUniformfv(shader.program, shader.uniformLocation("modelMatrix"), matrix);
    EXPECT_FLOAT_EQ(matrix[0], 2.0f);
    EXPECT_FLOAT_EQ(matrix[1], 0.0f);
    GLfloat normal[9] = {};
    glGetUniformfv(shader.program, shader.uniformLocation("normalMatrix"), normal);
    EXPECT_FLOAT_EQ(normal[4], 3.0f);
}

TEST_F(ShaderFiles, AbsentUniformIsAskedOfTheDriverOnlyOnce) {
    Shader shader("plain.vert", "plain.frag");
    glUseProgram(shader.program);
    realGetUniformLocation = glGetUniformLocation;
    glGetUniformLocation = countingGetUniformLocation;
    locationQueries = 0;
    for (int i = 0; i < 5; ++i) shader.setUniform("notDeclared", glm::vec3(1.0f));
    EXPECT_EQ(shader.uniformLocation("notDeclared"), -1);
    shader.uniformLocation("tint");
    shader.uniformLocation("tint");
    glGetUniformLocation = realGetUniformLocation;
    EXPECT_EQ(locationQueries, 2);
}

TEST_F(ShaderFiles, DestructionDeletesTheProgramAndLeavesNoneCurrent) {
    GLuint program = 0;
    {
        Shader shader("plain.vert", "plain.frag");
        program = shader.program;
        glUseProgram(program);
    }
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    EXPECT_FALSE(glIsProgram(program));
}

using ShaderFatalPaths = ShaderFiles;

TEST_F(ShaderFatalPaths, MissingFragmentFileEndsTheProcessNamingIt) {
    EXPECT_EXIT(
        {
            redirectForDeathTest();
            Shader shader("plain.vert", "missing.frag");
        },
        testing::ExitedWithCode(1), "Couldn't open shader file: assets/shader/missing.frag\n");
}

TEST_F(ShaderFatalPaths, CompileErrorPrintsTheFileNameAndLog) {
    dir.write("assets/shader/broken.vert", "#version 430 core\nvoid main() { nonsense; }\n");
    EXPECT_EXIT(
        {
            redirectForDeathTest();
            Shader shader("broken.vert", "plain.frag");
        },
        testing::ExitedWithCode(1), "Failed to compile shader: broken.vert\n.*nonsense");
}

TEST_F(ShaderFatalPaths, LinkErrorPrintsTheLinkLine) {
    dir.write("assets/shader/mismatch.frag",
              "#version 430 core\nin vec4 shade;\nout vec4 color;\nvoid main() { color = shade; }\n");
    EXPECT_EXIT(
        {
            redirectForDeathTest();
            Shader shader("plain.vert", "mismatch.frag");
        },
        testing::ExitedWithCode(1), "Failed to link shader program:\n");
}
