// The game's GLSL programs under assets/shader/: they build on the driver, expose every
// attribute and uniform the game feeds them, and behave as the drawing code relies on.

#include "effects/PostProcessingFrameBuffer.h"
#include "framework/Shader.h"
#include "render/ParticleShader.h"
#include "support/GlContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kSize = 64;  // pixels of the off-screen target

std::string shaderSource(const std::string& file) {
    std::string unreadable;
    return readShaderSource(file, unreadable).value_or("");
}

// Builds a program from stage files and returns the driver's complaints (empty when it
// linked); the framework's Shader would end the test process instead.
std::string buildLog(const std::vector<std::pair<GLenum, std::string>>& stages) {
    std::string log;
    const GLuint program = glCreateProgram();
    std::vector<GLuint> built;
    for (const auto& [type, file] : stages) {
        const std::string source = shaderSource(file);
        if (source.empty()) log += file + ": missing\n";
        const GLuint stage = glCreateShader(type);
        const char* text = source.c_str();
        glShaderSource(stage, 1, &text, nullptr);
        glCompileShader(stage);
        GLint ok = GL_FALSE;
        glGetShaderiv(stage, GL_COMPILE_STATUS, &ok);
        if (!ok) {
            std::array<char, 4096> message{};
            glGetShaderInfoLog(stage, static_cast<GLsizei>(message.size()), nullptr, message.data());
            log += file + ": " + message.data() + "\n";
        }
        glAttachShader(program, stage);
        built.push_back(stage);
    }
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked && log.empty()) {
        std::array<char, 4096> message{};
        glGetProgramInfoLog(program, static_cast<GLsizei>(message.size()), nullptr, message.data());
        log += std::string("link: ") + message.data() + "\n";
    }
    for (GLuint stage : built) glDeleteShader(stage);
    glDeleteProgram(program);
    return log;
}

// Location -> GL type of every active vertex attribute.
std::map<GLint, GLenum> activeAttributes(GLuint program) {
    std::map<GLint, GLenum> attributes;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &count);
    for (GLint i = 0; i < count; ++i) {
        std::array<char, 128> name{};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveAttrib(program, static_cast<GLuint>(i), static_cast<GLsizei>(name.size()), nullptr, &size, &type,
                          name.data());
        attributes[glGetAttribLocation(program, name.data())] = type;
    }
    return attributes;
}

// Name -> GL type of every active uniform.
std::map<std::string, GLenum> activeUniforms(GLuint program) {
    std::map<std::string, GLenum> uniforms;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        std::array<char, 128> name{};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), static_cast<GLsizei>(name.size()), nullptr, &size, &type,
                           name.data());
        uniforms[name.data()] = type;
    }
    return uniforms;
}

void expectUniformsActive(Shader& shader, const std::vector<std::string>& names) {
    for (const std::string& name : names) EXPECT_NE(shader.uniformLocation(name), -1) << name;
}

// An RGBA8 colour target with depth, cleared to a colour no program paints.
class Target {
public:
    Target() {
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glGenTextures(1, &colour);
        glBindTexture(GL_TEXTURE_2D, colour);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSize, kSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kSize, kSize);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
        glViewport(0, 0, kSize, kSize);
        glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));
    }
    ~Target() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &colour);
        glDeleteRenderbuffers(1, &depth);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    glm::vec4 pixel(int x, int y) const {
        std::array<std::uint8_t, 4> rgba{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return glm::vec4(rgba[0], rgba[1], rgba[2], rgba[3]) / 255.0f;
    }
    bool untouched(int x, int y) const {
        const glm::vec4 p = pixel(x, y);
        return p.r < 0.01f && p.g < 0.01f && p.b > 0.99f;
    }

private:
    GLint previousTexture = 0;  // the texture under test stays bound
    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint depth = 0;
};

// A texture of the given RGBA pixels, sampled without filtering.
GLuint makeTexture(int width, int height, const std::vector<std::uint8_t>& rgba) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return texture;
}

