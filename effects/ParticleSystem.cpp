#include "effects/ParticleSystem.h"

#include "render/CustomCamera.h"
#include "framework/DdsImage.h"
#include "framework/ShaderUniforms.h"
#include "render/ParticleShader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

constexpr GLsizeiptr kParticleBytes = sizeof(glm::vec4);
constexpr GLuint kReadPositions = 0;
constexpr GLuint kReadVelocities = 1;
constexpr GLuint kWritePositions = 2;
constexpr GLuint kWriteVelocities = 3;
constexpr GLuint kCounterBinding = 4;
constexpr GLuint kReachBinding = 5;
constexpr GLuint kGatheredBinding = 6;
constexpr GLuint kGatheredDrawBinding = 7;
constexpr GLuint kGatheredQuadsBinding = 8;
constexpr GLuint kGatheredQuadsDrawBinding = 9;
constexpr GLint kReachUnits = 1024;  // a reach is counted in these parts of half the view
const char* const kSmokeFile = "assets/textures/smokecloud.dds";

// Where the smoke starts: one particle at the origin, drifting gently up.
const glm::vec4 kSeedPosition(0.0f, 0.0f, 0.0f, 10.0f);
const glm::vec4 kSeedVelocity(0.0f, 0.002f, 0.0f, 0.0f);

// A hundredth from -0.5 up to 0.49, from the smoke's own generator: the match's chance is
// the match's alone, however often the smoke is stepped.
float randomOffset(std::minstd_rand& random) {
    return static_cast<float>(static_cast<int>(random() % 100) - 50) / 100.0f;
}

// Named once so that a step or a draw builds no strings.
const std::string kMaximumCountUniform = "MaximumCount";
const std::string kLastCountUniform = "LastCount";
const std::string kSpawnCountUniform = "SpawnCount";
const std::string kDeltaTUniform = "DeltaT";
const std::string kRandom1Uniform = "randomNum1";
const std::string kRandom2Uniform = "randomNum2";
const std::string kViewMatrixUniform = "ViewMatrix";
const std::string kModelMatrixUniform = "ModelMatrix";
const std::string kProjectionMatrixUniform = "ProjectionMatrix";
const std::string kPuffShareUniform = "PuffShare";
const std::string kDrawnPartUniform = "DrawnPart";
const std::string kChannelsUniform = "Channels";
const std::string kTargetHeightUniform = "TargetHeight";
const std::string kLargestSpriteUniform = "LargestSprite";
const std::string kSpritesUniform = "Sprites";
const std::string kLiveCountUniform = "LiveCount";
const std::string kViewModelMatrixUniform = "ViewModelMatrix";

// A quarter is drawn into its own channel, every puff into all four.
glm::vec4 channelsOf(PuffPart part) {
    if (part == PuffPart::All) return glm::vec4(1.0f);
    glm::vec4 channels(0.0f);
    channels[static_cast<GLint>(part) - static_cast<GLint>(PuffPart::First)] = 1.0f;
    return channels;
}

}  // namespace

ParticleSystem::ParticleSystem(std::shared_ptr<ParticleShader> compute,
                               std::shared_ptr<ParticleShader> render,
                               std::shared_ptr<ParticleShader> sprites,
                               std::shared_ptr<CustomCamera> viewer,
                               std::shared_ptr<ParticleShader> reach)
    : computeProgram(std::move(compute)), renderProgram(std::move(render)),
      spriteProgram(std::move(sprites)), camera(std::move(viewer)),
      reachProgram(std::move(reach)) {
    createParticleBuffers();
    createCounter();
    createReachBuffers();
    seedPositions.push_back(kSeedPosition);
    seedVelocities.push_back(kSeedVelocity);
    uploadSeed();
    createVertexArrays();
    loadSmokeTexture();
    measureLargestSprite();
}

ParticleSystem::~ParticleSystem() {
    glDeleteTextures(1, &smokeTexture);
    for (const GatheredPuffs* puffs : {&gathered, &gatheredQuads}) {
        glDeleteVertexArrays(1, &puffs->vao);
        glDeleteBuffers(1, &puffs->draw);
        glDeleteBuffers(1, &puffs->positions);
    }
    glDeleteVertexArrays(2, particleVaos.data());
    glDeleteBuffers(1, &reachBuffer);
    glDeleteBuffers(1, &counterBuffer);
    glDeleteBuffers(2, velocityBuffers.data());
    glDeleteBuffers(2, positionBuffers.data());
}

