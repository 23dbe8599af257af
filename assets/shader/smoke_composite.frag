#version 430 core
// The smoke, drawn apart at a lower resolution, laid over the scene. Each third of the puffs
// is drawn into a channel of its own of the smoke's target, with the tint's share of that
// channel; the brightest of the three, tinted again, is the smoke. It is blended with
// GL_MAX as the puffs themselves are, so black leaves the scene as it is.

in vec2 textureCoordinates;

layout(binding = 0) uniform sampler2D thirds;  // the smoke's own target

out vec4 color;

const vec3 kSmokeTint = vec3(1.0, 0.97, 0.94);  // as in "particle.frag"

void main() {
    const vec3 untinted = texture(thirds, textureCoordinates).rgb / kSmokeTint;
    color = vec4(kSmokeTint * max(untinted.r, max(untinted.g, untinted.b)), 1.0);
}
