#version 430 core
// The resolve pass when the scene is drawn smaller than the window: one draw that stretches
// the scene over the window with a filtered read and grades it ("grade.glsl") as the full
// size resolve does. Its edges are not smoothed: the filtered stretch softens them, and
// smoothing them at the scene's size first would blur the whole picture further. A draw
// rather than a blit, since a multisampled window may not be the target of a stretching
// blit.

in vec2 textureCoordinates;

uniform sampler2D screenTexture;  // unit 0: the scene, at the render scale

out vec4 color;

#include "grade.glsl"

void main() {
    color = vec4(graded(texture(screenTexture, textureCoordinates).rgb, textureCoordinates), 1.0);
}
