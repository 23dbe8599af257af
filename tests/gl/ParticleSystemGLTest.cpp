#include "effects/ParticleSystem.h"

#include "effects/PostProcessingFrameBuffer.h"
#include "effects/SmokeTarget.h"
#include "framework/DdsImage.h"

#include "render/CustomCamera.h"
#include "render/ParticleShader.h"
#include "support/GlContext.h"
#include "support/GameProcess.h"
#include "support/TempFiles.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A predictable simulation: every live particle moves up by one unit per step and
// each spawned particle starts at (0, 0, 0, its spawn index).
const char* const kStepShader = R"(#version 430 core
layout(local_size_x = 128) in;
layout(std430, binding = 0) buffer InPositions { vec4 inPositions[]; };
layout(std430, binding = 1) buffer InVelocities { vec4 inVelocities[]; };
layout(std430, binding = 2) buffer OutPositions { vec4 outPositions[]; };
layout(std430, binding = 3) buffer OutVelocities { vec4 outVelocities[]; };
layout(binding = 4, offset = 0) uniform atomic_uint written;
uniform uint MaximumCount;
uniform uint LastCount;
uniform uint SpawnCount;
void main() {
    uint i = gl_GlobalInvocationID.x;
    if (i < LastCount) {
        uint slot = atomicCounterIncrement(written);
        outPositions[slot] = inPositions[i] + vec4(0, 1, 0, 0);
        outVelocities[slot] = inVelocities[i];
    }
    uint invocations = gl_NumWorkGroups.x * 128u;
    for (uint s = i; s < SpawnCount; s += invocations) {
        uint slot = atomicCounterIncrement(written);
        outPositions[slot] = vec4(0, 0, 0, float(s));
        outVelocities[slot] = vec4(0);
    }
}
)";
const char* const kPointVertex =
    "#version 430 core\nlayout(location = 0) in vec4 position;\nuniform mat4 ViewMatrix;\n"
    "uniform mat4 ModelMatrix;\nuniform mat4 ProjectionMatrix;\n"
    "void main() { gl_Position = ProjectionMatrix * ViewMatrix * ModelMatrix * vec4(position.xyz, 1); }\n";
const char* const kPointGeometry =
    "#version 430 core\nlayout(points) in;\nlayout(points, max_vertices = 1) out;\n"
    "void main() { gl_Position = gl_in[0].gl_Position; EmitVertex(); EndPrimitive(); }\n";
const char* const kPointFragment =
    "#version 430 core\nout vec4 color;\nvoid main() { color = vec4(1); }\n";

