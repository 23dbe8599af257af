#version 430 core
// The resolve pass, first of its draws. The scene is drawn into a single-sample target,
// possibly smaller than the window (the render scale; "postprocessing_stretch.frag" then
// stretches it over the window), and graded here with a light grade that adds a little
// contrast and saturation and darkens the corners. Edges are smoothed with FXAA (the 3.11
// "console" variant), split in two so that a software renderer, which runs every branch
// for every pixel, does the expensive part only where it is needed: this draw writes every
// pixel as it is and marks the pixels on an edge in the depth buffer (depth 0; the rest 1);
// the second draw ("postprocessing_edges.frag") runs on the marked pixels alone, behind
// the depth test. Both read the four neighbours as whole texels, without filtering; the
// target clamps reads to its edge.

in vec2 textureCoordinates;

uniform sampler2D screenTexture;  // unit 0: the scene, at the render scale

out vec4 color;

const vec3 kLuma = vec3(0.299, 0.587, 0.114);
const float kEdgeThreshold = 0.125;        // local contrast, relative to the brightest neighbour,
const float kEdgeThresholdMinimum = 0.04;  // below which a pixel is left as it is (most of them)
const float kContrast = 0.18;    // share of a smooth S-curve mixed in
const float kSaturation = 1.08;
const float kVignette = 0.22;    // darkening at the corners

float lumaAt(ivec2 texel, ivec2 last) {
    return dot(texelFetch(screenTexture, clamp(texel, ivec2(0), last), 0).rgb, kLuma);
}

bool onEdge(ivec2 centre, float lumaM) {
    const ivec2 last = textureSize(screenTexture, 0) - 1;
    const float lumaNW = lumaAt(centre + ivec2(-1, -1), last);
    const float lumaNE = lumaAt(centre + ivec2(1, -1), last);
    const float lumaSW = lumaAt(centre + ivec2(-1, 1), last);
    const float lumaSE = lumaAt(centre + ivec2(1, 1), last);
    const float lumaMin = min(lumaM, min(min(lumaNW, lumaNE), min(lumaSW, lumaSE)));
    const float lumaMax = max(lumaM, max(max(lumaNW, lumaNE), max(lumaSW, lumaSE)));
    return lumaMax - lumaMin >= max(kEdgeThresholdMinimum, lumaMax * kEdgeThreshold);
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

// This draw covers the scene texel for texel, so each pixel reads its own texel whole: a
// filtered read would cost four.
void main() {
    const ivec2 centre = ivec2(textureCoordinates * vec2(textureSize(screenTexture, 0)));
    const vec3 scene = texelFetch(screenTexture, centre, 0).rgb;
    color = vec4(graded(scene, textureCoordinates), 1.0);
    gl_FragDepth = onEdge(centre, dot(scene, kLuma)) ? 0.0 : 1.0;
}
