#version 430 core
// The resolve pass's last draw when the scene is drawn smaller than the window: the graded
// picture, stretched over the window with a filtered read. A draw rather than a blit, since
// a multisampled window may not be the target of a stretching blit.

in vec2 textureCoordinates;

uniform sampler2D screenTexture;  // unit 0: the graded scene, at the render scale

out vec4 color;

void main() {
    color = vec4(texture(screenTexture, textureCoordinates).rgb, 1.0);
}
