// The resolve's light grade, taken in by each of its programs through `#include
// "grade.glsl"` so that every pixel of the window is graded alike: a little more contrast
// and saturation, and darker corners.

const vec3 kLuma = vec3(0.299, 0.587, 0.114);
const float kContrast = 0.18;    // share of a smooth S-curve mixed in
const float kSaturation = 1.08;
const float kVignette = 0.22;    // darkening at the corners

// `c` graded at `uv`, the window's texture coordinates (0 to 1 across it).
vec3 graded(vec3 c, vec2 uv) {
    c = clamp(c, 0.0, 1.0);
    // The S-curve c * c * (3 - 2c) mixed in and the colour pushed away from its grey, each
    // multiplied out into the fewest operations: a software renderer runs them for every
    // pixel of the window.
    c *= (1.0 - kContrast) + c * (3.0 * kContrast - 2.0 * kContrast * c);
    c = c * kSaturation + dot(c, kLuma) * (1.0 - kSaturation);
    const vec2 fromCentre = uv - 0.5;
    c *= 1.0 - kVignette * smoothstep(0.2, 0.75, dot(fromCentre, fromCentre) * 2.0);
    return clamp(c, 0.0, 1.0);
}
