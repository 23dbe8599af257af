#version 430 core
// "particle.frag" for a point sprite: the sprite stands upright, and the puff's picture is
// turned within it. The square's corners reach past the picture's edge, where it is clear.

in float strength;  // the puff's opacity
in vec2 facing;     // cosine and sine of the puff's turn

uniform float PuffShare;         // 1: the whole puff; less: only its middle, that share of the side
uniform vec4 Channels;           // as in "particle.frag"
uniform sampler2D smokeTexture;  // unit 0: "smokecloud.dds", clamped at its edges

out vec4 color;

const vec3 kSmokeTint = vec3(1.0, 0.97, 0.94);  // as in "particle.frag"

void main() {
    const vec2 upright = vec2(gl_PointCoord.x * 2.0 - 1.0, 1.0 - gl_PointCoord.y * 2.0);
    const vec2 turned = mat2(facing.x, -facing.y, facing.y, facing.x) * upright * PuffShare;
    const vec4 puff = texture(smokeTexture, turned * 0.5 + 0.5);
    const float amount = puff.a * strength;
    const vec3 smoke = puff.rgb * kSmokeTint * amount;
    color = vec4(smoke, smoke.r) * Channels;
}
