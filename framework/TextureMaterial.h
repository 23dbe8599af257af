#pragma once

#include "framework/Material.h"
#include "framework/Texture.h"

#include <memory>

/// A Material with a diffuse texture on texture unit 0, named "diffuseTexture".
///
/// An unloaded texture is not bound, but the sampler is still pointed at unit 0, so the
/// program reads whatever unit 0 holds. The texture is shared with other materials.
class TextureMaterial : public Material {
public:
    TextureMaterial(std::shared_ptr<Shader> shader, const glm::vec3& materialCoefficients,
                    float specularAlpha, std::shared_ptr<Texture> diffuseTexture);
    ~TextureMaterial() override = default;

    /// The two Material uniforms, then the texture on unit 0 and "diffuseTexture" = 0.
    void setUniforms() override;

    std::shared_ptr<Texture> diffuseTexture;
};