class Particles : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        dir.write("assets/shader/step.compute", kStepShader);
        dir.write("assets/shader/point.vert", kPointVertex);
        dir.write("assets/shader/point.geom", kPointGeometry);
        dir.write("assets/shader/point.frag", kPointFragment);
        const fs::path smoke = fs::path(QEX_BUILD_DIR) / "assets/textures/smokecloud.dds";
        if (fs::exists(smoke)) {
            fs::create_directories(dir.path() / "assets/textures");
            fs::copy_file(smoke, dir.path() / "assets/textures/smokecloud.dds");
        }
        camera = std::make_shared<CustomCamera>(320.0f, 240.0f, 60.0f, 0.1f, 100.0f);
    }

    std::unique_ptr<ParticleSystem> makeSystem(const std::string& compute = "step.compute") {
        return std::make_unique<ParticleSystem>(
            std::make_shared<ParticleShader>(compute),
            std::make_shared<ParticleShader>("point.vert", "point.geom", "point.frag"),
            std::make_shared<ParticleShader>("point.vert", "point.geom", "point.frag"), camera);
    }

    // The game's programs (the sprites' with `spriteFragment`) over a column seen down its
    // length, puffs `first` to `end`: all 600 put more puffs on a pixel than the smoke's
    // target lets through.
    std::unique_ptr<ParticleSystem> makeColumn(const std::string& spriteFragment = "particle_sprite.frag",
                                               int first = 0, int end = 600) {
        const fs::path shaders = fs::path(QEX_BUILD_DIR) / "assets/shader";
        for (const char* file : {"particle.vert", "particle.geom", "particle.frag", "particle_sprite.frag",
                                 "particle_reach.compute", "smoke_composite.vert", "smoke_composite.frag"})
            fs::copy_file(shaders / file, dir.path() / "assets/shader" / file, fs::copy_options::skip_existing);
        auto smoke = std::make_unique<ParticleSystem>(
            std::make_shared<ParticleShader>("step.compute"),
            std::make_shared<ParticleShader>("particle.vert", "particle.geom", "particle.frag"),
            std::make_shared<ParticleShader>("particle.vert", spriteFragment),
            camera, std::make_shared<ParticleShader>("particle_reach.compute"));
        std::vector<glm::vec4> puffs;
        std::vector<glm::vec4> spins;
        for (int i = first; i < end; ++i) {
            puffs.emplace_back(1.5f * std::sin(0.7f * float(i)), std::cos(1.3f * float(i)), -0.5f * float(i % 40),
                               0.3f + 3.6f * float(i % 37) / 37.0f);
            spins.emplace_back(0.0f, 0.0f, 0.0f, std::sin(2.9f * float(i)));
        }
        const auto upload = [](GLuint buffer, const std::vector<glm::vec4>& values) {
            glBindBuffer(GL_ARRAY_BUFFER, buffer);
            glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(values.size() * sizeof(glm::vec4)), values.data());
        };
        upload(smoke->positionBuffers[smoke->currentSet], puffs);
        upload(smoke->velocityBuffers[smoke->currentSet], spins);
        smoke->lastCount = static_cast<std::uint32_t>(puffs.size());
        camera->projection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
        return smoke;
    }

    static constexpr int kScene = 128;  // pixels square

    // A scene target cleared to the background and bound, with its viewport.
    static PostProcessingFrameBuffer clearedScene() {
        const PostProcessingFrameBuffer scene(kScene, kScene);
        glBindFramebuffer(GL_FRAMEBUFFER, scene.framebuffer);
        glViewport(0, 0, kScene, kScene);
        glClearColor(0.2f, 0.1f, 0.1f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return scene;
    }

    // The bound scene's RGB, bottom row first; leaves the window bound.
    static std::vector<unsigned char> scenePixels() {
        std::vector<unsigned char> pixels(kScene * kScene * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kScene, kScene, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return pixels;
    }

    static std::vector<glm::vec4> readBuffer(GLuint buffer, std::uint32_t count) {
        std::vector<glm::vec4> values(count);
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer);
        glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, count * sizeof(glm::vec4), values.data());
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, 0);
        return values;
    }

    TempDir dir;
    ScopedWorkingDirectory cwd{dir.path()};
    std::shared_ptr<CustomCamera> camera;
};

}  // namespace

TEST(ParticleWorkGroups, OneGroupPer128ParticlesAndAtLeastOne) {
    EXPECT_EQ(ParticleSystem::workGroupsFor(0), 1u);
    EXPECT_EQ(ParticleSystem::workGroupsFor(127), 1u);
    EXPECT_EQ(ParticleSystem::workGroupsFor(128), 2u);
    EXPECT_EQ(ParticleSystem::workGroupsFor(10000), 79u);
}

TEST_F(Particles, StartsAndRestartsWithTheSeedParticleInSetZero) {
    const auto system = makeSystem();
    EXPECT_EQ(system->lastCount, 1u);
    EXPECT_EQ(system->currentSet, 0);
    EXPECT_EQ(system->maximumCount, 10000u);
    const auto seed = readBuffer(system->positionBuffers[0], 1);
    EXPECT_EQ(seed[0], glm::vec4(0.0f, 0.0f, 0.0f, 10.0f));
    EXPECT_EQ(readBuffer(system->velocityBuffers[0], 1)[0], glm::vec4(0.0f, 0.002f, 0.0f, 0.0f));
    for (const float step : {0.0078125f, 0.0f, 0.0078125f}) system->update(step);  // set 1, with spawns
    system->restart();
    EXPECT_EQ(std::make_tuple(system->lastCount, system->currentSet, system->spawnAccumulator),
              std::make_tuple(1u, std::uint8_t{0}, 0.0));
    EXPECT_EQ(readBuffer(system->positionBuffers[0], 1)[0], seed[0]);
    GLint size = 0;
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, system->positionBuffers[1]);
    glGetBufferParameteriv(GL_SHADER_STORAGE_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(size, 160000);
}