// A vertex in the layout of the game's meshes: attributes 0 to 4 of the model program.
struct ModelVertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 uv;
    glm::ivec4 boneIds;
    glm::vec4 weights;
};

// Vertex data for the model program, laid out at attributes 0..4 like the game's meshes.
class ModelGeometry {
public:
    explicit ModelGeometry(const std::vector<ModelVertex>& vertices, bool onlyPositions = false)
        : count(static_cast<GLsizei>(vertices.size())) {
        glGenVertexArrays(1, &vao);
        glBindVertexArray(vao);
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(ModelVertex)), vertices.data(),
                     GL_STATIC_DRAW);
        const auto offset = [](size_t bytes) { return reinterpret_cast<const void*>(bytes); };
        constexpr GLsizei stride = sizeof(ModelVertex);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, offset(offsetof(ModelVertex, position)));
        if (!onlyPositions) {
            glEnableVertexAttribArray(1);
            glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, offset(offsetof(ModelVertex, normal)));
            glEnableVertexAttribArray(2);
            glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, offset(offsetof(ModelVertex, uv)));
            glEnableVertexAttribArray(3);
            glVertexAttribIPointer(3, 4, GL_INT, stride, offset(offsetof(ModelVertex, boneIds)));
            glEnableVertexAttribArray(4);
            glVertexAttribPointer(4, 4, GL_FLOAT, GL_FALSE, stride, offset(offsetof(ModelVertex, weights)));
        }
        glBindVertexArray(0);
    }
    ~ModelGeometry() {
        glDeleteBuffers(1, &buffer);
        glDeleteVertexArrays(1, &vao);
    }
    ModelGeometry(const ModelGeometry&) = delete;
    ModelGeometry& operator=(const ModelGeometry&) = delete;

    void draw(GLenum mode) const {
        glBindVertexArray(vao);
        glDrawArrays(mode, 0, count);
        glBindVertexArray(0);
    }

private:
    GLuint vao = 0;
    GLuint buffer = 0;
    GLsizei count = 0;
};

// A square facing +z, `half` wide, at depth z, with texture coordinates over [0, 1] (or
// starting at `uOrigin` in u) and every vertex held by `bone`.
std::vector<ModelVertex> square(float half, float z, int bone = 0, float weight = 1.0f, float uOrigin = 0.0f) {
    const glm::vec3 n(0.0f, 0.0f, 1.0f);
    const glm::ivec4 ids(bone, 0, 0, 0);
    const glm::vec4 w(weight, 0.0f, 0.0f, 0.0f);
    const auto v = [&](float x, float y, float u, float t) {
        return ModelVertex{{x * half, y * half, z}, n, {uOrigin + u, t}, ids, w};
    };
    return {v(-1, -1, 0, 0), v(1, -1, 1, 0), v(1, 1, 1, 1), v(-1, -1, 0, 0), v(1, 1, 1, 1), v(-1, 1, 0, 1)};
}

// The frame uniforms the game loads each frame, made current: a camera at the origin
// looking down -z, the two lights at their game values; a tile's material.
void loadFrameUniforms(Shader& shader) {
    glUseProgram(shader.program);
    const glm::mat4 projection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
    const glm::mat4 view = glm::lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    shader.setUniform("viewProjMatrix", projection * view);
    shader.setUniform("modelMatrix", glm::mat4(1.0f));
    shader.setUniform("normalMatrix", glm::mat3(1.0f));
    shader.setUniform("camera_world", glm::vec3(0.0f));
    shader.setUniform("dirL.color", glm::vec3(0.7f));
    shader.setUniform("dirL.direction", glm::normalize(glm::vec3(1.0f, -1.0f, -1.0f)));
    shader.setUniform("pointL.color", glm::vec3(0.3f, 0.0f, 0.0f));
    shader.setUniform("pointL.position", glm::vec3(0.0f, 3.6f, -30.0f));
    shader.setUniform("pointL.attenuation", glm::vec3(0.1f, 0.001f, 0.005f));
    shader.setUniform("materialCoefficients", glm::vec3(0.2f, 0.8f, 0.2f));
    glUniform1f(shader.uniformLocation("specularAlpha"), 0.8f);
    glUniform1i(shader.uniformLocation("hasBones"), 0);
    glUniform1i(shader.uniformLocation("hasTexture"), 0);
    shader.setUniform("model_rgbColor", glm::vec3(1.0f, 1.0f, 0.4f));
}

