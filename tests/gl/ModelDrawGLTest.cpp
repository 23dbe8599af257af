#include "render/Model.h"

#include "framework/Shader.h"
#include "render/stbTexture.h"
#include "support/ColladaDocument.h"
#include "support/GlContext.h"
#include "support/OffscreenTarget.h"
#include "support/TempFiles.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Declares every uniform the model draw writes, each one used so that the driver keeps it.
const char* const kModelVertex = R"(#version 430 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoords;
layout(location = 3) in ivec4 boneIds;
layout(location = 4) in vec4 weights;
uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 bones[100];
uniform int hasBones;
out vec3 shade;
out vec2 uv;
void main() {
    mat4 skin = mat4(1.0);
    if (hasBones == 1)
        skin = bones[boneIds.x] * weights.x + bones[boneIds.y] * weights.y +
               bones[boneIds.z] * weights.z + bones[boneIds.w] * weights.w;
    shade = normalMatrix * normal;
    uv = texCoords;
    gl_Position = modelMatrix * skin * vec4(position, 1.0);
}
)";
const char* const kModelFragment = R"(#version 430 core
in vec3 shade;
in vec2 uv;
uniform vec3 model_rgbColor;
uniform vec3 materialCoefficients;
uniform float specularAlpha;
uniform int hasTexture;
uniform sampler2D image;
out vec4 color;
void main() {
    color = vec4(model_rgbColor, 1.0);
    if (hasTexture == 2) color += vec4(materialCoefficients + shade, specularAlpha) + texture(image, uv);
}
)";

std::string shippedModel(const std::string& relative) {
    return (fs::path(QEX_TESTDATA_DIR) / "models" / relative).string();
}

std::vector<GLsizei> boneUploadCounts;
PFNGLUNIFORMMATRIX4FVPROC realUniformMatrix4fv = nullptr;

void GLAPIENTRY countingUniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose,
                                         const GLfloat* value) {
    if (count > 1) boneUploadCounts.push_back(count);
    realUniformMatrix4fv(location, count, transpose, value);
}

class ModelDrawing : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        dir.write("assets/shader/model.vert", kModelVertex);
        dir.write("assets/shader/model.frag", kModelFragment);
        shader = std::make_shared<Shader>("model.vert", "model.frag");
        glUseProgram(shader->program);
    }

    std::unique_ptr<Model> generated(const std::vector<ColladaMesh>& meshes,
                                     const std::vector<std::string>& joints = {},
                                     const std::vector<ColladaJointAnimation>& animations = {}) {
        const std::string path =
            dir.write("scene.dae", colladaDocument(meshes, joints, animations));
        return std::make_unique<Model>(path.c_str());
    }

    GLint intUniform(const char* name) const {
        GLint value = -7;
        glGetUniformiv(shader->program, glGetUniformLocation(shader->program, name), &value);
        return value;
    }
    glm::mat4 matrixUniform(const char* name) const {
        glm::mat4 value(0.0f);
        glGetUniformfv(shader->program, glGetUniformLocation(shader->program, name),
                       glm::value_ptr(value));
        return value;
    }
    glm::vec3 vec3Uniform(const char* name) const {
        glm::vec3 value(0.0f);
        glGetUniformfv(shader->program, glGetUniformLocation(shader->program, name),
                       glm::value_ptr(value));
        return value;
    }
    void setIntUniform(const char* name, int value) {
        glUniform1i(glGetUniformLocation(shader->program, name), value);
    }
    GLint boundTexture() const {
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        return bound;
    }
    GLuint samplesPassedDrawing(Model& model) {
        GLuint query = 0;
        glGenQueries(1, &query);
        glBeginQuery(GL_SAMPLES_PASSED, query);
        model.draw(shader);
        glEndQuery(GL_SAMPLES_PASSED);
        GLuint samples = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
        glDeleteQueries(1, &query);
        return samples;
    }

    TempDir dir;
    ScopedWorkingDirectory cwd{dir.path()};
    std::shared_ptr<Shader> shader;
};

const glm::mat4 kM =
    glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)), 0.7f, glm::vec3(0, 1, 0));
const glm::mat4 kN =
    glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(-4, 0, 1)), glm::vec3(2, 3, 4));

void expectMatricesNear(const glm::mat4& actual, const glm::mat4& expected) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(actual[c][r], expected[c][r], 1e-5f) << c << "," << r;
}

}  // namespace

