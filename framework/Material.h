#pragma once

#include "framework/Shader.h"

#include <glm/glm.hpp>

#include <memory>

/// The surface constants a lighting program needs, and the program they go to.
///
/// setUniforms() pushes them as "materialCoefficients" (vec3) and "specularAlpha"
/// (float); a name the program lacks is skipped. It does not make the program current:
/// the caller does. Immutable after construction; shared through std::shared_ptr.
class Material {
public:
    Material(std::shared_ptr<Shader> shader, const glm::vec3& materialCoefficients,
             float specularAlpha);
    virtual ~Material() = default;
    Material(const Material&) = delete;
    Material& operator=(const Material&) = delete;

    virtual void setUniforms();

    std::shared_ptr<Shader> shader;
    glm::vec3 materialCoefficients;  ///< three lighting coefficients, as the program reads them
    float specularAlpha;
};