// The model program with the frame uniforms.
class ModelProgram : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(buildLog({{GL_VERTEX_SHADER, "texture.vert"}, {GL_FRAGMENT_SHADER, "texture.frag"}}), "");
        shader = std::make_unique<Shader>("texture.vert", "texture.frag");
        loadFrameUniforms(*shader);
    }
    // Draws `vertices` into a fresh target and returns its centre pixel.
    glm::vec4 centreAfterDrawing(const std::vector<ModelVertex>& vertices) {
        Target target;
        ModelGeometry geometry(vertices);
        geometry.draw(GL_TRIANGLES);
        return target.pixel(kSize / 2, kSize / 2);
    }
    void useTexture(GLuint texture) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
        glUniform1i(shader->uniformLocation("hasTexture"), 1);
    }
    std::unique_ptr<Shader> shader;
};

}  // namespace

TEST_F(ModelProgram, ExposesTheMeshAttributesAndEveryUniformTheGameSets) {
    const std::map<GLint, GLenum> attributes = activeAttributes(shader->program);
    EXPECT_EQ(attributes, (std::map<GLint, GLenum>{{0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC3}, {2, GL_FLOAT_VEC2},
                                                    {3, GL_INT_VEC4}, {4, GL_FLOAT_VEC4}}));
    expectUniformsActive(*shader, {"modelMatrix", "normalMatrix", "viewProjMatrix", "camera_world", "dirL.color",
                                   "dirL.direction", "pointL.color", "pointL.position", "pointL.attenuation",
                                   "materialCoefficients", "specularAlpha", "hasTexture", "diffuseTexture",
                                   "model_rgbColor", "hasBones", "bones", "bones[99]"});
    GLint unit = -1;
    glGetUniformiv(shader->program, shader->uniformLocation("diffuseTexture"), &unit);
    EXPECT_EQ(unit, 0);
}

// The physics debug lines enable attribute 0 only, so the normal reads as zero.
TEST_F(ModelProgram, DebugLinesWithoutNormalsDrawInAVisibleColour) {
    Target target;
    const GLuint texture = makeTexture(1, 1, {0, 0, 0, 255});
    useTexture(texture);  // whatever the last object left bound, even a black texture
    std::vector<ModelVertex> line(2);
    line[0].position = {-1.0f, 0.0f, -2.0f};
    line[1].position = {1.0f, 0.0f, -2.0f};
    ModelGeometry geometry(line, true);
    geometry.draw(GL_LINES);
    const glm::vec4 p = target.pixel(kSize / 2, kSize / 2);
    EXPECT_GT(std::max(p.r, std::max(p.g, p.b)), 0.5f) << p.r << " " << p.g << " " << p.b;
    glDeleteTextures(1, &texture);
}

TEST_F(ModelProgram, SkinnedVerticesFollowTheirBone) {
    Target target;
    std::vector<glm::mat4> bones(100, glm::mat4(1.0f));
    bones[1] = glm::translate(glm::mat4(1.0f), glm::vec3(0.6f, 0.0f, 0.0f));
    glUniformMatrix4fv(shader->uniformLocation("bones"), 100, GL_FALSE, glm::value_ptr(bones[0]));
    glUniform1i(shader->uniformLocation("hasBones"), 1);
    ModelGeometry geometry(square(0.25f, -2.0f, 1));
    geometry.draw(GL_TRIANGLES);
    EXPECT_TRUE(target.untouched(kSize / 2, kSize / 2));         // moved away from the centre
    EXPECT_FALSE(target.untouched(kSize / 2 + 16, kSize / 2));   // to the right, by 0.6 at depth 2
}