TEST_F(ModelDrawing, SetModelMatrixThenTransformGivesNTimesMOnEveryMesh) {
    auto model = generated({colladaTriangles("a", 1), colladaTriangles("b", 1)});
    ASSERT_EQ(model->meshes.size(), 2u);
    model->transform(glm::mat4(9.0f));  // replaced by the next line
    model->setModelMatrix(kM);
    model->transform(kN);
    const glm::mat3 expectedNormal = glm::mat3(glm::transpose(glm::inverse(kN * kM)));
    for (const Mesh& mesh : model->meshes) {
        expectMatricesNear(mesh.modelMatrix, kN * kM);
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 3; ++r)
                EXPECT_NEAR(mesh.normalMatrix[c][r], expectedNormal[c][r], 1e-5f);
    }
}

TEST_F(ModelDrawing, ResetRestoresIdentityAndKeepsTheNormalMatrix) {
    auto model = generated({colladaTriangles("a", 1), colladaTriangles("b", 1)});
    model->transform(kN);
    const glm::mat3 normalBefore = model->meshes[1].normalMatrix;
    model->resetModelMatrix();
    for (const Mesh& mesh : model->meshes) EXPECT_EQ(mesh.modelMatrix, glm::mat4(1.0f));
    EXPECT_EQ(model->meshes[1].normalMatrix, normalBefore);
}

TEST_F(ModelDrawing, SetColorColoursEveryMesh) {
    auto model = generated({colladaTriangles("a", 1), colladaTriangles("b", 1)});
    model->setColor(glm::vec3(0.2f, 0.4f, 0.6f));
    for (const Mesh& mesh : model->meshes)
        EXPECT_EQ(mesh.model_rgbColor, glm::vec3(0.2f, 0.4f, 0.6f));
}

TEST_F(ModelDrawing, DrawSendsModelAndMeshUniforms) {
    auto model = generated({colladaTriangles("a", 1)});
    model->materialCoefficients = glm::vec3(0.3f, 0.8f, 0.2f);
    model->specularAlpha = 0.8f;
    model->setColor(glm::vec3(1.0f, 1.0f, 0.4f));
    model->setModelMatrix(kM);
    model->draw(shader);
    EXPECT_EQ(vec3Uniform("materialCoefficients"), glm::vec3(0.3f, 0.8f, 0.2f));
    GLfloat alpha = 0.0f;
    glGetUniformfv(shader->program, glGetUniformLocation(shader->program, "specularAlpha"), &alpha);
    EXPECT_FLOAT_EQ(alpha, 0.8f);
    EXPECT_EQ(vec3Uniform("model_rgbColor"), glm::vec3(1.0f, 1.0f, 0.4f));
    EXPECT_EQ(matrixUniform("modelMatrix"), kM);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), shader->program);
}

TEST_F(ModelDrawing, ModelWithoutBonesSendsHasBonesZeroAndNoBoneMatrices) {
    auto model = generated({colladaTriangles("a", 1)});
    setIntUniform("hasBones", 1);
    const glm::mat4 sentinel(7.0f);
    glUniformMatrix4fv(glGetUniformLocation(shader->program, "bones"), 1, GL_FALSE,
                       glm::value_ptr(sentinel));
    model->draw(shader);
    EXPECT_EQ(intUniform("hasBones"), 0);
    EXPECT_EQ(matrixUniform("bones[0]"), sentinel);
}

TEST_F(ModelDrawing, AnimatedModelUploadsItsCurrentPose) {
    Model model(shippedModel("collada/box_nested_animation.dae").c_str());
    setIntUniform("hasBones", 0);
    model.draw(shader);
    EXPECT_EQ(intUniform("hasBones"), 1);
    EXPECT_NE(model.boneInfo[0].finalTransformation, glm::mat4(1.0f));
    EXPECT_EQ(matrixUniform("bones[0]"), model.boneInfo[0].finalTransformation);
}

