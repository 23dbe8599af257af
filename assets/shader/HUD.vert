#version 430 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 uv;
uniform mat4 modelMatrix;
uniform mat4 viewProjMatrix;
out vec2 textureCoordinates;
void main() {
    textureCoordinates = uv;
    gl_Position = viewProjMatrix * modelMatrix * vec4(position, 0.0, 1.0);
}
