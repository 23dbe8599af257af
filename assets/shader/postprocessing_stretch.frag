#version 430 core
// The resolve when the scene is drawn smaller than the window, second of its two draws:
// stretches the scene, graded at its own size ("postprocessing_grade.frag"), over the window
// with a filtered read. Its edges are not smoothed: the filtered stretch softens them, and
// smoothing them at the scene's size first would blur the whole picture further. A draw
// rather than a blit, since a multisampled window may not be the target of a stretching
// blit.

in vec2 textureCoordinates;

uniform sampler2D gradedScene;  // unit 0: the scene, graded, at the render scale

out vec4 color;

void main() {
    color = vec4(texture(gradedScene, textureCoordinates).rgb, 1.0);
}