TEST_F(Particles, ZeroFrameTimeSpawnsNothingButStillSteps) {
    const auto system = makeSystem();
    system->update(0.0f);
    EXPECT_EQ(system->spawnCount, 0u);
    EXPECT_DOUBLE_EQ(system->spawnAccumulator, 0.0);
    EXPECT_EQ(system->lastCount, 1u);  // the seed was carried over by the dispatch
    EXPECT_EQ(system->currentSet, 1);
    EXPECT_EQ(readBuffer(system->positionBuffers[1], 1)[0], glm::vec4(0, 1, 0, 10));
}

TEST_F(Particles, SpawnsOneParticlePerMillisecondCarryingTheFraction) {
    const auto system = makeSystem();
    system->update(0.015625f);
    EXPECT_EQ(system->spawnCount, 15u);
    EXPECT_DOUBLE_EQ(system->spawnAccumulator, 0.625);
    EXPECT_EQ(system->lastCount, 16u);
    system->update(0.015625f);
    EXPECT_EQ(system->spawnCount, 16u);
    EXPECT_DOUBLE_EQ(system->spawnAccumulator, 0.25);
    EXPECT_EQ(system->lastCount, 32u);
    EXPECT_EQ(system->currentSet, 0);  // back in the first set after two steps
}

TEST_F(Particles, StepsPingPongAndTheCounterMatchesTheParticlesWritten) {
    const auto system = makeSystem();
    system->update(0.0078125f);  // 7.8 ms: seven spawns; reads set 0, writes set 1
    ASSERT_EQ(system->currentSet, 1);
    const auto written = readBuffer(system->positionBuffers[1], system->lastCount);
    ASSERT_EQ(written.size(), 8u);
    float seedsFound = 0.0f;
    float spawnIndexSum = 0.0f;
    for (const glm::vec4& p : written) {
        if (p.y == 1.0f) seedsFound += 1.0f;
        if (p.y == 0.0f) spawnIndexSum += p.w;
    }
    EXPECT_EQ(seedsFound, 1.0f);
    EXPECT_EQ(spawnIndexSum, 21.0f);  // spawns 0..6, each exactly once

    GLuint counter = 99;
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, system->counterBuffer);
    glGetBufferSubData(GL_ATOMIC_COUNTER_BUFFER, 0, sizeof(counter), &counter);
    EXPECT_EQ(counter, 0u);  // reset for the next step
}

TEST_F(Particles, DrawUsesTheNewestSetAndLeavesMaxBlending) {
    const auto system = makeSystem();
    system->update(0.002f);
    glBlendEquation(GL_FUNC_ADD);
    system->draw(glm::mat4(1.0f), 240);
    GLint equation = 0;
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &equation);
    EXPECT_EQ(equation, GL_MAX);
    GLint vao = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vao);
    EXPECT_EQ(vao, 0);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_PROGRAM_POINT_SIZE));
}

// The game's own smoke program: particles stay within capacity and rise over time.
TEST_F(Particles, GameSmokeRisesAndStaysWithinCapacity) {
    const fs::path gameShaders = fs::path(QEX_BUILD_DIR) / "assets/shader";
    if (!fs::exists(gameShaders / "particle.compute")) GTEST_SKIP() << "no smoke shader built";
    fs::copy_file(gameShaders / "particle.compute", dir.path() / "assets/shader/particle.compute");
    const auto system = makeSystem("particle.compute");

    auto meanHeight = [&] {
        const auto particles = readBuffer(system->positionBuffers[system->currentSet],
                                          system->lastCount);
        float sum = 0.0f;
        for (const glm::vec4& p : particles) sum += p.y;
        return particles.empty() ? 0.0f : sum / static_cast<float>(particles.size());
    };
    for (int step = 0; step < 30; ++step) system->update(1.0f / 60.0f);
    const float early = meanHeight();
    for (int step = 0; step < 90; ++step) system->update(1.0f / 60.0f);
    EXPECT_GT(system->lastCount, 100u);
    EXPECT_LE(system->lastCount, 10000u);
    EXPECT_GT(meanHeight(), early);
}