void ParticleSystem::createParticleBuffers() {
    const GLsizeiptr bytes = static_cast<GLsizeiptr>(maximumCount) * kParticleBytes;
    for (std::array<GLuint, 2>* buffers : {&positionBuffers, &velocityBuffers}) {
        for (GLuint& buffer : *buffers) {
            glGenBuffers(1, &buffer);
            glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer);
            glBufferData(GL_SHADER_STORAGE_BUFFER, bytes, nullptr, GL_DYNAMIC_DRAW);
        }
    }
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, 0);
}

void ParticleSystem::createCounter() {
    const GLuint zero = 0;
    glGenBuffers(1, &counterBuffer);
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, counterBuffer);
    glBufferData(GL_ATOMIC_COUNTER_BUFFER, sizeof(GLuint), nullptr, GL_DYNAMIC_DRAW);
    glBufferSubData(GL_ATOMIC_COUNTER_BUFFER, 0, sizeof(GLuint), &zero);
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, 0);
}

void ParticleSystem::createReachBuffers() {
    glGenBuffers(1, &reachBuffer);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, reachBuffer);
    glBufferData(GL_SHADER_STORAGE_BUFFER, 4 * sizeof(GLint), nullptr, GL_DYNAMIC_READ);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, 0);
    createGathered(gathered);
    createGathered(gatheredQuads);
}

// Gathered puffs are all of one quarter already: their spin is not needed.
void ParticleSystem::createGathered(GatheredPuffs& puffs) {
    glGenBuffers(1, &puffs.positions);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, puffs.positions);
    glBufferData(GL_SHADER_STORAGE_BUFFER, static_cast<GLsizeiptr>(maximumCount) * kParticleBytes,
                 nullptr, GL_DYNAMIC_DRAW);
    glGenBuffers(1, &puffs.draw);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, puffs.draw);
    glBufferData(GL_SHADER_STORAGE_BUFFER, 4 * sizeof(GLuint), nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, 0);
    glGenVertexArrays(1, &puffs.vao);
    glBindVertexArray(puffs.vao);
    glBindBuffer(GL_ARRAY_BUFFER, puffs.positions);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindVertexArray(0);
}

void ParticleSystem::uploadSeed() {
    lastCount = static_cast<std::uint32_t>(seedPositions.size());
    const GLsizeiptr bytes = static_cast<GLsizeiptr>(lastCount) * kParticleBytes;
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, positionBuffers[0]);
    glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, bytes, seedPositions.data());
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, velocityBuffers[0]);
    glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, bytes, seedVelocities.data());
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, 0);
}

