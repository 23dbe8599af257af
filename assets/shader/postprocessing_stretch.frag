#version 430 core
// The resolve's last draw, into the window: the scene graded (and at full size smoothed) in
// a target of its own size, read texel for texel at full size, where only the shares whose
// edges are smoothed come this way, and stretched with a filtered read below it. Below full size no edge is smoothed: the stretch softens them,
// and smoothing them at the scene's size first would blur the whole picture further.
// A draw rather than a blit, since a multisampled window may not be the target of a
// stretching blit, and since a software renderer runs a program that only reads a texture
// as a copy, much faster than a blit into the window. The same draw copies the end
// picture and the wireframe view.
//
// The texel goes out as it is read, alpha and all (the grade writes an alpha of 1): with
// alpha set here instead, the software renderer's copy swaps red and blue.

in vec2 textureCoordinates;

uniform sampler2D gradedScene;  // unit 0: the scene, graded, at the render scale; or a picture

out vec4 color;

void main() {
    color = texture(gradedScene, textureCoordinates);
}