TEST_F(ModelProgram, VerticesThatNoBoneHoldsStayInPlace) {
    Target target;
    glUniform1i(shader->uniformLocation("hasBones"), 1);
    ModelGeometry geometry(square(0.25f, -2.0f, 1, 0.0f));
    geometry.draw(GL_TRIANGLES);
    EXPECT_FALSE(target.untouched(kSize / 2, kSize / 2));
}

// The shield's lattice: black texels are holes, so the boss shows through.
TEST_F(ModelProgram, NearBlackTexelsAreCutOutInTheCutoutZone) {
    Target target;
    const GLuint texture = makeTexture(2, 1, {0, 0, 0, 255, 120, 220, 255, 255});
    useTexture(texture);
    shader->setUniform("model_rgbColor", glm::vec3(0.0f));
    ModelGeometry geometry(square(1.0f, -1.5f, 0, 1.0f, 100.0f));
    geometry.draw(GL_TRIANGLES);
    EXPECT_TRUE(target.untouched(kSize / 4, kSize / 2));
    EXPECT_FALSE(target.untouched(3 * kSize / 4, kSize / 2));
    glDeleteTextures(1, &texture);
}

TEST_F(ModelProgram, DarkTexelsElsewhereAreDrawn) {
    Target target;
    const GLuint texture = makeTexture(1, 1, {0, 0, 0, 255});
    useTexture(texture);
    ModelGeometry geometry(square(1.0f, -1.5f));
    geometry.draw(GL_TRIANGLES);
    EXPECT_FALSE(target.untouched(kSize / 2, kSize / 2));
    glDeleteTextures(1, &texture);
}

// Landscape tiles get strong colours such as (1, 1, 0.4); the texture must still show.
TEST_F(ModelProgram, TileColoursTintTexturesWithoutDrowningThem) {
    const GLuint texture = makeTexture(1, 1, {128, 128, 220, 255});
    useTexture(texture);
    shader->setUniform("model_rgbColor", glm::vec3(1.0f, 0.0f, 0.4f));
    const glm::vec4 tinted = centreAfterDrawing(square(1.0f, -1.5f));
    EXPECT_GT(tinted.g, 0.05f);      // the colour's zero green does not black out the texture
    EXPECT_GT(tinted.b, tinted.g);   // but the tint is there
    glDeleteTextures(1, &texture);
}

// A model whose picture failed to load still binds its (empty) texture object; Mesa
// samples it as black and reports one level, so only "still drawn" holds everywhere.
TEST_F(ModelProgram, AnEmptyTextureStillDrawsTheModel) {
    GLuint empty = 0;
    glGenTextures(1, &empty);
    useTexture(empty);
    const glm::vec4 p = centreAfterDrawing(square(1.0f, -1.5f));
    EXPECT_LT(p.b, 0.99f);
    glDeleteTextures(1, &empty);
}

TEST_F(ModelProgram, DistantSurfacesMeltIntoTheHaze) {
    const glm::vec4 nearColour = centreAfterDrawing(square(3.0f, -3.0f));
    const glm::vec4 farColour = centreAfterDrawing(square(99.0f, -99.0f));
    // The haze is the warm horizon colour of the sky picture.
    EXPECT_GT(farColour.r, farColour.g);
    EXPECT_GT(farColour.g, 0.4f);
    EXPECT_GT(glm::length(glm::vec3(nearColour - farColour)), 0.1f);
}

