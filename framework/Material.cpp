#include "framework/Material.h"

#include "framework/ShaderUniforms.h"

#include <cassert>
#include <utility>

namespace {

// Built once: a name longer than the small-string buffer would allocate on every call.
const std::string kCoefficientsUniform = "materialCoefficients";
const std::string kSpecularAlphaUniform = "specularAlpha";

}  // namespace

Material::Material(std::shared_ptr<Shader> program, const glm::vec3& coefficients,
                   float alpha)
    : shader(std::move(program)), materialCoefficients(coefficients), specularAlpha(alpha) {
    assert(shader);
}

void Material::setUniforms() {
    shader->setUniform(kCoefficientsUniform, materialCoefficients);
    setUniformFloat(*shader, kSpecularAlphaUniform, specularAlpha);
}
