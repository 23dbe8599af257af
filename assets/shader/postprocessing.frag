#version 430 core
// The resolve pass at full size, first of its two draws into the graded target, from which
// "postprocessing_stretch.frag" then copies the shares they cover into the window. The scene is drawn into a
// single-sample target of the window's size and graded here ("grade.glsl"). Edges are
// smoothed with FXAA (the 3.11 "console" variant), split in two so that a software
// renderer, which runs every branch for every pixel, does the expensive part only where it
// is needed: this draw writes every pixel as it is and marks the pixels on an edge in the
// depth buffer (depth 0; the rest 1); the second draw ("postprocessing_edges.frag") runs on
// the marked pixels alone, behind the depth test. Both read the four neighbours as whole
// texels, without filtering; the target clamps reads to its edge. Both run behind a
// scissor, over the shares of the window where the models stand; the rest of the window is
// graded straight into it by "postprocessing_grade.frag", as is a scene drawn smaller than
// the window into the graded target.

in vec2 textureCoordinates;

uniform sampler2D screenTexture;  // unit 0: the scene, at the render scale, read by the nearest texel

out vec4 color;

#include "grade.glsl"

const float kEdgeThreshold = 0.125;        // local contrast, relative to the brightest neighbour,
const float kEdgeThresholdMinimum = 0.04;  // below which a pixel is left as it is (most of them)

// A texture read's offset must be a constant.
#define LUMA_AT(uv, offset) dot(textureOffset(screenTexture, uv, offset).rgb, kLuma)

bool onEdge(vec2 uv, float lumaM) {
    const float lumaNW = LUMA_AT(uv, ivec2(-1, -1));
    const float lumaNE = LUMA_AT(uv, ivec2(1, -1));
    const float lumaSW = LUMA_AT(uv, ivec2(-1, 1));
    const float lumaSE = LUMA_AT(uv, ivec2(1, 1));
    const float lumaMin = min(lumaM, min(min(lumaNW, lumaNE), min(lumaSW, lumaSE)));
    const float lumaMax = max(lumaM, max(max(lumaNW, lumaNE), max(lumaSW, lumaSE)));
    return lumaMax - lumaMin >= max(kEdgeThresholdMinimum, lumaMax * kEdgeThreshold);
}

// This draw covers the scene texel for texel, so each read at the pixel's centre, through a
// sampler of nearest texels, takes one texel whole: a filtered read would cost four, and a
// software renderer runs the sampler's read of a texel faster than `texelFetch` and its clamp.
void main() {
    const vec3 scene = texture(screenTexture, textureCoordinates).rgb;
    color = vec4(graded(scene, textureCoordinates), 1.0);
    gl_FragDepth = onEdge(textureCoordinates, dot(scene, kLuma)) ? 0.0 : 1.0;
}