// Each is named once at start-up; after that the smoke stays away without a GL error,
// instead of uploading nothing and running a program that never linked every frame.
TEST_F(Particles, UnusableProgramAndMissingSmokeTextureAreNamedAndNeverRun) {
    fs::remove(dir.path() / "assets/textures/smokecloud.dds");
    while (glGetError() != GL_NO_ERROR) {
    }
    testing::internal::CaptureStdout();
    const auto system = makeSystem("absent.compute");
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("ERROR::DDS::FILE_NOT_READ: assets/textures/smokecloud.dds\n"),
              std::string::npos)
        << printed;
    EXPECT_NE(printed.find("ERROR::SHADER::FILE_NOT_READ_SUCCESFULLY: "
                           "assets/shader/absent.compute\n"),
              std::string::npos)
        << printed;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    system->update(0.1f);
    system->draw(glm::mat4(1.0f), 240);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(system->lastCount, 1u);
    EXPECT_EQ(system->currentSet, 0);
    EXPECT_EQ(system->gatherPart(glm::mat4(1.0f), kScene, 1.0f, PuffPart::First).least, glm::vec2(-1.0f));  // no reach program: all of the view
}

// Held unpacked, every level shows the texels the driver decodes from the file's compressed
// picture and the mipmaps it makes of them.
TEST_F(Particles, SmokeTextureHoldsTheFilesPictureUnpackedAtEveryLevel) {
    const auto system = makeSystem();
    const DdsImage image = loadDds("assets/textures/smokecloud.dds");
    ASSERT_TRUE(image.data && image.width == image.height);
    GLuint packed = 0;
    glGenTextures(1, &packed);
    glBindTexture(GL_TEXTURE_2D, packed);
    glCompressedTexImage2D(GL_TEXTURE_2D, 0, image.format, image.width, image.height, 0,
                           static_cast<GLsizei>(image.size), image.data.get());
    glGenerateMipmap(GL_TEXTURE_2D);
    const auto texelsOf = [&](GLuint texture, GLint level) {
        std::vector<unsigned char> texels(static_cast<std::size_t>((image.width >> level) * (image.width >> level) * 4));
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    };
    for (GLint level = 0; (image.width >> level) > 0; ++level)
        EXPECT_EQ(texelsOf(system->smokeTexture, level), texelsOf(packed, level)) << "level " << level;
    GLint compressed = GL_TRUE;
    glBindTexture(GL_TEXTURE_2D, system->smokeTexture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED, &compressed);
    EXPECT_EQ(compressed, GL_FALSE);
    glDeleteTextures(1, &packed);
}

