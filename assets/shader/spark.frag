#version 430 core
// Added onto the scene (blend ONE, ONE): a hot white centre in the spark's colour,
// fading to nothing at the dot's edge and as the spark's life runs out.

in vec4 sparkColour;

out vec4 color;

void main() {
    const vec2 fromCentre = gl_PointCoord * 2.0 - 1.0;
    const float edge = dot(fromCentre, fromCentre);
    if (edge > 1.0) discard;
    const float glow = (1.0 - edge) * sparkColour.a;
    const vec3 hot = mix(sparkColour.rgb, vec3(1.0), (1.0 - edge) * (1.0 - edge) * 0.4);
    color = vec4(hot * glow * 1.3, 1.0);
}
