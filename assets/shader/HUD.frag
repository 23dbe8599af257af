#version 430 core
// A picture times the quad's colour, or the flat colour alone (bars; a picture that
// failed to load). The alpha matters only where the caller blends.

in vec2 textureCoordinates;

uniform vec4 myCol;
uniform int hasTextureImg;
uniform sampler2D textureImg;  // unit 0

out vec4 color;

void main() {
    color = hasTextureImg == 1 ? texture(textureImg, textureCoordinates) * myCol : myCol;
}
