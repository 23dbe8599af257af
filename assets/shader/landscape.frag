#version 430 core
// The landscape tiles' own program, with "texture.vert": a tile's texture tinted toward its
// colour, lit and hazed as the models are ("lighting.glsl"). A tile never glows, never
// threatens and has no holes, so this leaves out what "texture.frag" decides pixel by pixel
// for the models: a software renderer works out every branch of a program for every pixel,
// and the landscape covers most of the view. A texture without an image (its file failed to
// load) shows the tile's flat colour.

#include "lighting.glsl"

in VertexData {
    vec3 worldPosition;
    vec3 worldNormal;
    vec2 texCoord;
} fragment;

out vec4 fragColor;

uniform int hasTexture;
uniform sampler2D diffuseTexture;

void main() {
    const vec3 texel = texture(diffuseTexture, fragment.texCoord, textureLodBias).rgb;
    const bool hasPicture = hasTexture == 1 && textureQueryLevels(diffuseTexture) > 0;
    const vec3 albedo = hasPicture ? tintedTexture(texel) : model_rgbColor;
    vec3 n = normalize(fragment.worldNormal);
    if (!gl_FrontFacing) n = -n;
    const vec3 toEye = normalize(camera_world - fragment.worldPosition);
    const vec3 colour = lit(albedo, 1.0, n, fragment.worldPosition, toEye);
    fragColor = vec4(mix(colour, kHaze, hazeAt(fragment.worldPosition)), 1.0);
}
