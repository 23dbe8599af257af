#version 430 core
// The smoke is blended with GL_MAX: each channel keeps the brighter of the puff and the
// scene. So the puff fades by going dark, and overlapping puffs never pile up.

in vec2 puffCoordinates;
in float opacity;

// 1 in the channels the puff is drawn into, 0 in the others, which the max blending then
// leaves as they are: each third of the puffs keeps a channel of the smoke's target.
uniform vec3 Channels;
uniform sampler2D smokeTexture;  // unit 0: "smokecloud.dds"

out vec4 color;

const vec3 kSmokeTint = vec3(1.0, 0.97, 0.94);

void main() {
    const vec4 puff = texture(smokeTexture, puffCoordinates);
    const float amount = puff.a * opacity;
    color = vec4(puff.rgb * kSmokeTint * amount * Channels, amount);
}
