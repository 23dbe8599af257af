#version 430 core
// One point per smoke particle, moved into view space; "particle.geom" makes the quad.

layout(location = 0) in vec4 particle;  // xyz: position at the emitter; w: seconds left
layout(location = 1) in vec4 velocity;  // w: the puff's spin, fixed at its spawn

uniform mat4 ViewMatrix;
uniform mat4 ModelMatrix;

out float secondsLeft;
out float heading;  // the puff's direction from the emitter's axis: steady, and different for each puff
out float spin;

void main() {
    secondsLeft = particle.w;
    heading = atan(particle.z, particle.x + 1e-6);
    spin = velocity.w;
    gl_Position = ViewMatrix * ModelMatrix * vec4(particle.xyz, 1.0);
}