void ParticleSystem::createVertexArrays() {
    glGenVertexArrays(2, particleVaos.data());
    for (int k = 0; k < 2; ++k) {
        glBindVertexArray(particleVaos[k]);
        glBindBuffer(GL_ARRAY_BUFFER, positionBuffers[k]);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
        glBindBuffer(GL_ARRAY_BUFFER, velocityBuffers[k]);  // the spin sorts the puffs into quarters
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    glBindVertexArray(0);
}

// A smoke file that is missing, damaged or in another format is named in one line and
// leaves the texture without an image: nothing is uploaded, so GL has nothing to refuse.
void ParticleSystem::loadSmokeTexture() {
    glGenTextures(1, &smokeTexture);
    glBindTexture(GL_TEXTURE_2D, smokeTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // One mip level a read: a software renderer pays for the second level on every layer
    // of every puff, and a soft puff looks no different for it.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    // A sprite's corners read past the picture's edge, which is clear.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    const DdsImage image = loadRequiredDds(kSmokeFile);
    if (image.data) {
        glCompressedTexImage2D(GL_TEXTURE_2D, 0, image.format, image.width, image.height, 0,
                               static_cast<GLsizei>(image.size), image.data.get());
        glGenerateMipmap(GL_TEXTURE_2D);
        unpackBoundTexture(image.width, image.height);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

// A software renderer decodes a block-compressed texel on every read, and the puffs read
// their picture on every layer of every pixel: held unpacked, each level the same texels as
// the driver decoded them, the smoke reads the same picture in about a fifth less time.
// Every level is read before any is replaced: a level of another format in the texture
// would have the driver convert the rest.
void ParticleSystem::unpackBoundTexture(int width, int height) {
    std::vector<std::vector<unsigned char>> levels;
    for (int w = width, h = height;; w = std::max(1, w / 2), h = std::max(1, h / 2)) {
        levels.emplace_back(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
        glGetTexImage(GL_TEXTURE_2D, static_cast<GLint>(levels.size() - 1), GL_RGBA,
                      GL_UNSIGNED_BYTE, levels.back().data());
        if (w == 1 && h == 1) break;
    }
    for (GLint level = 0; level < static_cast<GLint>(levels.size()); ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, std::max(1, width >> level),
                     std::max(1, height >> level), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     levels[static_cast<std::size_t>(level)].data());
    }
}

void ParticleSystem::measureLargestSprite() {
    if (!spriteProgram->usable) return;
    GLfloat sizes[2] = {};
    glGetFloatv(GL_ALIASED_POINT_SIZE_RANGE, sizes);
    largestSprite = sizes[1];
}

// A program that failed to build has already said so; running it would only add a GL
// error every frame.
bool ParticleSystem::programsUsable() const {
    return computeProgram->usable && renderProgram->usable;
}

void ParticleSystem::takeSpawnsFromAccumulator(float frameTime) {
    spawnCount = 0;
    spawnAccumulator += static_cast<double>(frameTime) * 1000.0;
    if (spawnAccumulator > 0.0) {
        spawnCount = static_cast<std::uint32_t>(spawnAccumulator);
        spawnAccumulator -= spawnCount;
    }
}

void ParticleSystem::setStepUniforms(float frameTime) {
    const float random1 = randomOffset(random);
    const float random2 = randomOffset(random);
    glUseProgram(computeProgram->program);
    setUniformUnsigned(*computeProgram, kMaximumCountUniform, maximumCount);
    setUniformUnsigned(*computeProgram, kLastCountUniform, lastCount);
    setUniformUnsigned(*computeProgram, kSpawnCountUniform, spawnCount);
    setUniformFloat(*computeProgram, kDeltaTUniform, frameTime);
    setUniformFloat(*computeProgram, kRandom1Uniform, random1);
    setUniformFloat(*computeProgram, kRandom2Uniform, random2);
}

void ParticleSystem::bindStepBuffers() {
    const int next = 1 - currentSet;
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kReadPositions, positionBuffers[currentSet]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kReadVelocities, velocityBuffers[currentSet]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kWritePositions, positionBuffers[next]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kWriteVelocities, velocityBuffers[next]);
    glBindBufferBase(GL_ATOMIC_COUNTER_BUFFER, kCounterBinding, counterBuffer);
}

// A counter that cannot be mapped keeps the last count: the smoke then draws the
// previous number of particles for one more step instead of reading garbage.
void ParticleSystem::readAndResetCounter() {
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, counterBuffer);
    void* mapped = glMapBufferRange(GL_ATOMIC_COUNTER_BUFFER, 0, sizeof(GLuint),
                                    GL_MAP_READ_BIT | GL_MAP_WRITE_BIT);
    if (mapped) {
        GLuint written = 0;
        std::memcpy(&written, mapped, sizeof(GLuint));
        lastCount = std::min(written, maximumCount);  // never draw past the buffers
        const GLuint zero = 0;
        std::memcpy(mapped, &zero, sizeof(GLuint));
        glUnmapBuffer(GL_ATOMIC_COUNTER_BUFFER);
    }
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, 0);
}

void ParticleSystem::restart() {
    uploadSeed();
    currentSet = 0;
    spawnAccumulator = 0.0;
    gatheredPart.reset();
}

void ParticleSystem::update(float frameTime) {
    if (!programsUsable()) return;
    takeSpawnsFromAccumulator(frameTime);
    setStepUniforms(frameTime);
    bindStepBuffers();
    const GLuint groups = workGroupsFor(lastCount);
    currentSet = static_cast<std::uint8_t>(1 - currentSet);
    gatheredPart.reset();
    glDispatchCompute(groups, 1, 1);
    glMemoryBarrier(GL_ATOMIC_COUNTER_BARRIER_BIT);
    readAndResetCounter();
    glMemoryBarrier(GL_VERTEX_ATTRIB_ARRAY_BARRIER_BIT);
}

void ParticleSystem::draw(const glm::mat4& modelMatrix, int targetHeight, float puffShare,
                          PuffPart part) {
    if (!programsUsable()) return;
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glBlendFunc(GL_SRC_COLOR, GL_SRC_COLOR);
    glBlendEquation(GL_MAX);  // overlapping puffs never add up or darken the scene
    const bool fromGathered = part != PuffPart::All && gatheredPart == part;
    glBindTexture(GL_TEXTURE_2D, smokeTexture);
    if (largestSprite > 0.0f) {
        glEnable(GL_PROGRAM_POINT_SIZE);
        drawPuffs(*spriteProgram, modelMatrix, targetHeight, puffShare, part,
                  fromGathered ? &gathered : nullptr);
        glDisable(GL_PROGRAM_POINT_SIZE);
    }
    drawPuffs(*renderProgram, modelMatrix, targetHeight, puffShare, part,
              fromGathered ? &gatheredQuads : nullptr);
    glBindBuffer(GL_DRAW_INDIRECT_BUFFER, 0);
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
}

// Each puff widens the reach with atomics from a start that covers nothing, so no puff in
// front of the eye leaves it empty; each takes its place in the gathered buffers with their
// draws' counts.
ScreenReach ParticleSystem::gatherPart(const glm::mat4& modelMatrix, int targetHeight,
                                       float puffShare, PuffPart part) {
    if (!reachProgram || !reachProgram->usable || !programsUsable()) return {};
    const GLuint noneDrawn[4] = {0, 1, 0, 0};  // count, instances, first, base instance
    for (const GatheredPuffs* puffs : {&gathered, &gatheredQuads}) {
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, puffs->draw);
        glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, sizeof(noneDrawn), noneDrawn);
    }
    const GLint nothing[4] = {kReachUnits, kReachUnits, -kReachUnits, -kReachUnits};
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, reachBuffer);
    glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, sizeof(nothing), nothing);
    glUseProgram(reachProgram->program);
    setUniformUnsigned(*reachProgram, kLiveCountUniform, lastCount);
    reachProgram->setUniform(kProjectionMatrixUniform, camera->projection);
    reachProgram->setUniform(kViewModelMatrixUniform, camera->view * modelMatrix);
    setUniformFloat(*reachProgram, kPuffShareUniform, puffShare);
    setUniformInt(*reachProgram, kDrawnPartUniform, static_cast<GLint>(part));
    setUniformFloat(*reachProgram, kTargetHeightUniform, static_cast<float>(targetHeight));
    setUniformFloat(*reachProgram, kLargestSpriteUniform, largestSprite);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kReadPositions, positionBuffers[currentSet]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kReadVelocities, velocityBuffers[currentSet]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kReachBinding, reachBuffer);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kGatheredBinding, gathered.positions);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kGatheredDrawBinding, gathered.draw);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kGatheredQuadsBinding, gatheredQuads.positions);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, kGatheredQuadsDrawBinding, gatheredQuads.draw);
    glDispatchCompute(workGroupsFor(lastCount), 1, 1);
    glMemoryBarrier(GL_BUFFER_UPDATE_BARRIER_BIT | GL_VERTEX_ATTRIB_ARRAY_BARRIER_BIT |
                    GL_COMMAND_BARRIER_BIT);
    gatheredPart = part;
    GLint reached[4] = {};
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, reachBuffer);
    glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, sizeof(reached), reached);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, 0);
    const float units = static_cast<float>(kReachUnits);
    return {glm::vec2(static_cast<float>(reached[0]), static_cast<float>(reached[1])) / units,
            glm::vec2(static_cast<float>(reached[2]), static_cast<float>(reached[3])) / units};
}

