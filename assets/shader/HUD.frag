#version 430 core
in vec2 textureCoordinates;
uniform vec4 myCol;
uniform int hasTextureImg;
uniform sampler2D textureImg;
out vec4 color;
void main() {
    color = hasTextureImg == 1 ? texture(textureImg, textureCoordinates) * myCol : myCol;
}
