#version 430 core
// The full-screen quad of the resolve pass: clip-space corners with their texture
// coordinates.

layout(location = 0) in vec2 position;
layout(location = 1) in vec2 uv;

out vec2 textureCoordinates;

void main() {
    textureCoordinates = uv;
    gl_Position = vec4(position, 0.0, 1.0);
}
