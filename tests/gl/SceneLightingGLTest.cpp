#include "app/SceneLighting.h"

#include "render/CustomCamera.h"
#include "framework/Shader.h"
#include "support/GlContext.h"
#include "support/TempFiles.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <memory>

namespace {

const char* const kLitVertex = R"(#version 430 core
layout(location = 0) in vec3 position;
uniform mat4 viewProjMatrix;
void main() { gl_Position = viewProjMatrix * vec4(position, 1.0); }
)";
const char* const kLitFragment = R"(#version 430 core
struct DirectionalLight { vec3 color; vec3 direction; };
struct PointLight { vec3 color; vec3 position; vec3 attenuation; };
uniform DirectionalLight dirL;
uniform PointLight pointL;
uniform vec3 camera_world;
out vec4 color;
void main() {
    color = vec4(dirL.color + dirL.direction + pointL.color + pointL.position +
                 pointL.attenuation + camera_world, 1.0);
}
)";
// Like a HUD shader that leaves the projection out.
const char* const kUnprojectedVertex = R"(#version 430 core
layout(location = 0) in vec3 position;
uniform vec3 camera_world;
void main() { gl_Position = vec4(position + camera_world, 1.0); }
)";
const char* const kPlainFragment = R"(#version 430 core
out vec4 color;
void main() { color = vec4(1.0); }
)";

class FrameUniforms : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        dir.write("assets/shader/lit.vert", kLitVertex);
        dir.write("assets/shader/lit.frag", kLitFragment);
        dir.write("assets/shader/unprojected.vert", kUnprojectedVertex);
        dir.write("assets/shader/plain.frag", kPlainFragment);
    }

    static glm::vec3 vec3Uniform(const Shader& shader, const char* name) {
        glm::vec3 value(-1.0f);
        glGetUniformfv(shader.program, glGetUniformLocation(shader.program, name),
                       glm::value_ptr(value));
        return value;
    }
    static glm::mat4 matrixUniform(const Shader& shader, const char* name) {
        glm::mat4 value(-1.0f);
        glGetUniformfv(shader.program, glGetUniformLocation(shader.program, name),
                       glm::value_ptr(value));
        return value;
    }
    static GLuint currentProgram() {
        GLint current = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        return static_cast<GLuint>(current);
    }

    TempDir dir;
    ScopedWorkingDirectory cwd{dir.path()};
};

}  // namespace

TEST_F(FrameUniforms, LoadTheCameraAndBothLights) {
    Shader shader("lit.vert", "lit.frag");
    CustomCamera camera(800.0f, 600.0f, 60.0f, 0.1f, 100.0f);
    camera.position = glm::vec3(1.0f, 2.0f, 3.0f);
    camera.view = glm::lookAt(camera.position, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    PointLight glow;
    glow.hoverAbove(glm::vec3(0.0f, 0.0f, -40.0f));
    glUseProgram(0);

    setFrameUniforms(shader, camera, DirectionalLight(2.0f), glow);

    EXPECT_EQ(currentProgram(), shader.program);
    EXPECT_EQ(camera.viewProjection, camera.projection * camera.view);
    EXPECT_EQ(matrixUniform(shader, "viewProjMatrix"), camera.viewProjection);
    EXPECT_EQ(vec3Uniform(shader, "camera_world"), camera.position);
    EXPECT_EQ(vec3Uniform(shader, "dirL.color"), DirectionalLight(2.0f).color);
    EXPECT_EQ(vec3Uniform(shader, "dirL.direction"), DirectionalLight().direction);
    EXPECT_EQ(vec3Uniform(shader, "pointL.color"), glow.color);
    EXPECT_EQ(vec3Uniform(shader, "pointL.position"), glm::vec3(0.0f, 3.6f, -40.0f));
    EXPECT_EQ(vec3Uniform(shader, "pointL.attenuation"), glow.attenuation);
}

TEST_F(FrameUniforms, ShaderWithoutTheUniformsIsSkippedQuietly) {
    Shader shader("unprojected.vert", "plain.frag");
    CustomCamera camera(800.0f, 600.0f, 60.0f, 0.1f, 100.0f);
    camera.position = glm::vec3(4.0f, 5.0f, 6.0f);
    while (glGetError() != GL_NO_ERROR) {
    }
    setFrameUniforms(shader, camera, DirectionalLight(), PointLight());
    setHudProjection(shader, 800.0f, 600.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(vec3Uniform(shader, "camera_world"), camera.position);
}

TEST_F(FrameUniforms, HudProjectionIsLoadedAndReturned) {
    Shader shader("lit.vert", "lit.frag");
    glUseProgram(0);
    const glm::mat4 loaded = setHudProjection(shader, 1024.0f, 768.0f);
    EXPECT_EQ(currentProgram(), shader.program);
    EXPECT_EQ(loaded, hudProjection(1024.0f, 768.0f));
    EXPECT_EQ(matrixUniform(shader, "viewProjMatrix"), loaded);
}
