#include "render/ParticleShader.h"

#include "support/GlContext.h"
#include "support/TempFiles.h"

#include <memory>
#include <vector>

namespace {

const char* const kVertex =
    "#version 430 core\nlayout(location = 0) in vec4 particle;\n"
    "void main() { gl_Position = particle; }\n";
const char* const kGeometry =
    "#version 430 core\nlayout(points) in;\nlayout(triangle_strip, max_vertices = 4) out;\n"
    "void main() {\n"
    "  for (int i = 0; i < 4; ++i) {\n"
    "    gl_Position = gl_in[0].gl_Position + vec4(i % 2, i / 2, 0, 0);\n"
    "    EmitVertex();\n"
    "  }\n"
    "  EndPrimitive();\n"
    "}\n";
const char* const kFragment =
    "#version 430 core\nout vec4 color;\nvoid main() { color = vec4(1); }\n";
const char* const kCompute =
    "#version 430 core\nlayout(local_size_x = 64) in;\nuniform float DeltaT;\n"
    "layout(std430, binding = 0) buffer Positions { vec4 position[]; };\n"
    "void main() { position[gl_GlobalInvocationID.x].y += DeltaT; }\n";

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

GLint programParameter(GLuint program, GLenum name) {
    GLint value = -1;
    glGetProgramiv(program, name, &value);
    return value;
}

// The stages stay attached after construction (deleted, not detached), so they can be
// asked what they were given.
std::vector<GLuint> attachedStages(GLuint program) {
    std::vector<GLuint> stages(8);
    GLsizei count = 0;
    glGetAttachedShaders(program, static_cast<GLsizei>(stages.size()), &count, stages.data());
    stages.resize(static_cast<std::size_t>(count));
    return stages;
}

GLint stageParameter(GLuint stage, GLenum name) {
    GLint value = -1;
    glGetShaderiv(stage, name, &value);
    return value;
}

int livePrograms() {
    int count = 0;
    for (GLuint name = 1; name < 512; ++name) count += glIsProgram(name) ? 1 : 0;
    return count;
}

class ParticleFiles : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        dir.write("assets/shader/particle.vert", kVertex);
        dir.write("assets/shader/particle.geom", kGeometry);
        dir.write("assets/shader/particle.frag", kFragment);
        dir.write("assets/shader/particle.compute", kCompute);
    }
    void remove(const std::string& name) {
        std::filesystem::remove(dir.path() / "assets/shader" / name);
    }
    TempDir dir;
    ScopedWorkingDirectory cwd{dir.path()};
};

}  // namespace

TEST_F(ParticleFiles, ThreeStageProgramBuildsSilently) {
    testing::internal::CaptureStdout();
    const ParticleShader shader("particle.vert", "particle.geom", "particle.frag");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(programParameter(shader.program, GL_LINK_STATUS), GL_TRUE);
    EXPECT_TRUE(shader.usable);
    EXPECT_EQ(shader.vertexFile, "particle.vert");
    EXPECT_EQ(shader.geometryFile, "particle.geom");
    EXPECT_EQ(shader.fragmentFile, "particle.frag");
    EXPECT_EQ(shader.computeFile, "");
    EXPECT_FALSE(shader.fromSource);
    EXPECT_EQ(attachedStages(shader.program).size(), 3u);
}

TEST_F(ParticleFiles, MissingGeometryFileLeavesEverySourceEmpty) {
    remove("particle.geom");
    testing::internal::CaptureStdout();
    const ParticleShader shader("particle.vert", "particle.geom", "particle.frag");
    const std::string output = testing::internal::GetCapturedStdout();

    EXPECT_EQ(occurrences(output, "ERROR::SHADER::FILE_NOT_READ_SUCCESFULLY: "
                                  "assets/shader/particle.geom\n"),
              1u);
    EXPECT_FALSE(shader.usable);
    ASSERT_TRUE(glIsProgram(shader.program));
    const std::vector<GLuint> stages = attachedStages(shader.program);
    ASSERT_EQ(stages.size(), 3u);
    std::size_t failedStages = 0;
    for (const GLuint stage : stages) {
        // The vertex and fragment files exist, yet nothing of them reached the driver.
        EXPECT_LE(stageParameter(stage, GL_SHADER_SOURCE_LENGTH), 1);
        if (stageParameter(stage, GL_COMPILE_STATUS) == GL_FALSE) ++failedStages;
    }
    // Whatever the driver makes of empty stages is reported, one line per failure.
    EXPECT_EQ(occurrences(output, "::COMPILATION_FAILED: assets/shader/particle."), failedStages);
    const bool linked = programParameter(shader.program, GL_LINK_STATUS) == GL_TRUE;
    EXPECT_EQ(occurrences(output, "ERROR::SHADER::PROGRAM::LINKING_FAILED: "), linked ? 0u : 1u);
}