// The game's smoke through its own half-size target, a quarter of the puffs a frame, laid
// over the scene, against the same puffs drawn straight onto the scene: after four frames in
// a row the same pixels covered, as brightly, give or take the half size's softening; hidden
// the same behind nearer scene depth (the left half). A quarter left from a frame that was
// not one of the last three never shows: a frame after a gap draws its quarter alone; each
// of the last three does, alpha's too. Those are told apart in a column too thin to reach
// the layer count, whose picture does not hang on the order its puffs are gathered in. A
// quarter's puffs are gathered for its draws; the reaches of the quarters hold every
// covered pixel and less than the view, and nothing once the eye turns away.
TEST_F(Particles, SmokeThroughItsOwnTargetCoversWhatItCoveredOnTheScene) {
    const std::unique_ptr<ParticleSystem> column = makeColumn();
    ParticleSystem& smoke = *column;
    const std::unique_ptr<ParticleSystem> thinColumn = makeColumn("particle_sprite.frag", 357, 365);  // three a quarter at most
    camera->view = glm::lookAt(glm::vec3(0.0f, 0.0f, 8.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const Shader composite("smoke_composite.vert", "smoke_composite.frag");
    SmokeTarget smokeTarget;

    constexpr int kSize = kScene;
    constexpr int kWindow = kSize * 4;  // the scene at its least scale: the smoke at half its size
    // Straight onto the scene, or frame by frame through the target: the last frame's layover
    // alone shows.
    const auto drawn = [&](std::vector<std::uint64_t> frames, ParticleSystem& puffs) {
        const PostProcessingFrameBuffer scene = clearedScene();
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, kSize / 2, kSize);
        glClearDepth(0.0);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1.0);
        glDisable(GL_SCISSOR_TEST);
        glEnable(GL_DEPTH_TEST);
        if (frames.empty()) puffs.draw(glm::mat4(1.0f), kSize);
        for (const std::uint64_t frame : frames) {
            if (frame == frames.back()) {
                glBindFramebuffer(GL_FRAMEBUFFER, scene.framebuffer);
                glClearColor(0.2f, 0.1f, 0.1f, 1.0f);
                glClear(GL_COLOR_BUFFER_BIT);
            }
            const PuffPart quarter = smokeTarget.begin(scene.framebuffer, kSize, kSize, kWindow, kWindow, frame);
            const ScreenReach reach = puffs.gatherPart(glm::mat4(1.0f), smokeTarget.drawnHeight(), SmokeTarget::kWholeShare, quarter);
            puffs.draw(glm::mat4(1.0f), smokeTarget.drawnHeight(), SmokeTarget::kMiddleShare, quarter);
            puffs.draw(glm::mat4(1.0f), smokeTarget.drawnHeight(), SmokeTarget::kWholeShare, quarter);
            smokeTarget.layOver(scene.framebuffer, kSize, kSize, composite, reach);
        }
        return scenePixels();
    };
    const std::vector<unsigned char> before = drawn({}, smoke);
    const std::vector<unsigned char> after = drawn({1, 2, 3, 4}, smoke);
    const auto meanDifference = [](const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
        double sum = 0.0;
        for (std::size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
        return sum / double(a.size());
    };
    const auto thin = [&](std::vector<std::uint64_t> frames) { return drawn(std::move(frames), *thinColumn); };
    EXPECT_EQ(meanDifference(thin({4, 6}), thin({6})), 0.0);
    EXPECT_GT(meanDifference(thin({5, 6}), thin({6})), 0.1);
    EXPECT_GT(meanDifference(thin({4, 5, 6}), thin({5, 6})), 0.1);
    EXPECT_GT(meanDifference(thin({3, 4, 5, 6}), thin({4, 5, 6})), 0.1);

    const auto covered = [&](const std::vector<unsigned char>& pixels, int x) {
        return pixels[static_cast<std::size_t>(x) * 3 + 2] > 26 + 12;  // bluer than the background
    };
    std::array<int, 2> coveredBefore{};
    std::array<int, 2> coveredAfter{};
    for (int i = 0; i < kSize * kSize; ++i) {
        // The depth copied to the half size, nearest, and the stretch move its edge a texel.
        if (std::abs(i % kSize - kSize / 2) < 4) continue;
        const std::size_t half = (i % kSize) < kSize / 2 ? 0 : 1;
        coveredBefore[half] += covered(before, i) ? 1 : 0;
        coveredAfter[half] += covered(after, i) ? 1 : 0;
    }
    EXPECT_EQ(coveredBefore[0], 0);
    EXPECT_EQ(coveredAfter[0], 0);
    EXPECT_GT(coveredBefore[1], kSize * kSize / 32);
    EXPECT_NEAR(coveredAfter[1], coveredBefore[1], coveredBefore[1] / 20);
    EXPECT_LT(meanDifference(before, after), 4.0) << coveredBefore[1] << " " << coveredAfter[1];

    ScreenReach reach = ScreenReach::nowhere();
    for (const PuffPart quarter : {PuffPart::Fourth, PuffPart::Third, PuffPart::Second, PuffPart::First})
        reach = reach.unitedWith(smoke.gatherPart(glm::mat4(1.0f), kSize, SmokeTarget::kWholeShare, quarter));
    GLuint gathered = 0;
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, smoke.gathered.draw);
    glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, sizeof(gathered), &gathered);
    unsigned spinningBack = 0;  // the first quarter: the column's puffs spinning hardest back
    for (int i = 0; i < 600; ++i) spinningBack += std::sin(2.9f * float(i)) < -0.5f ? 1u : 0u;
    EXPECT_EQ(gathered, spinningBack);
    EXPECT_LT((reach.most.x - reach.least.x) * (reach.most.y - reach.least.y), 3.0f);
    for (int i = 0; i < kSize * kSize; ++i) {
        const glm::vec2 at = (glm::vec2(i % kSize, i / kSize) + 0.5f) / float(kSize) * 2.0f - 1.0f;
        if (!covered(before, i)) continue;
        EXPECT_EQ(glm::clamp(at, reach.least, reach.most), at) << at.x << ", " << at.y;
    }
    camera->view = glm::lookAt(glm::vec3(0.0f, 0.0f, 8.0f), glm::vec3(0.0f, 0.0f, 16.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_TRUE(smoke.gatherPart(glm::mat4(1.0f), kSize, SmokeTarget::kWholeShare, PuffPart::First).empty());
}

// Each puff drawn as an upright sprite with its picture turned inside gives the picture it
// gave as a turned quad: from outside the column, and from within it, where the nearest
// puffs are larger than the largest sprite and reach past the view's edges (quads again).
// A gathered quarter, its quads walked apart from the sprites, draws what the quarter drew
// ungathered, to the byte (max blending takes the puffs in any order).
TEST_F(Particles, PuffsDrawnAsSpritesLookAsTheyDidAsQuads) {
    const std::unique_ptr<ParticleSystem> mixed = makeColumn();
    testing::internal::CaptureStdout();  // the sprites' absent file is named
    const std::unique_ptr<ParticleSystem> quads = makeColumn("absent.frag");
    testing::internal::GetCapturedStdout();
    ASSERT_GE(mixed->largestSprite, 64.0f);
    ASSERT_EQ(quads->largestSprite, 0.0f);
    const auto drawn = [&](ParticleSystem& smoke, PuffPart part = PuffPart::All) {
        clearedScene();
        smoke.draw(glm::mat4(1.0f), kScene, 1.0f, part);
        return scenePixels();
    };
    for (const glm::vec3 eye : {glm::vec3(0.0f, 0.0f, 8.0f), glm::vec3(0.3f, 0.2f, -3.0f)}) {
        camera->view = glm::lookAt(eye, eye - glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
        const std::vector<unsigned char> asSprites = drawn(*mixed);
        const std::vector<unsigned char> asQuads = drawn(*quads);
        double difference = 0.0;
        int covered = 0;  // blue channels over the background's
        for (std::size_t i = 0; i < asQuads.size(); ++i) {
            difference += std::abs(int(asSprites[i]) - int(asQuads[i]));
            covered += i % 3 == 2 && asQuads[i] > 26 + 12 ? 1 : 0;
        }
        EXPECT_LT(difference / double(asQuads.size()), 0.25) << eye.z;
        EXPECT_GT(covered, kScene * kScene / 8) << eye.z;
        for (ParticleSystem* smoke : {mixed.get(), quads.get()}) smoke->update(0.0f);  // forgets the gather, alike
        const std::vector<unsigned char> ungathered = drawn(*mixed, PuffPart::Second);
        mixed->gatherPart(glm::mat4(1.0f), kScene, 1.0f, PuffPart::Second);
        EXPECT_EQ(drawn(*mixed, PuffPart::Second), ungathered) << eye.z;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
