#include "framework/TextureMaterial.h"

#include "framework/ShaderUniforms.h"

#include <cassert>
#include <utility>

namespace {

const std::string kDiffuseTextureUniform = "diffuseTexture";

}  // namespace

TextureMaterial::TextureMaterial(std::shared_ptr<Shader> program, const glm::vec3& coefficients,
                                 float alpha, std::shared_ptr<Texture> texture)
    : Material(std::move(program), coefficients, alpha), diffuseTexture(std::move(texture)) {
    assert(diffuseTexture);
}

void TextureMaterial::setUniforms() {
    Material::setUniforms();
    if (diffuseTexture->loaded) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, diffuseTexture->handle);
    }
    setUniformInt(*shader, kDiffuseTextureUniform, 0);  // texture unit 0
}
