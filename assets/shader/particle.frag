#version 430 core
// The smoke is blended with GL_MAX: each channel keeps the brighter of the puff and the
// scene. So the puff fades by going dark, and overlapping puffs never pile up.

in vec2 puffCoordinates;
in float opacity;

// 1 in the channels the puff is drawn into, 0 in the others, which the max blending then
// leaves as they are: each quarter of the puffs keeps a channel of the smoke's target. Alpha
// holds the grey untinted, the tint of red being 1.
uniform vec4 Channels;
uniform sampler2D smokeTexture;  // unit 0: "smokecloud.dds"

out vec4 color;

const vec3 kSmokeTint = vec3(1.0, 0.97, 0.94);

void main() {
    const vec4 puff = texture(smokeTexture, puffCoordinates);
    const float amount = puff.a * opacity;
    const vec3 smoke = puff.rgb * kSmokeTint * amount;
    color = vec4(smoke, smoke.r) * Channels;
}
