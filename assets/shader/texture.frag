#version 430 core
// The lit model program: every model, and the physics debug lines. The lights and the haze
// are those of "lighting.glsl".
//
// Colour and texture: a textured model shows its texture tinted a little toward
// "model_rgbColor". Surfaces whose texture coordinates start at u = 100 (the shield) have
// holes where the texture is near black. A texture without an image (its file failed to
// load) counts as no texture where the driver reports it so.
//
// Untextured models (the craft and the boss) use their texture coordinates as a paint map,
// u below 16: painted hull in "model_rgbColor" with a panel seam at every whole coordinate;
// u from 32 to 48: light-emitting trim; u from 64 up: dark glass.
//
// Threats (the boss's orbs and missiles) carry a "glowColor": they light themselves,
// their texture's pattern showing as brighter and dimmer glow, with an outline in
// "rimColor" where the surface turns away, and the haze barely touches them, so they
// stand out against fog, ground and sky.

#include "lighting.glsl"

in VertexData {
    vec3 worldPosition;
    vec3 worldNormal;
    vec2 texCoord;
} fragment;

out vec4 fragColor;

uniform int hasTexture;
uniform sampler2D diffuseTexture;
uniform vec3 glowColor;  // black for everything that is merely lit
uniform vec3 rimColor;

const float kCutoutZone = 100.0;          // u from here on: near-black texels are holes
const float kCutout = 0.09;
const vec3 kDebugLineColour = vec3(0.35, 1.0, 0.45);
const vec3 kLuma = vec3(0.299, 0.587, 0.114);
const float kGlowFloor = 0.55;            // glow of a threat's darkest texels, of its full glow
const float kRimPower = 2.0;              // higher: a thinner outline
const float kThreatHaze = 0.25;           // share of the haze a threat takes on

struct Surface {
    vec3 albedo;
    bool glows;   // light-emitting trim: unlit
    float gloss;  // scales the specular factor
};

float hash(vec2 p) {
    return fract(sin(dot(p, vec2(127.1, 311.7))) * 43758.5453);
}

Surface paintedHull(vec2 uv, vec2 footprint) {
    const vec2 cell = fract(uv);
    const vec2 width = max(footprint * 1.5, vec2(0.002));
    const vec2 seam = smoothstep(vec2(0.0), width, cell) * smoothstep(vec2(0.0), width, 1.0 - cell);
    const float plate = 0.9 + 0.16 * hash(floor(uv));
    return Surface(model_rgbColor * plate * mix(0.45, 1.0, seam.x * seam.y), false, 1.0);
}

// Glows run hotter than the paint: toward yellow-white, brightest where they face the eye.
vec3 glowingTrim(float facing) {
    const vec3 hot = clamp(model_rgbColor * 1.2 + vec3(0.35, 0.35, 0.12), 0.0, 1.0);
    return mix(hot, vec3(1.0, 0.92, 0.6), 0.35 * facing * facing) * (0.65 + 0.45 * facing);
}

Surface darkGlass() {
    return Surface(model_rgbColor * 0.1 + vec3(0.03, 0.035, 0.05), false, 2.5);
}

Surface textured(vec2 uv, vec3 texel) {
    if (uv.x >= kCutoutZone && max(texel.r, max(texel.g, texel.b)) < kCutout) discard;
    return Surface(tintedTexture(texel), false, 1.0);
}

bool isThreat() {
    return dot(glowColor, vec3(1.0)) > 0.0;
}

vec3 threatLight(vec3 albedo, float facing) {
    const float pattern = clamp(dot(albedo, kLuma) * 1.5, 0.0, 1.0);
    const vec3 body = glowColor * mix(kGlowFloor, 1.0, pattern);
    return mix(body, rimColor, pow(1.0 - facing, kRimPower));
}

// `footprint` is fwidth(uv) and `texel` the texture's sample, both taken before any branch:
// derivatives (and so filtered sampling) need uniform control flow.
Surface surfaceAt(vec2 uv, vec2 footprint, vec3 texel) {
    // A picture that failed to load leaves an empty texture bound: show the flat colour.
    const bool hasPicture = hasTexture == 1 && textureQueryLevels(diffuseTexture) > 0;
    if (hasPicture) return textured(uv, texel);
    if (uv.x >= 64.0) return darkGlass();
    if (uv.x >= 32.0) return Surface(vec3(0.0), true, 0.0);
    return paintedHull(uv, footprint);
}

void main() {
    const vec2 footprint = fwidth(fragment.texCoord);
    const vec3 texel = texture(diffuseTexture, fragment.texCoord, textureLodBias).rgb;
    if (dot(fragment.worldNormal, fragment.worldNormal) < 1e-8) {
        fragColor = vec4(kDebugLineColour, 1.0);
        return;
    }
    const Surface surface = surfaceAt(fragment.texCoord, footprint, texel);
    vec3 n = normalize(fragment.worldNormal);
    if (!gl_FrontFacing) n = -n;  // thin parts seen from behind, and culling switched off
    const vec3 toEye = normalize(camera_world - fragment.worldPosition);
    vec3 colour = lit(surface.albedo, surface.gloss, n, fragment.worldPosition, toEye);
    const float facing = max(dot(n, toEye), 0.0);
    if (surface.glows) colour = glowingTrim(facing);
    if (isThreat()) colour = threatLight(surface.albedo, facing);

    float haze = hazeAt(fragment.worldPosition);
    if (isThreat()) haze *= kThreatHaze;
    fragColor = vec4(mix(colour, kHaze, haze), 1.0);
}
