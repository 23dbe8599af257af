#version 430 core
// The resolve pass. The scene is drawn into a single-sample target, so the window's
// multisampling is lost there: edges are smoothed here with FXAA (the 3.11 "console"
// variant: nine taps, cheap enough for software rendering), then a light grade adds a
// little contrast and saturation and darkens the corners.

in vec2 textureCoordinates;

uniform sampler2D screenTexture;  // unit 0: the scene

out vec4 color;

const vec3 kLuma = vec3(0.299, 0.587, 0.114);
const float kReduceMultiplier = 1.0 / 8.0;
const float kReduceMinimum = 1.0 / 128.0;
const float kSpanMaximum = 8.0;  // pixels
const float kEdgeThreshold = 0.125;        // local contrast, relative to the brightest neighbour,
const float kEdgeThresholdMinimum = 0.04;  // below which a pixel is left as it is (most of them)
const float kContrast = 0.18;    // share of a smooth S-curve mixed in
const float kSaturation = 1.08;
const float kVignette = 0.22;    // darkening at the corners

vec3 sceneAt(vec2 uv, vec2 texel) {
    // The target wraps by default; clamping keeps the border pixels from reading the far side.
    return texture(screenTexture, clamp(uv, texel * 0.5, 1.0 - texel * 0.5)).rgb;
}

vec3 antiAliased(vec2 uv, vec2 texel) {
    const vec3 middle = sceneAt(uv, texel);
    const float lumaNW = dot(sceneAt(uv + vec2(-1.0, -1.0) * texel, texel), kLuma);
    const float lumaNE = dot(sceneAt(uv + vec2(1.0, -1.0) * texel, texel), kLuma);
    const float lumaSW = dot(sceneAt(uv + vec2(-1.0, 1.0) * texel, texel), kLuma);
    const float lumaSE = dot(sceneAt(uv + vec2(1.0, 1.0) * texel, texel), kLuma);
    const float lumaM = dot(middle, kLuma);
    const float lumaMin = min(lumaM, min(min(lumaNW, lumaNE), min(lumaSW, lumaSE)));
    const float lumaMax = max(lumaM, max(max(lumaNW, lumaNE), max(lumaSW, lumaSE)));
    if (lumaMax - lumaMin < max(kEdgeThresholdMinimum, lumaMax * kEdgeThreshold)) return middle;

    vec2 direction = vec2(-((lumaNW + lumaNE) - (lumaSW + lumaSE)), (lumaNW + lumaSW) - (lumaNE + lumaSE));
    const float reduce = max((lumaNW + lumaNE + lumaSW + lumaSE) * 0.25 * kReduceMultiplier, kReduceMinimum);
    const float scale = 1.0 / (min(abs(direction.x), abs(direction.y)) + reduce);
    direction = clamp(direction * scale, vec2(-kSpanMaximum), vec2(kSpanMaximum)) * texel;

    const vec3 near = 0.5 * (sceneAt(uv + direction * (1.0 / 3.0 - 0.5), texel) +
                             sceneAt(uv + direction * (2.0 / 3.0 - 0.5), texel));
    const vec3 wide = near * 0.5 + 0.25 * (sceneAt(uv - direction * 0.5, texel) + sceneAt(uv + direction * 0.5, texel));
    const float lumaWide = dot(wide, kLuma);
    return (lumaWide < lumaMin || lumaWide > lumaMax) ? near : wide;
}

vec3 graded(vec3 c, vec2 uv) {
    c = clamp(c, 0.0, 1.0);
    c = mix(c, c * c * (3.0 - 2.0 * c), kContrast);
    const float grey = dot(c, kLuma);
    c = mix(vec3(grey), c, kSaturation);
    const vec2 fromCentre = uv - 0.5;
    c *= 1.0 - kVignette * smoothstep(0.2, 0.75, dot(fromCentre, fromCentre) * 2.0);
    return clamp(c, 0.0, 1.0);
}

void main() {
    const vec2 texel = 1.0 / vec2(textureSize(screenTexture, 0));
    color = vec4(graded(antiAliased(textureCoordinates, texel), textureCoordinates), 1.0);
}
