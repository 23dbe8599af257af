#version 430 core
// The HUD's text, frames and backdrops: quads in window pixels (y down) that
// viewProjMatrix maps to clip space, each corner with its own colour.

layout(location = 0) in vec2 position;
layout(location = 1) in vec2 atlasCoordinates;
layout(location = 2) in vec4 color;

uniform mat4 viewProjMatrix;

out vec2 glyphCoordinates;
out vec4 tint;

void main() {
    glyphCoordinates = atlasCoordinates;
    tint = color;
    gl_Position = viewProjMatrix * vec4(position, 0.0, 1.0);
}
