#version 430 core
// The smoke, drawn apart at a lower resolution in two halves of its puffs, laid over the
// scene: the brighter of the halves, blended with GL_MAX as the puffs themselves are, so
// black leaves the scene as it is.

in vec2 textureCoordinates;

layout(binding = 0) uniform sampler2D firstHalf;   // the smoke's own targets
layout(binding = 1) uniform sampler2D secondHalf;

out vec4 color;

void main() {
    const vec3 first = texture(firstHalf, textureCoordinates).rgb;
    const vec3 second = texture(secondHalf, textureCoordinates).rgb;
    color = vec4(max(first, second), 1.0);
}
