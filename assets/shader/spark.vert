#version 430 core
// One point per spark: a round dot that shrinks as the spark burns out and keeps a size
// in pixels that matches its distance.

layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;  // rgb; a: the share of its life left, 1 -> 0

uniform mat4 viewProjMatrix;
uniform float pixelsPerUnit;  // pixels covered by one world unit at distance 1

out vec4 sparkColour;

const float kSize = 0.35;      // world units across, newborn
const float kLargest = 28.0;   // pixels, for a spark right in front of the eye
const float kSmallest = 2.0;

void main() {
    gl_Position = viewProjMatrix * vec4(position, 1.0);
    const float across = kSize * pixelsPerUnit / max(gl_Position.w, 0.1) * (0.4 + 0.6 * colour.a);
    gl_PointSize = clamp(across, kSmallest, kLargest);
    sparkColour = colour;
}