TEST_F(ParticleFiles, StageThatDoesNotCompileIsNamedAndTheRestCarriesOn) {
    dir.write("assets/shader/broken.geom", "#version 430 core\nvoid main() { nonsense; }\n");
    testing::internal::CaptureStdout();
    const ParticleShader shader("particle.vert", "broken.geom", "particle.frag");
    const std::string output = testing::internal::GetCapturedStdout();

    EXPECT_EQ(output.rfind("ERROR::SHADER::GEOMETRY::COMPILATION_FAILED: "
                           "assets/shader/broken.geom\n",
                           0),
              0u)
        << output;
    EXPECT_NE(output.find("nonsense"), std::string::npos);  // the driver's log follows
    EXPECT_EQ(occurrences(output, "COMPILATION_FAILED"), 1u);
    EXPECT_EQ(occurrences(output, "ERROR::SHADER::PROGRAM::LINKING_FAILED: "
                                  "assets/shader/particle.vert, assets/shader/broken.geom, "
                                  "assets/shader/particle.frag\n"),
              1u);
    EXPECT_NE(shader.program, 0u);
    EXPECT_FALSE(shader.usable);
}

TEST_F(ParticleFiles, ComputeProgramHasNoVertexOrFragmentStage) {
    testing::internal::CaptureStdout();
    const ParticleShader shader("particle.compute");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(shader.vertexFile, "");
    EXPECT_EQ(shader.fragmentFile, "");
    EXPECT_EQ(shader.geometryFile, "");
    EXPECT_EQ(shader.computeFile, "particle.compute");
    EXPECT_EQ(programParameter(shader.program, GL_LINK_STATUS), GL_TRUE);
    EXPECT_TRUE(shader.usable);
    const std::vector<GLuint> stages = attachedStages(shader.program);
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stageParameter(stages[0], GL_SHADER_TYPE), GL_COMPUTE_SHADER);
}

TEST_F(ParticleFiles, ComputeProgramTakesUniformsThroughTheShaderCache) {
    ParticleShader shader("particle.compute");
    glUseProgram(shader.program);
    const GLint location = shader.uniformLocation("DeltaT");
    ASSERT_NE(location, -1);
    glUniform1f(location, 0.5f);
    GLfloat value = 0;
    glGetUniformfv(shader.program, location, &value);
    EXPECT_FLOAT_EQ(value, 0.5f);
    EXPECT_EQ(shader.uniformLocation("fragColor"), -1);  // nothing of the built-in program left
}

TEST_F(ParticleFiles, MissingComputeFileIsReportedAndStillGivesAProgram) {
    testing::internal::CaptureStdout();
    const ParticleShader shader("missing.compute");
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.rfind("ERROR::SHADER::FILE_NOT_READ_SUCCESFULLY: "
                           "assets/shader/missing.compute\n",
                           0),
              0u)
        << output;
    EXPECT_EQ(occurrences(output, "FILE_NOT_READ"), 1u);
    EXPECT_TRUE(glIsProgram(shader.program));
    EXPECT_FALSE(shader.usable);
}

TEST_F(ParticleFiles, EachInstanceHoldsOneProgramAndDeletesExactlyIt) {
    const int before = livePrograms();
    auto drawing =
        std::make_unique<ParticleShader>("particle.vert", "particle.geom", "particle.frag");
    auto simulation = std::make_unique<ParticleShader>("particle.compute");
    EXPECT_EQ(livePrograms(), before + 2);  // the built-in base programs are gone already

    const GLuint drawingProgram = drawing->program;
    const GLuint simulationProgram = simulation->program;
    glUseProgram(drawingProgram);
    drawing.reset();
    EXPECT_FALSE(glIsProgram(drawingProgram));
    EXPECT_TRUE(glIsProgram(simulationProgram));
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);

    simulation.reset();
    EXPECT_FALSE(glIsProgram(simulationProgram));
    EXPECT_EQ(livePrograms(), before);
}
