// The lighting that the model program ("texture.frag") and the landscape's own
// ("landscape.frag") share, taken in by their `#include "lighting.glsl"`: one directional
// light (the dusk sun, behind the player), one point light (the boss's red glow), a
// sky/ground ambient, a rim of light round the silhouette and a distance haze that matches
// the horizon of the sky picture, so the far terrain melts into it.

struct DirectionalLight {
    vec3 color;
    vec3 direction;  // the way the light travels
};
struct PointLight {
    vec3 color;
    vec3 position;
    vec3 attenuation;  // constant, linear and quadratic terms of 1 / (c + l d + q d^2)
};

uniform DirectionalLight dirL;
uniform PointLight pointL;
uniform vec3 camera_world;
uniform vec3 materialCoefficients;  // ambient, diffuse, specular factors
uniform float specularAlpha;
uniform vec3 model_rgbColor;
uniform float textureLodBias;  // log2 of the render scale: textures read as at the window's size

const vec3 kHaze = vec3(0.80, 0.52, 0.46);  // the sky picture's horizon colour
const float kHazeStart = 50.0;              // world units; the far plane is at 100
const float kHazeEnd = 97.0;
const vec3 kSkyAmbient = vec3(0.80, 0.80, 0.92);
const vec3 kGroundAmbient = vec3(0.85, 0.74, 0.68);
const float kWrap = 0.5;                  // light wraps this far round the shadow side
const float kTint = 0.35;                 // how far a texture leans toward the model colour
const float kShininessPerAlpha = 16.0;    // specularAlpha 1 is a Blinn-Phong exponent of 16
const float kPointLightLimit = 3.0;       // keeps surfaces right under the glow from burning out

// A texture tinted a little toward "model_rgbColor"; black, the colour of a model nobody
// coloured, means no tint.
vec3 tintedTexture(vec3 texel) {
    const bool tinted = dot(model_rgbColor, vec3(1.0)) > 0.0;
    return texel * (tinted ? mix(vec3(1.0), model_rgbColor, kTint) : vec3(1.0));
}

// The surface's `albedo` as the lights show it at `position`, its normal `n` turned to the
// eye's side; `gloss` scales the specular factor.
vec3 lit(vec3 albedo, float gloss, vec3 n, vec3 position, vec3 toEye) {
    const float ambientFactor = materialCoefficients.x;
    const float diffuseFactor = materialCoefficients.y;
    const float specularFactor = materialCoefficients.z * gloss;
    const float shininess = max(specularAlpha, 0.05) * kShininessPerAlpha;

    const vec3 ambient = mix(kGroundAmbient, kSkyAmbient, n.y * 0.5 + 0.5);
    vec3 colour = albedo * ambientFactor * ambient;

    const vec3 toSun = normalize(-dirL.direction);
    const float sunFacing = dot(n, toSun);
    const float sunDiffuse = max((sunFacing + kWrap) / (1.0 + kWrap), 0.0);
    const float sunSpecular = sunFacing > 0.0 ? pow(max(dot(n, normalize(toSun + toEye)), 0.0), shininess) : 0.0;
    colour += dirL.color * (albedo * diffuseFactor * sunDiffuse + specularFactor * sunSpecular);

    const vec3 toGlow = pointL.position - position;
    const float glowDistance = length(toGlow);
    const vec3 glowDirection = toGlow / max(glowDistance, 1e-4);
    const float falloff = pointL.attenuation.x + pointL.attenuation.y * glowDistance +
                          pointL.attenuation.z * glowDistance * glowDistance;
    const float glowStrength = min(1.0 / max(falloff, 1e-4), kPointLightLimit);
    const float glowDiffuse = max(dot(n, glowDirection), 0.0);
    const float glowSpecular = glowDiffuse > 0.0 ? pow(max(dot(n, normalize(glowDirection + toEye)), 0.0), shininess) : 0.0;
    colour += pointL.color * glowStrength * (albedo * diffuseFactor * glowDiffuse + specularFactor * glowSpecular);

    // A little light around the silhouette keeps the craft and the boss readable against the sky.
    // The cube multiplied out: a software renderer's pow() is a logarithm and an exponential.
    const float turnedAway = 1.0 - max(dot(n, toEye), 0.0);
    return colour + albedo * (turnedAway * turnedAway * turnedAway) * 0.3 * ambient;
}

// 0 near the eye, rising to 1 (the horizon's colour alone) by the far plane.
float hazeAt(vec3 position) {
    return smoothstep(kHazeStart, kHazeEnd, length(camera_world - position));
}
