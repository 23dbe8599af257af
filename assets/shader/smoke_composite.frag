#version 430 core
// The smoke, drawn apart at a lower resolution, laid over the scene. Each quarter of the
// puffs is drawn into a channel of its own of the smoke's target, with the tint's share of
// that channel (alpha takes red's, which is all of it); the brightest of the four, tinted
// again, is the smoke. It is blended with GL_MAX as the puffs themselves are, so black
// leaves the scene as it is.

in vec2 textureCoordinates;

layout(binding = 0) uniform sampler2D quarters;  // the smoke's own target

out vec4 color;

const vec3 kSmokeTint = vec3(1.0, 0.97, 0.94);  // as in "particle.frag"

void main() {
    const vec4 drawn = texture(quarters, textureCoordinates);
    const vec3 untinted = drawn.rgb / kSmokeTint;
    color = vec4(kSmokeTint * max(max(untinted.r, untinted.g), max(untinted.b, drawn.a)), 1.0);
}
