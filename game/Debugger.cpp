#include "game/Debugger.h"

#include "framework/Shader.h"
#include "game/BulletConversion.h"
#include "framework/ShaderUniforms.h"

#include <cassert>
#include <utility>

namespace {

constexpr GLuint kPositionAttribute = 0;

}  // namespace

Debugger::Debugger(std::shared_ptr<Shader> drawingShader) : shader(std::move(drawingShader)) {}

Debugger::~Debugger() {
    if (vertexArray == 0) return;  // never drew: no GL names, and maybe no context either
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
}

void Debugger::drawLine(const btVector3& from, const btVector3& to, const btVector3&) {
    lines.push_back(toGlm(from));
    lines.push_back(toGlm(to));
}

void Debugger::drawContactPoint(const btVector3& pointOnB, const btVector3& normalOnB,
                                btScalar distance, int, const btVector3& color) {
    drawLine(pointOnB, pointOnB + normalOnB * distance, color);
}

void Debugger::drawLines() {
    assert(shader && "the debugger draws with the shader given at set-up");
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteVertexArrays(1, &vertexArray);

    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(lines.size() * sizeof(glm::vec3)),
                 lines.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(kPositionAttribute);
    glVertexAttribPointer(kPositionAttribute, 3, GL_FLOAT, GL_FALSE, 0, nullptr);

    glUseProgram(shader->program);
    shader->setUniform("modelMatrix", glm::mat4(1.0f));
    setUniformFlag(*shader, "hasBones", false);

    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(lines.size()));
    glBindVertexArray(0);
    lines.clear();
}
