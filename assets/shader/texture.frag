#version 430 core
// Lighting: one directional light (the dusk sun, behind the player), one point light (the
// boss's red glow), a sky/ground ambient and a distance haze that matches the horizon of
// the sky picture, so the far terrain melts into it.
//
// Colour and texture: a textured model shows its texture tinted a little toward
// "model_rgbColor" (black, the colour of a model nobody coloured, means no tint). Surfaces
// whose texture coordinates start at u = 100 (the shield) have holes where the texture is
// near black. A texture without an image (its file failed to load) counts as no texture
// where the driver reports it so.
//
// Untextured models (the craft and the boss) use their texture coordinates as a paint map,
// u below 16: painted hull in "model_rgbColor" with a panel seam at every whole coordinate;
// u from 32 to 48: light-emitting trim; u from 64 up: dark glass.
//
// Threats (the boss's orbs and missiles) carry a "glowColor": they light themselves,
// their texture's pattern showing as brighter and dimmer glow, with an outline in
// "rimColor" where the surface turns away, and the haze barely touches them, so they
// stand out against fog, ground and sky.

in VertexData {
    vec3 worldPosition;
    vec3 worldNormal;
    vec2 texCoord;
} fragment;

out vec4 fragColor;

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
uniform int hasTexture;
uniform sampler2D diffuseTexture;
uniform vec3 model_rgbColor;
uniform vec3 glowColor;  // black for everything that is merely lit
uniform vec3 rimColor;

const vec3 kHaze = vec3(0.80, 0.52, 0.46);  // the sky picture's horizon colour
const float kHazeStart = 50.0;              // world units; the far plane is at 100
const float kHazeEnd = 97.0;
const vec3 kSkyAmbient = vec3(0.80, 0.80, 0.92);
const vec3 kGroundAmbient = vec3(0.85, 0.74, 0.68);
const float kWrap = 0.5;                  // light wraps this far round the shadow side
const float kTint = 0.35;                 // how far a texture leans toward the model colour
const float kCutoutZone = 100.0;          // u from here on: near-black texels are holes
const float kCutout = 0.09;
const float kShininessPerAlpha = 16.0;    // specularAlpha 1 is a Blinn-Phong exponent of 16
const float kPointLightLimit = 3.0;       // keeps surfaces right under the glow from burning out
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
    const bool tinted = dot(model_rgbColor, vec3(1.0)) > 0.0;
    const vec3 tint = tinted ? mix(vec3(1.0), model_rgbColor, kTint) : vec3(1.0);
    return Surface(texel * tint, false, 1.0);
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
    const vec3 texel = texture(diffuseTexture, fragment.texCoord).rgb;
    if (dot(fragment.worldNormal, fragment.worldNormal) < 1e-8) {
        fragColor = vec4(kDebugLineColour, 1.0);
        return;
    }
    const Surface surface = surfaceAt(fragment.texCoord, footprint, texel);
    vec3 n = normalize(fragment.worldNormal);
    if (!gl_FrontFacing) n = -n;  // thin parts seen from behind, and culling switched off
    const vec3 toEye = normalize(camera_world - fragment.worldPosition);
    const float ambientFactor = materialCoefficients.x;
    const float diffuseFactor = materialCoefficients.y;
    const float specularFactor = materialCoefficients.z * surface.gloss;
    const float shininess = max(specularAlpha, 0.05) * kShininessPerAlpha;

    const vec3 ambient = mix(kGroundAmbient, kSkyAmbient, n.y * 0.5 + 0.5);
    vec3 colour = surface.albedo * ambientFactor * ambient;

    const vec3 toSun = normalize(-dirL.direction);
    const float sunFacing = dot(n, toSun);
    const float sunDiffuse = max((sunFacing + kWrap) / (1.0 + kWrap), 0.0);
    const float sunSpecular = sunFacing > 0.0 ? pow(max(dot(n, normalize(toSun + toEye)), 0.0), shininess) : 0.0;
    colour += dirL.color * (surface.albedo * diffuseFactor * sunDiffuse + specularFactor * sunSpecular);

    const vec3 toGlow = pointL.position - fragment.worldPosition;
    const float glowDistance = length(toGlow);
    const vec3 glowDirection = toGlow / max(glowDistance, 1e-4);
    const float falloff = pointL.attenuation.x + pointL.attenuation.y * glowDistance +
                          pointL.attenuation.z * glowDistance * glowDistance;
    const float glowStrength = min(1.0 / max(falloff, 1e-4), kPointLightLimit);
    const float glowDiffuse = max(dot(n, glowDirection), 0.0);
    const float glowSpecular = glowDiffuse > 0.0 ? pow(max(dot(n, normalize(glowDirection + toEye)), 0.0), shininess) : 0.0;
    colour += pointL.color * glowStrength * (surface.albedo * diffuseFactor * glowDiffuse + specularFactor * glowSpecular);

    // A little light around the silhouette keeps the craft and the boss readable against the sky.
    const float facing = max(dot(n, toEye), 0.0);
    colour += surface.albedo * pow(1.0 - facing, 3.0) * 0.3 * ambient;
    if (surface.glows) colour = glowingTrim(facing);
    if (isThreat()) colour = threatLight(surface.albedo, facing);

    float haze = smoothstep(kHazeStart, kHazeEnd, length(camera_world - fragment.worldPosition));
    if (isThreat()) haze *= kThreatHaze;
    fragColor = vec4(mix(colour, kHaze, haze), 1.0);
}
