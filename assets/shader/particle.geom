#version 430 core
// Expands each point into a camera-facing quad that grows and turns as the puff ages.

layout(points) in;
layout(triangle_strip, max_vertices = 4) out;

uniform mat4 ProjectionMatrix;
uniform float PuffShare;  // 1: the whole puff; less: only its middle, that share of the side
uniform int DrawnHalf;    // 0: every puff; 1: those spinning one way; 2: the other way

in float secondsLeft[];
in float heading[];
in float spin[];
out vec2 puffCoordinates;
out float opacity;

const float kLifetime = 4.0;  // as in "particle.compute"
const float kBirthSize = 0.4;  // half the quad's side, world units
const float kDeathSize = 2.4;

// A puff's spin never changes, so each puff stays in its half for all its life.
bool drawn() {
    return DrawnHalf == 0 || (spin[0] < 0.0) == (DrawnHalf == 1);
}

void main() {
    if (!drawn()) return;
    const float age = clamp(kLifetime - secondsLeft[0], 0.0, kLifetime);
    const float grown = age / kLifetime;
    const float variety = fract(heading[0] * 7.31);  // 0..1, steady through the puff's life
    const float halfSide = mix(kBirthSize, kDeathSize, sqrt(grown)) * (0.7 + 0.6 * variety);
    opacity = smoothstep(0.0, 0.25, age) * smoothstep(0.0, 1.5, secondsLeft[0]) * (1.0 - 0.4 * grown);
    const float turn = heading[0] * 3.0 + age * (variety - 0.5);
    const mat2 rotation = mat2(cos(turn), sin(turn), -sin(turn), cos(turn));
    const vec2 corners[4] = vec2[](vec2(-1.0, -1.0), vec2(1.0, -1.0), vec2(-1.0, 1.0), vec2(1.0, 1.0));
    const vec4 centre = gl_in[0].gl_Position;
    for (int i = 0; i < 4; ++i) {
        const vec2 corner = corners[i] * PuffShare;
        puffCoordinates = corner * 0.5 + 0.5;
        gl_Position = ProjectionMatrix * (centre + vec4(rotation * corner * halfSide, 0.0, 0.0));
        EmitVertex();
    }
    EndPrimitive();
}
