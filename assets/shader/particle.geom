#version 430 core
// Draws as camera-facing quads the puffs no point sprite can stand in for (see
// "particle.vert"); the sprites' program draws the others.

layout(points) in;
layout(triangle_strip, max_vertices = 4) out;

uniform mat4 ProjectionMatrix;
uniform float PuffShare;  // 1: the whole puff; less: only its middle, that share of the side

in float halfSide[];
in float spritePixels[];
in float strength[];
in vec2 facing[];
out vec2 puffCoordinates;
out float opacity;

void main() {
    if (halfSide[0] <= 0.0 || spritePixels[0] > 0.0) return;
    opacity = strength[0];
    const mat2 rotation = mat2(facing[0].x, facing[0].y, -facing[0].y, facing[0].x);
    const vec2 corners[4] = vec2[](vec2(-1.0, -1.0), vec2(1.0, -1.0), vec2(-1.0, 1.0), vec2(1.0, 1.0));
    for (int i = 0; i < 4; ++i) {
        puffCoordinates = corners[i] * PuffShare * 0.5 + 0.5;
        // The quad faces the camera: its corners lie in the view plane around the centre.
        const vec2 corner = rotation * corners[i] * halfSide[0];
        gl_Position = gl_in[0].gl_Position + ProjectionMatrix * vec4(corner, 0.0, 0.0);
        EmitVertex();
    }
    EndPrimitive();
}
