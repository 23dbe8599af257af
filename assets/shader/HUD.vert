#version 430 core
// Screen-space rectangles: the sky, the end-of-match pictures and the bars. Positions are
// window fractions that the model matrix turns into pixels; viewProjMatrix maps pixels
// (y down) to clip space.

layout(location = 0) in vec2 position;
layout(location = 1) in vec2 uv;

uniform mat4 modelMatrix;
uniform mat4 viewProjMatrix;

out vec2 textureCoordinates;

void main() {
    textureCoordinates = uv;
    gl_Position = viewProjMatrix * modelMatrix * vec4(position, 0.0, 1.0);
}
