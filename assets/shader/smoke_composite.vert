#version 430 core
// One triangle over the whole viewport, made from the vertex index alone (no buffer):
// corners (-1,-1), (3,-1) and (-1,3), texture coordinates 0..1 across the viewport.

out vec2 textureCoordinates;

void main() {
    const vec2 corner = vec2(float((gl_VertexID & 1) << 2), float((gl_VertexID & 2) << 1)) - 1.0;
    textureCoordinates = corner * 0.5 + 0.5;
    gl_Position = vec4(corner, 0.0, 1.0);
}