TEST_F(ModelProgram, UntexturedPartsInTheGlowZoneOutshineHull) {
    shader->setUniform("model_rgbColor", glm::vec3(0.0f, 0.8f, 0.7f));
    const glm::vec4 hull = centreAfterDrawing(square(1.0f, -1.5f, 0, 1.0f, 0.2f));
    const glm::vec4 glow = centreAfterDrawing(square(1.0f, -1.5f, 0, 1.0f, 32.2f));
    EXPECT_GT(glow.r + glow.g + glow.b, hull.r + hull.g + hull.b + 0.5f);
}

// The landscape's own program, which takes in the model program's lighting, shows a
// tinted, textured tile as the model program does, near and deep in the haze.
TEST_F(ModelProgram, LandscapeProgramLightsATileAsTheModelProgramDoes) {
    ASSERT_EQ(buildLog({{GL_VERTEX_SHADER, "texture.vert"}, {GL_FRAGMENT_SHADER, "landscape.frag"}}), "");
    std::unique_ptr<Shader> landscape = std::make_unique<Shader>("texture.vert", "landscape.frag");
    const GLuint texture = makeTexture(1, 1, {128, 96, 220, 255});
    for (const float distance : {1.5f, 70.0f}) {
        std::array<glm::vec4, 2> seen;
        for (glm::vec4& colour : seen) {
            loadFrameUniforms(*shader);
            useTexture(texture);
            colour = centreAfterDrawing(square(distance, -distance));
            std::swap(shader, landscape);
        }
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(seen[0][channel], seen[1][channel], 1.5f / 255.0f) << distance;
    }
    glDeleteTextures(1, &texture);
}

TEST_F(GlTest, HudProgramTakesPositionsAndCoordinatesAndItsUniforms) {
    ASSERT_EQ(buildLog({{GL_VERTEX_SHADER, "HUD.vert"}, {GL_FRAGMENT_SHADER, "HUD.frag"}}), "");
    Shader shader("HUD.vert", "HUD.frag");
    EXPECT_EQ(activeAttributes(shader.program), (std::map<GLint, GLenum>{{0, GL_FLOAT_VEC2}, {1, GL_FLOAT_VEC2}}));
    expectUniformsActive(shader, {"modelMatrix", "viewProjMatrix", "myCol", "hasTextureImg"});
}

// The resolve's programs, run as the game runs them: through the scene target.
class ResolveProgram : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        for (const char* fragment : {"postprocessing.frag", "postprocessing_edges.frag", "postprocessing_grade.frag",
                                     "postprocessing_stretch.frag"})
            ASSERT_EQ(buildLog({{GL_VERTEX_SHADER, "postprocessing.vert"}, {GL_FRAGMENT_SHADER, fragment}}), "")
                << fragment;
        shader = std::make_unique<Shader>("postprocessing.vert", "postprocessing.frag");
        edgeShader = std::make_unique<Shader>("postprocessing.vert", "postprocessing_edges.frag");
        gradeShader = std::make_unique<Shader>("postprocessing.vert", "postprocessing_grade.frag");
        stretchShader = std::make_unique<Shader>("postprocessing.vert", "postprocessing_stretch.frag");
        sceneTarget = std::make_unique<PostProcessingFrameBuffer>(kSize, kSize);
    }
    // Resolves a kSize x kSize scene picture, as the game does, into the bound target.
    void resolve(const std::vector<std::uint8_t>& picture) {
        glBindTexture(GL_TEXTURE_2D, sceneTarget->colorTexture);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
        sceneTarget->resolve({*shader, *edgeShader, *gradeShader, *stretchShader});
    }
    std::unique_ptr<Shader> shader;
    std::unique_ptr<Shader> edgeShader;
    std::unique_ptr<Shader> gradeShader;
    std::unique_ptr<Shader> stretchShader;
    std::unique_ptr<PostProcessingFrameBuffer> sceneTarget;
};

