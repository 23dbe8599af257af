#include "render/HUD.h"

#include "framework/Shader.h"
#include "framework/ShaderUniforms.h"
#include "render/stbTexture.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

namespace {

constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kTexCoordAttribute = 1;
constexpr GLsizei kQuadVertices = 6;

// Named once so that drawing builds no strings.
const std::string kModelMatrixUniform = "modelMatrix";
const std::string kColorUniform = "myCol";
const std::string kHasPictureUniform = "hasTextureImg";

GLuint uploadVec2Attribute(GLuint location, const std::array<glm::vec2, 6>& values) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(values), values.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    return buffer;
}

}  // namespace

HUD::HUD(const HudQuad& quad, Shader* hudShader, float width, float height)
    : HUD(quad, hudShader, std::shared_ptr<stbTexture>(), width, height) {}

HUD::HUD(const HudQuad& quad, Shader* hudShader, const std::string& pictureFile, float width,
         float height)
    : HUD(quad, hudShader, std::make_shared<stbTexture>(pictureFile), width, height) {}

HUD::HUD(const HudQuad& quad, Shader* hudShader, std::shared_ptr<stbTexture> picture, float width,
         float height)
    : shader(hudShader),
      texture(std::move(picture)),
      color(quad.color),
      x(quad.x),
      y(quad.y),
      w(quad.w),
      h(quad.h),
      windowWidth(width),
      windowHeight(height) {
    setFill(currentFill, maxFill);
    uploadQuad(quad);
    readOneMipLevel();
}

// A picture stands still at one size on the screen, so reading the one mip level nearest
// that size, filtered within it, shows nothing of the level switch that a moving surface
// would, and spares a software renderer the choice of level at every pixel.
void HUD::readOneMipLevel() const {
    if (!texture || !texture->loaded) return;
    glBindTexture(GL_TEXTURE_2D, texture->id);
    GLint pictureWidth = 0;
    GLint pictureHeight = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &pictureWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &pictureHeight);
    const GLint level =
        mipLevelNearest(pictureWidth, pictureHeight, w * windowWidth, h * windowHeight);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, level);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
}

int mipLevelNearest(int pictureWidth, int pictureHeight, float drawnWidth, float drawnHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || !(drawnWidth > 0.0f) || !(drawnHeight > 0.0f))
        return 0;
    const float shrink = std::max(static_cast<float>(pictureWidth) / drawnWidth,
                                  static_cast<float>(pictureHeight) / drawnHeight);
    const float largerSide = static_cast<float>(std::max(pictureWidth, pictureHeight));
    const int last = static_cast<int>(std::log2(largerSide));
    return std::clamp(static_cast<int>(std::lround(std::log2(std::max(shrink, 1.0f)))), 0, last);
}

HUD::~HUD() {
    const GLuint buffers[] = {positionBuffer, textureCoordinateBuffer};
    glDeleteBuffers(2, buffers);
    glDeleteVertexArrays(1, &vao);
}

void HUD::uploadQuad(const HudQuad& quad) {
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    positionBuffer = uploadVec2Attribute(kPositionAttribute, quad.positions);
    if (texture)
        textureCoordinateBuffer = uploadVec2Attribute(kTexCoordAttribute, quad.textureCoordinates);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

void HUD::setFill(float current, float max) {
    currentFill = current;
    maxFill = max;
    // An empty maximum has nothing to show a share of.
    const float share = max == 0.0f ? 0.0f : current / max;
    const glm::mat4 identity(1.0f);
    modelMatrix = glm::translate(identity, glm::vec3(x * windowWidth, y * windowHeight, 0.0f)) *
                  glm::scale(identity, glm::vec3(share, 1.0f, 1.0f)) *
                  glm::scale(identity, glm::vec3(windowWidth, windowHeight, 1.0f));
}

void HUD::setFill(int current, int max) {
    setFill(static_cast<float>(current), static_cast<float>(max));
}

void HUD::draw() const {
    assert(shader && "a HUD is drawn with the HUD shader");
    glUseProgram(shader->program);
    shader->setUniform(kModelMatrixUniform, modelMatrix);
    setUniformVec4(*shader, kColorUniform, color);
    glBindVertexArray(vao);
    const bool showsPicture = texture && texture->loaded;
    setUniformFlag(*shader, kHasPictureUniform, showsPicture);
    if (showsPicture) glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, showsPicture ? texture->id : 0);
    glDrawArrays(GL_TRIANGLES, 0, kQuadVertices);
    glBindVertexArray(0);
}
