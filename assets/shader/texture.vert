#version 430 core
// The lit model program: every model, the physics debug lines and, with "landscape.frag",
// the landscape tiles.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;
layout(location = 3) in ivec4 boneIds;
layout(location = 4) in vec4 boneWeights;

const int kMaxBones = 100;

uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjMatrix;
uniform int hasBones;
uniform mat4 bones[kMaxBones];

out VertexData {
    vec3 worldPosition;
    vec3 worldNormal;
    vec2 texCoord;
} vertex;

mat4 skinning() {
    if (hasBones == 0) return mat4(1.0);
    mat4 skin = mat4(0.0);
    float total = 0.0;
    for (int i = 0; i < 4; ++i) {
        const int id = boneIds[i];
        const float weight = boneWeights[i];
        if (weight > 0.0 && id >= 0 && id < kMaxBones) {
            skin += bones[id] * weight;
            total += weight;
        }
    }
    // A vertex that no bone holds stays where the file put it instead of collapsing.
    return total > 0.001 ? skin / total : mat4(1.0);
}

void main() {
    const mat4 skin = skinning();
    const vec4 world = modelMatrix * skin * vec4(position, 1.0);
    vertex.worldPosition = world.xyz;
    // Debug lines come without normals (attribute 1 is off, so it reads zero); the zero
    // survives this product and tells the fragment stage to draw a plain line.
    vertex.worldNormal = normalMatrix * (mat3(skin) * normal);
    vertex.texCoord = texCoord;
    gl_Position = viewProjMatrix * world;
}