TEST_F(ResolveProgram, TakesTheQuadAttributesAndReadsUnitZero) {
    for (const Shader* program : {shader.get(), edgeShader.get(), gradeShader.get(), stretchShader.get()}) {
        EXPECT_EQ(activeAttributes(program->program),
                  (std::map<GLint, GLenum>{{0, GL_FLOAT_VEC2}, {1, GL_FLOAT_VEC2}}));
        for (const auto& [name, type] : activeUniforms(program->program)) {
            EXPECT_EQ(type, static_cast<GLenum>(GL_SAMPLER_2D)) << name << ": the game sets no uniforms here";
            GLint unit = -1;
            glGetUniformiv(program->program, glGetUniformLocation(program->program, name.c_str()), &unit);
            EXPECT_EQ(unit, 0);
        }
    }
}

TEST_F(ResolveProgram, KeepsFlatColoursCloseToTheScene) {
    Target target;
    std::vector<std::uint8_t> grey(kSize * kSize * 4, 128);
    resolve(grey);
    const glm::vec4 centre = target.pixel(kSize / 2, kSize / 2);
    EXPECT_NEAR(centre.r, 128.0f / 255.0f, 0.08f);
    EXPECT_NEAR(centre.g, centre.r, 0.01f);
    EXPECT_NEAR(centre.b, centre.r, 0.01f);
}

// The off-screen target has no multisampling; the resolve must soften stair-stepped edges
// within the shares asked for (here the window's upper half, in two overlapping shares),
// and leave them as they are elsewhere.
TEST_F(ResolveProgram, SmoothsAStairSteppedEdgeWithinTheSharesAskedFor) {
    Target target;
    std::vector<std::uint8_t> scene(kSize * kSize * 4, 255);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (x < kSize / 2 + y / 4 - kSize / 8) std::fill_n(scene.begin() + (y * kSize + x) * 4, 3, 0);
    sceneTarget->smoothNoEdges();
    sceneTarget->smoothEdgesWithin({0.0f, 0.0f, 0.6f, 0.5f});
    sceneTarget->smoothEdgesWithin({0.5f, 0.0f, 0.5f, 0.5f});
    resolve(scene);
    std::array<int, 2> softened{};  // the lower half of the window, the upper
    int lightBelow = 0;
    for (int y = kSize / 4; y < 3 * kSize / 4; ++y)
        for (int x = kSize / 4; x < 3 * kSize / 4; ++x) {
            const float v = target.pixel(x, y).g;
            if (v > 0.15f && v < 0.85f) ++softened[y < kSize / 2 ? 0 : 1];
            if (v >= 0.85f && y < kSize / 2) ++lightBelow;
        }
    EXPECT_GT(softened[1], kSize / 8);  // an in-between value on most rows of the edge
    EXPECT_EQ(softened[0], 0);
    EXPECT_GT(lightBelow, kSize * kSize / 32);  // graded there too, not left as the window was
}

class SmokePrograms : public GlTest {};

TEST_F(SmokePrograms, DrawingProgramBuildsAndTakesTheCameraMatrices) {
    ASSERT_EQ(buildLog({{GL_VERTEX_SHADER, "particle.vert"},
                        {GL_GEOMETRY_SHADER, "particle.geom"},
                        {GL_FRAGMENT_SHADER, "particle.frag"}}),
              "");
    ParticleShader shader("particle.vert", "particle.geom", "particle.frag");
    EXPECT_EQ(activeAttributes(shader.program),
              (std::map<GLint, GLenum>{{0, GL_FLOAT_VEC4}, {1, GL_FLOAT_VEC4}}));  // position, velocity
    expectUniformsActive(shader, {"ViewMatrix", "ModelMatrix", "ProjectionMatrix", "DrawnPart",
                                  "TargetHeight", "LargestSprite", "Channels"});
    ParticleShader sprites("particle.vert", "particle_sprite.frag");  // no geometry stage
    EXPECT_TRUE(sprites.usable);
    expectUniformsActive(sprites, {"ProjectionMatrix", "PuffShare", "LargestSprite", "Sprites", "Channels"});
}