TEST_F(ModelDrawing, MoreThanAHundredBonesUploadAHundred) {
    ColladaMesh mesh = colladaTriangles("m", 40);
    std::vector<std::string> joints;
    for (int j = 0; j < 120; ++j) {
        joints.push_back("j" + std::to_string(j));
        mesh.influences.push_back({{j, 1.0f}});
    }
    auto model = generated({mesh}, joints);
    ASSERT_EQ(model->numBones, 120u);
    model->boneInfo[99].finalTransformation = glm::mat4(3.0f);  // no animation: the pose stays

    boneUploadCounts.clear();
    realUniformMatrix4fv = __glewUniformMatrix4fv;
    __glewUniformMatrix4fv = countingUniformMatrix4fv;
    model->draw(shader);
    __glewUniformMatrix4fv = realUniformMatrix4fv;

    EXPECT_EQ(boneUploadCounts, std::vector<GLsizei>{100});
    EXPECT_EQ(matrixUniform("bones[99]"), glm::mat4(3.0f));
}

TEST_F(ModelDrawing, TextureFlagFollowsTheTextureNotItsLoading) {
    auto model = generated({colladaTriangles("a", 1)});
    setIntUniform("hasTexture", 1);
    model->draw(shader);
    EXPECT_EQ(intUniform("hasTexture"), 0);
    EXPECT_EQ(boundTexture(), 0);

    testing::internal::CaptureStdout();
    model->setTexture("missing.png");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to load texture missing.png\n");
    glBindTexture(GL_TEXTURE_2D, 0);
    model->draw(shader);
    EXPECT_EQ(intUniform("hasTexture"), 1);
    EXPECT_EQ(static_cast<GLuint>(boundTexture()), model->texture->id);
}

TEST_F(ModelDrawing, SetTextureReleasesThePreviousTexture) {
    auto model = generated({colladaTriangles("a", 1)});
    testing::internal::CaptureStdout();
    model->setTexture("first.png");
    const GLuint first = model->texture->id;
    model->setTexture("second.png");
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_TRUE(glIsTexture(model->texture->id));
}

TEST_F(ModelDrawing, EmptyModelDrawsNothingButSetsModelUniforms) {
    testing::internal::CaptureStdout();
    Model model("assets/models/absent.dae");
    testing::internal::GetCapturedStdout();
    OffscreenTarget target(32, 32);
    target.bindAndClear();
    setIntUniform("hasTexture", 1);
    EXPECT_EQ(samplesPassedDrawing(model), 0u);
    EXPECT_EQ(intUniform("hasTexture"), 0);
    EXPECT_EQ(intUniform("hasBones"), 0);
}

TEST_F(ModelDrawing, MeshIsDrawnWithItsColourWhereItsTrianglesAre) {
    // One triangle over the upper-right half of the upper-right quadrant of clip space.
    ColladaMesh mesh;
    mesh.name = "m";
    mesh.positions = {glm::vec3(0, 0, 0), glm::vec3(1, 0, 0), glm::vec3(1, 1, 0)};
    auto model = generated({mesh});
    model->setColor(glm::vec3(1.0f, 0.0f, 0.0f));
    OffscreenTarget target(40, 40);
    target.bindAndClear();
    EXPECT_GT(samplesPassedDrawing(*model), 0u);
    EXPECT_EQ(target.pixel(36, 16), glm::u8vec4(255, 0, 0, 255));  // right, above the middle
    EXPECT_EQ(target.pixel(4, 4), glm::u8vec4(0, 0, 0, 0));
}

// Half of each vertex follows a joint held one unit to the right, half one that stays: the
// mesh moves half a unit right, and the pose's half turn about X mirrors y.
TEST_F(ModelDrawing, SkinnedMeshFollowsItsBones) {
    ColladaMesh mesh;
    mesh.name = "m";
    mesh.positions = {glm::vec3(-0.5f, 0, 0), glm::vec3(0.5f, 0, 0), glm::vec3(-0.5f, 0.5f, 0)};
    mesh.influences.assign(3, {{0, 0.5f}, {1, 0.5f}});
    auto model =
        generated({mesh}, {"j0", "j1"},
                  {{0, {0.0f}, {glm::vec3(0.0f)}}, {1, {0.0f}, {glm::vec3(1.0f, 0.0f, 0.0f)}}});
    ASSERT_EQ(model->numBones, 2u);
    model->setColor(glm::vec3(0.0f, 1.0f, 0.0f));
    OffscreenTarget target(40, 40);
    target.bindAndClear();
    model->draw(shader);
    EXPECT_EQ(target.pixel(22, 22), glm::u8vec4(0, 255, 0, 255));  // right of the middle, below it
    EXPECT_EQ(target.pixel(18, 18), glm::u8vec4(0, 0, 0, 0));      // where it lies unposed
}
