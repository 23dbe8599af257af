#version 430 core
// The resolve when the scene is drawn smaller than the window, first of its two draws: the
// scene graded ("grade.glsl") at its own size, texel for texel, into a target of that size,
// which "postprocessing_stretch.frag" then stretches over the window. At full size it grades
// the scene straight into the window around the shares whose edges are smoothed (see
// "postprocessing.frag").

in vec2 textureCoordinates;

uniform sampler2D screenTexture;  // unit 0: the scene, at the render scale, read by the nearest texel

out vec4 color;

#include "grade.glsl"

void main() {
    const vec3 scene = texture(screenTexture, textureCoordinates).rgb;
    color = vec4(graded(scene, textureCoordinates), 1.0);
}