// Gathered puffs are all of the quarter drawn: the program takes each of them.
void ParticleSystem::drawPuffs(ParticleShader& program, const glm::mat4& modelMatrix,
                               int targetHeight, float puffShare, PuffPart part,
                               const GatheredPuffs* from) {
    glBindVertexArray(from ? from->vao : particleVaos[currentSet]);
    glBindBuffer(GL_DRAW_INDIRECT_BUFFER, from ? from->draw : 0);
    glUseProgram(program.program);
    program.setUniform(kViewMatrixUniform, camera->view);
    program.setUniform(kModelMatrixUniform, modelMatrix);
    program.setUniform(kProjectionMatrixUniform, camera->projection);
    setUniformFloat(program, kPuffShareUniform, puffShare);
    setUniformInt(program, kDrawnPartUniform,
                  static_cast<GLint>(from ? PuffPart::All : part));
    program.setUniform(kChannelsUniform, channelsOf(part));
    setUniformFloat(program, kTargetHeightUniform, static_cast<float>(targetHeight));
    setUniformFloat(program, kLargestSpriteUniform, largestSprite);
    setUniformFlag(program, kSpritesUniform, &program == spriteProgram.get());
    if (from)
        glDrawArraysIndirect(GL_POINTS, nullptr);
    else
        glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(lastCount));
}