TEST_F(SmokePrograms, ComputeProgramRunsGroupsOf128AndTakesTheStepUniforms) {
    ASSERT_EQ(buildLog({{GL_COMPUTE_SHADER, "particle.compute"}}), "");
    ParticleShader shader("particle.compute");
    GLint groupSize[3] = {};
    glGetProgramiv(shader.program, GL_COMPUTE_WORK_GROUP_SIZE, groupSize);
    EXPECT_EQ(groupSize[0], 128);
    EXPECT_EQ(groupSize[1], 1);
    EXPECT_EQ(groupSize[2], 1);
    const std::map<std::string, GLenum> uniforms = activeUniforms(shader.program);
    for (const char* name : {"MaximumCount", "LastCount", "SpawnCount"})
        EXPECT_EQ(uniforms.count(name) ? uniforms.at(name) : 0u, static_cast<GLenum>(GL_UNSIGNED_INT)) << name;
    for (const char* name : {"DeltaT", "randomNum1", "randomNum2"})
        EXPECT_EQ(uniforms.count(name) ? uniforms.at(name) : 0u, static_cast<GLenum>(GL_FLOAT)) << name;
}

namespace {

// The smoke simulation with the bindings and the read-back of the particle system, on a
// small capacity so that the edge cases are cheap to set up.
class SmokeStep : public GlTest {
protected:
    static constexpr std::uint32_t kCapacity = 300;
    static constexpr std::uint32_t kGuard = 64;  // elements past the capacity that must stay untouched

    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        shader = std::make_unique<ParticleShader>("particle.compute");
        for (int set = 0; set < 2; ++set) {
            positions[set] = storage(std::vector<glm::vec4>(kCapacity + kGuard, glm::vec4(-7.0f)));
            velocities[set] = storage(std::vector<glm::vec4>(kCapacity + kGuard, glm::vec4(0.0f)));
        }
        glGenBuffers(1, &counter);
        glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, counter);
        const std::uint32_t zero = 0;
        glBufferData(GL_ATOMIC_COUNTER_BUFFER, 4, &zero, GL_DYNAMIC_DRAW);
    }
    void TearDown() override {
        if (!context.ready()) return;
        glDeleteBuffers(2, positions.data());
        glDeleteBuffers(2, velocities.data());
        glDeleteBuffers(1, &counter);
    }
    static GLuint storage(const std::vector<glm::vec4>& values) {
        GLuint buffer = 0;
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer);
        glBufferData(GL_SHADER_STORAGE_BUFFER, static_cast<GLsizeiptr>(values.size() * sizeof(glm::vec4)), values.data(),
                     GL_DYNAMIC_DRAW);
        return buffer;
    }
    void load(int set, const std::vector<glm::vec4>& p, const std::vector<glm::vec4>& v) {
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, positions[set]);
        glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, static_cast<GLsizeiptr>(p.size() * sizeof(glm::vec4)), p.data());
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, velocities[set]);
        glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, static_cast<GLsizeiptr>(v.size() * sizeof(glm::vec4)), v.data());
    }
    std::vector<glm::vec4> read(int set, std::uint32_t count) {
        std::vector<glm::vec4> values(count);
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, positions[set]);
        glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, static_cast<GLsizeiptr>(count * sizeof(glm::vec4)), values.data());
        return values;
    }
    // One step from set `from` into the other, dispatched as the particle system does;
    // returns the counter and resets it.
    std::uint32_t step(int from, std::uint32_t lastCount, std::uint32_t spawnCount, float deltaT) {
        glUseProgram(shader->program);
        glUniform1ui(shader->uniformLocation("MaximumCount"), kCapacity);
        glUniform1ui(shader->uniformLocation("LastCount"), lastCount);
        glUniform1ui(shader->uniformLocation("SpawnCount"), spawnCount);
        glUniform1f(shader->uniformLocation("DeltaT"), deltaT);
        glUniform1f(shader->uniformLocation("randomNum1"), 0.13f);
        glUniform1f(shader->uniformLocation("randomNum2"), -0.31f);
        glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, positions[from]);
        glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 1, velocities[from]);
        glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 2, positions[1 - from]);
        glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 3, velocities[1 - from]);
        glBindBufferBase(GL_ATOMIC_COUNTER_BUFFER, 4, counter);
        glDispatchCompute(lastCount / 128 + 1, 1, 1);
        glMemoryBarrier(GL_ATOMIC_COUNTER_BARRIER_BIT | GL_BUFFER_UPDATE_BARRIER_BIT);
        std::uint32_t count = 0;
        glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, counter);
        glGetBufferSubData(GL_ATOMIC_COUNTER_BUFFER, 0, 4, &count);
        const std::uint32_t zero = 0;
        glBufferSubData(GL_ATOMIC_COUNTER_BUFFER, 0, 4, &zero);
        return count;
    }

    std::unique_ptr<ParticleShader> shader;
    std::array<GLuint, 2> positions{};
    std::array<GLuint, 2> velocities{};
    GLuint counter = 0;
};

