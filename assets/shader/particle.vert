#version 430 core
// One point per smoke particle, with the size, fade and turn its age gives it, and whether
// a point sprite can stand in for its quad. The sprites' program (this and
// "particle_sprite.frag") draws those that can; the quads' program ("particle.geom") the rest.

layout(location = 0) in vec4 particle;  // xyz: position at the emitter; w: seconds left
layout(location = 1) in vec4 velocity;  // w: the puff's spin, fixed at its spawn

uniform mat4 ViewMatrix;
uniform mat4 ModelMatrix;
uniform mat4 ProjectionMatrix;
uniform float PuffShare;      // 1: the whole puff; less: only its middle, that share of the side
uniform int DrawnPart;        // 0: every puff; 1 to 4: a quarter, by spin from -1 up (part())
uniform float TargetHeight;   // pixels
uniform float LargestSprite;  // pixels; 0: every puff is a quad
uniform bool Sprites;         // this draw is the sprites': the others are left out

out float halfSide;      // of the drawn share, world units; 0: not drawn this time
out float spritePixels;  // across on the target; 0: drawn as a quad
out float strength;      // the puff's opacity
out vec2 facing;         // cosine and sine of the puff's turn in the view plane

const float kLifetime = 4.0;  // as in "particle.compute"
const float kBirthSize = 0.4;  // half the quad's side, world units
const float kDeathSize = 2.4;
const vec4 kOutOfView = vec4(2.0, 2.0, 2.0, 1.0);

// A puff's spin never changes, so each puff stays in its quarter for all its life. The spin
// is spread evenly over -1 to 1, so each quarter takes a quarter of the puffs.
int part() {
    return min(int((velocity.w + 1.0) * 2.0), 3) + 1;
}

bool drawn() {
    return DrawnPart == 0 || part() == DrawnPart;
}

// A sprite whose centre leaves the view is clipped whole, and none grows past the driver's
// largest: such puffs stay quads.
float spriteSize(vec4 centre) {
    if (centre.w <= 0.0 || any(greaterThan(abs(centre.xyz), vec3(centre.w)))) return 0.0;
    const float pixels = halfSide * ProjectionMatrix[1][1] * TargetHeight / centre.w;
    return pixels <= LargestSprite ? pixels : 0.0;
}

void main() {
    const float age = clamp(kLifetime - particle.w, 0.0, kLifetime);
    const float grown = age / kLifetime;
    // The puff's direction from the emitter's axis: steady, and different for each puff.
    const float heading = atan(particle.z, particle.x + 1e-6);
    const float variety = fract(heading * 7.31);  // 0..1, steady through the puff's life
    const float wholeHalfSide = mix(kBirthSize, kDeathSize, sqrt(grown)) * (0.7 + 0.6 * variety);
    halfSide = drawn() ? wholeHalfSide * PuffShare : 0.0;
    strength = smoothstep(0.0, 0.25, age) * smoothstep(0.0, 1.5, particle.w) * (1.0 - 0.4 * grown);
    const float turn = heading * 3.0 + age * (variety - 0.5);
    facing = vec2(cos(turn), sin(turn));
    gl_Position = ProjectionMatrix * ViewMatrix * ModelMatrix * vec4(particle.xyz, 1.0);
    spritePixels = halfSide > 0.0 ? spriteSize(gl_Position) : 0.0;
    gl_PointSize = max(spritePixels, 1.0);
    if (Sprites && spritePixels <= 0.0) gl_Position = kOutOfView;
}
