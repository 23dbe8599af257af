#include "framework/ShaderLibrary.h"

const std::unordered_map<std::string, ShaderTexts> shaderLibrary = {
    {"color", {"world position and vertex colour", "the interpolated colour"}},
    {"cookTorrance", {"world position and normal", "Cook-Torrance microfacet lighting"}},
    {"environmentMap", {"world position and normal", "reflection from a cube map"}},
    {"pbr", {"world position, normal and uv", "metallic-roughness physically based lighting"}},
    {"phongGouraud", {"Phong lighting per vertex", "the interpolated lit colour"}},
    {"phongGouraudBonus", {"Phong lighting per vertex, two lights", "the lit colour"}},
    {"phongPhong", {"world position and normal", "Phong lighting per fragment"}},
    {"phongPhongBonus", {"world position and normal", "Phong lighting per fragment, two lights"}},
    {"specularMap", {"world position, normal and uv", "Phong lighting with a specular map"}},
    {"texture", {"world position, normal and uv", "a lit diffuse texture"}},
    {"textureBonus", {"world position, normal and uv", "a lit diffuse texture, two lights"}},
};