const glm::vec4 kSeedPosition(0.0f, 0.0f, 0.0f, 10.0f);
const glm::vec4 kSeedVelocity(0.0f, 0.002f, 0.0f, 0.0f);

}  // namespace

TEST_F(SmokeStep, CountsTheSeedAndEverySpawnedParticle) {
    load(0, {kSeedPosition}, {kSeedVelocity});
    EXPECT_EQ(step(0, 1, 16, 0.016f), 17u);
    for (const glm::vec4& p : read(1, 17)) {
        EXPECT_GT(p.w, 0.0f);  // every one written is alive
        EXPECT_LT(glm::length(glm::vec3(p)), 2.0f);  // and starts at the emitter
    }
}

TEST_F(SmokeStep, SpawnsBeyondOneWorkGroupWhenFewParticlesLive) {
    load(0, {kSeedPosition}, {kSeedVelocity});
    EXPECT_EQ(step(0, 1, 200, 0.016f), 201u);  // one group of 128 invocations, 200 spawns
}

TEST_F(SmokeStep, ExpiredParticlesAreNotWritten) {
    load(0, {kSeedPosition}, {kSeedVelocity});
    const std::uint32_t spawned = step(0, 1, 16, 0.016f);
    EXPECT_EQ(step(1, spawned, 0, 6.0f), 1u);  // only the long-lived seed outlasts six seconds
}

TEST_F(SmokeStep, NeverWritesPastTheCapacity) {
    load(0, std::vector<glm::vec4>(kCapacity, glm::vec4(0.0f, 0.0f, 0.0f, 3.0f)),
         std::vector<glm::vec4>(kCapacity, glm::vec4(0.0f)));
    EXPECT_EQ(step(0, kCapacity, 50, 0.016f), kCapacity);
    const std::vector<glm::vec4> written = read(1, kCapacity + kGuard);
    for (std::uint32_t i = kCapacity; i < kCapacity + kGuard; ++i) EXPECT_EQ(written[i], glm::vec4(-7.0f)) << i;
}

TEST_F(SmokeStep, SmokeRisesAsItAges) {
    load(0, {kSeedPosition}, {kSeedVelocity});
    std::uint32_t count = 1;
    int from = 0;
    for (int i = 0; i < 60; ++i) {
        count = step(from, count, i < 20 ? 16 : 0, 0.03f);
        from = 1 - from;
    }
    float sum = 0.0f;
    const std::vector<glm::vec4> live = read(from, count);
    for (const glm::vec4& p : live) sum += p.y;
    ASSERT_GT(count, 100u);
    EXPECT_GT(sum / static_cast<float>(count), 1.0f);
}
