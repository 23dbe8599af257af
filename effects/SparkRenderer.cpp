#include "effects/SparkRenderer.h"

#include "effects/SparkBursts.h"
#include "framework/Shader.h"
#include "framework/ShaderUniforms.h"

#include <array>
#include <cstddef>
#include <string>

namespace {

constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kColourAttribute = 1;

// Named once so that a draw builds no strings.
const std::string kViewProjectionUniform = "viewProjMatrix";
const std::string kPixelsPerUnitUniform = "pixelsPerUnit";

// A unit at distance 1 covers this many pixels of a viewport `height` pixels tall.
float pixelsPerUnitAtDistanceOne(const glm::mat4& projection, float height) {
    return 0.5f * height * projection[1][1];
}

}  // namespace

SparkRenderer::SparkRenderer(std::shared_ptr<Shader> sparkProgram)
    : program(std::move(sparkProgram)) {
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &buffer);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(SparkBursts::Vertex) * SparkBursts::kCapacity, nullptr,
                 GL_STREAM_DRAW);
    constexpr GLsizei stride = sizeof(SparkBursts::Vertex);
    glEnableVertexAttribArray(kPositionAttribute);
    glVertexAttribPointer(kPositionAttribute, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(SparkBursts::Vertex, position)));
    glEnableVertexAttribArray(kColourAttribute);
    glVertexAttribPointer(kColourAttribute, 4, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(SparkBursts::Vertex, colour)));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

SparkRenderer::~SparkRenderer() {
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vao);
}

void SparkRenderer::draw(const SparkBursts& sparks, const glm::mat4& view,
                         const glm::mat4& projection) {
    const std::size_t count = sparks.liveCount();
    if (count == 0) return;

    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    glUseProgram(program->program);
    program->setUniform(kViewProjectionUniform, projection * view);
    setUniformFloat(*program, kPixelsPerUnitUniform,
                    pixelsPerUnitAtDistanceOne(projection, static_cast<float>(viewport[3])));

    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(count * sizeof(SparkBursts::Vertex)),
                    sparks.vertices());
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    // Added light: sparks brighten what is behind them and never hide one another.
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
    glEnable(GL_PROGRAM_POINT_SIZE);
    glBindVertexArray(vao);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(count));
    glBindVertexArray(0);
    glDisable(GL_PROGRAM_POINT_SIZE);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}
