#include "framework/TextureMaterial.h"

#include "support/DdsBytes.h"
#include "support/GlContext.h"
#include "support/TempFiles.h"

namespace {

const char* const kVertex =
    "#version 330 core\nlayout(location = 0) in vec3 position;\n"
    "void main() { gl_Position = vec4(position, 1); }\n";
const char* const kFragment =
    "#version 330 core\nuniform vec3 materialCoefficients;\nuniform float specularAlpha;\n"
    "uniform sampler2D diffuseTexture;\nout vec4 color;\n"
    "void main() { color = texture(diffuseTexture, vec2(0.5)) *"
    " vec4(materialCoefficients, specularAlpha); }\n";

// The unit switches and uniform calls the materials make go through these counters.
// glBindTexture is no loader entry point, so binds are seen through the state they leave.
struct GlCallCounts {
    int activeTexture = 0;
    int uniforms = 0;
};
GlCallCounts calls;
PFNGLACTIVETEXTUREPROC realActiveTexture = nullptr;
PFNGLUNIFORM1IPROC realUniform1i = nullptr;
PFNGLUNIFORM1FPROC realUniform1f = nullptr;
PFNGLUNIFORM3FPROC realUniform3f = nullptr;

void GLAPIENTRY countActiveTexture(GLenum unit) {
    ++calls.activeTexture;
    realActiveTexture(unit);
}
void GLAPIENTRY countUniform1i(GLint location, GLint value) {
    ++calls.uniforms;
    realUniform1i(location, value);
}
void GLAPIENTRY countUniform1f(GLint location, GLfloat value) {
    ++calls.uniforms;
    realUniform1f(location, value);
}
void GLAPIENTRY countUniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z) {
    ++calls.uniforms;
    realUniform3f(location, x, y, z);
}

class MaterialUniforms : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        dir.write("assets/shader/material.vert", kVertex);
        dir.write("assets/shader/material.frag", kFragment);
        dir.write("assets/textures/wood.dds", asText(makeDxtFile("DXT1", 8, 8)));
        shader = std::make_shared<Shader>("material.vert", "material.frag");
        glUseProgram(shader->program);
    }
    void TearDown() override { stopCounting(); }

    void startCounting() {
        calls = {};
        realActiveTexture = glActiveTexture;
        realUniform1i = glUniform1i;
        realUniform1f = glUniform1f;
        realUniform3f = glUniform3f;
        glActiveTexture = countActiveTexture;
        glUniform1i = countUniform1i;
        glUniform1f = countUniform1f;
        glUniform3f = countUniform3f;
    }
    void stopCounting() {
        if (realActiveTexture == nullptr) return;
        glActiveTexture = realActiveTexture;
        glUniform1i = realUniform1i;
        glUniform1f = realUniform1f;
        glUniform3f = realUniform3f;
        realActiveTexture = nullptr;
    }

    // A texture of our own on unit 3, left active: a material that neither switches
    // units nor binds leaves both exactly so.
    void bindSentinelOnUnitThree() {
        glGenTextures(1, &sentinel);
        glActiveTexture(GL_TEXTURE3);
        glBindTexture(GL_TEXTURE_2D, sentinel);
    }
    void expectSentinelUntouched() {
        GLint unit = 0, bound = 0;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(unit, GL_TEXTURE3);
        EXPECT_EQ(bound, static_cast<GLint>(sentinel));
        glDeleteTextures(1, &sentinel);
    }

    GLint samplerUnit() {
        GLint unit = -1;
        glGetUniformiv(shader->program, shader->uniformLocation("diffuseTexture"), &unit);
        return unit;
    }

    TempDir dir;
    ScopedWorkingDirectory cwd{dir.path()};
    std::shared_ptr<Shader> shader;
    GLuint sentinel = 0;
};

}  // namespace

TEST_F(MaterialUniforms, PlainMaterialSetsItsTwoUniformsAndNoTextureState) {
    Material material(shader, {0.1f, 0.7f, 0.3f}, 8.0f);
    bindSentinelOnUnitThree();
    startCounting();
    material.setUniforms();
    stopCounting();
    EXPECT_EQ(calls.uniforms, 2);
    EXPECT_EQ(calls.activeTexture, 0);
    expectSentinelUntouched();

    GLfloat coefficients[3] = {};
    glGetUniformfv(shader->program, shader->uniformLocation("materialCoefficients"), coefficients);
    EXPECT_FLOAT_EQ(coefficients[0], 0.1f);
    EXPECT_FLOAT_EQ(coefficients[2], 0.3f);
    GLfloat alpha = 0;
    glGetUniformfv(shader->program, shader->uniformLocation("specularAlpha"), &alpha);
    EXPECT_FLOAT_EQ(alpha, 8.0f);
}

TEST_F(MaterialUniforms, UnloadedTextureIsNotBoundButTheSamplerStillPointsAtUnitZero) {
    glUniform1i(shader->uniformLocation("diffuseTexture"), 5);
    TextureMaterial material(shader, {0.1f, 0.7f, 0.1f}, 2.0f,
                             std::make_shared<Texture>("missing.dds"));
    bindSentinelOnUnitThree();
    startCounting();
    material.setUniforms();
    stopCounting();
    EXPECT_EQ(calls.activeTexture, 0);
    EXPECT_EQ(calls.uniforms, 3);
    expectSentinelUntouched();
    EXPECT_EQ(samplerUnit(), 0);
}

TEST_F(MaterialUniforms, LoadedTextureIsBoundOnUnitZero) {
    const auto wood = std::make_shared<Texture>("wood.dds");
    ASSERT_TRUE(wood->loaded);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUniform1i(shader->uniformLocation("diffuseTexture"), 5);

    TextureMaterial(shader, {0.1f, 0.7f, 0.1f}, 2.0f, wood).setUniforms();
    GLint unit = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(unit, GL_TEXTURE0);
    EXPECT_EQ(bound, static_cast<GLint>(wood->handle));
    EXPECT_EQ(samplerUnit(), 0);
}

TEST_F(MaterialUniforms, NamesTheProgramLacksAreSkipped) {
    const auto builtin = std::make_shared<Shader>();  // has only "fragColor"
    glUseProgram(builtin->program);
    TextureMaterial material(builtin, {0.1f, 0.7f, 0.1f}, 2.0f,
                             std::make_shared<Texture>("wood.dds"));
    startCounting();
    material.setUniforms();
    stopCounting();
    EXPECT_EQ(calls.uniforms, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

