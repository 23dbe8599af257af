#version 430 core
// The resolve pass, second of its two draws (see "postprocessing.frag"): runs only on the
// pixels the first draw marked as lying on an edge, and replaces them with the FXAA blend
// along the edge, graded the same way ("grade.glsl").

in vec2 textureCoordinates;

uniform sampler2D screenTexture;  // unit 0: the scene, at the render scale

out vec4 color;

#include "grade.glsl"

const float kReduceMultiplier = 1.0 / 8.0;
const float kReduceMinimum = 1.0 / 128.0;
const float kSpanMaximum = 8.0;  // texels

struct Neighbourhood {
    float nw;
    float ne;
    float sw;
    float se;
    float least;
    float most;
};

Neighbourhood neighbourhoodAt(vec2 uv) {
    const ivec2 last = textureSize(screenTexture, 0) - 1;
    const ivec2 centre = ivec2(uv * vec2(last + 1));
    float luma[5];
    const ivec2 offsets[5] = ivec2[](ivec2(-1, -1), ivec2(1, -1), ivec2(-1, 1), ivec2(1, 1), ivec2(0));
    for (int i = 0; i < 5; ++i)
        luma[i] = dot(texelFetch(screenTexture, clamp(centre + offsets[i], ivec2(0), last), 0).rgb, kLuma);
    const float least = min(luma[4], min(min(luma[0], luma[1]), min(luma[2], luma[3])));
    const float most = max(luma[4], max(max(luma[0], luma[1]), max(luma[2], luma[3])));
    return Neighbourhood(luma[0], luma[1], luma[2], luma[3], least, most);
}

vec3 sceneAt(vec2 uv) {
    return texture(screenTexture, uv).rgb;
}

vec3 alongTheEdge(vec2 uv, vec2 texel) {
    const Neighbourhood n = neighbourhoodAt(uv);
    vec2 direction = vec2(-((n.nw + n.ne) - (n.sw + n.se)), (n.nw + n.sw) - (n.ne + n.se));
    const float reduce = max((n.nw + n.ne + n.sw + n.se) * 0.25 * kReduceMultiplier, kReduceMinimum);
    const float scale = 1.0 / (min(abs(direction.x), abs(direction.y)) + reduce);
    direction = clamp(direction * scale, vec2(-kSpanMaximum), vec2(kSpanMaximum)) * texel;

    const vec3 near = 0.5 * (sceneAt(uv + direction * (1.0 / 3.0 - 0.5)) +
                             sceneAt(uv + direction * (2.0 / 3.0 - 0.5)));
    const vec3 wide = near * 0.5 + 0.25 * (sceneAt(uv - direction * 0.5) + sceneAt(uv + direction * 0.5));
    const float lumaWide = dot(wide, kLuma);
    return (lumaWide < n.least || lumaWide > n.most) ? near : wide;
}

void main() {
    const vec2 texel = 1.0 / vec2(textureSize(screenTexture, 0));
    color = vec4(graded(alongTheEdge(textureCoordinates, texel), textureCoordinates), 1.0);
}
