#include "render/TextBatch.h"

#include "framework/Shader.h"
#include "render/GlyphQuads.h"
#include "render/stbTexture.h"

#include <cassert>
#include <cstddef>

namespace {

constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kAtlasAttribute = 1;
constexpr GLuint kColorAttribute = 2;
constexpr GLsizei kStride = sizeof(GlyphVertex);

// Named once so that drawing builds no strings.
const std::string kViewProjectionUniform = "viewProjMatrix";

void pointAt(GLuint location, GLint components, GLenum type, GLboolean normalised,
             std::size_t offset) {
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, components, type, normalised, kStride,
                          reinterpret_cast<const void*>(offset));
}

}  // namespace

TextBatch::TextBatch(Shader* textShader, const std::string& atlasFile)
    : shader(textShader), atlas(std::make_unique<stbTexture>(atlasFile)) {
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(GlyphQuads::kCapacity * GlyphQuads::kVerticesPerQuad *
                                         sizeof(GlyphVertex)),
                 nullptr, GL_DYNAMIC_DRAW);
    pointAt(kPositionAttribute, 2, GL_FLOAT, GL_FALSE, offsetof(GlyphVertex, position));
    pointAt(kAtlasAttribute, 2, GL_FLOAT, GL_FALSE, offsetof(GlyphVertex, atlasCoordinates));
    pointAt(kColorAttribute, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(GlyphVertex, color));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

TextBatch::~TextBatch() {
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteVertexArrays(1, &vao);
}

void TextBatch::draw(const GlyphQuads& quads, const glm::mat4& projection) const {
    assert(shader && "text is drawn with the text shader");
    if (!atlas->loaded || quads.vertices().empty()) return;
    glUseProgram(shader->program);
    shader->setUniform(kViewProjectionUniform, projection);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, atlas->id);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0,
                    static_cast<GLsizeiptr>(quads.vertices().size() * sizeof(GlyphVertex)),
                    quads.vertices().data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(quads.vertices().size()));
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}
