#version 430 core
// The smoke, drawn apart at a lower resolution, laid over the scene: the draw blends with
// GL_MAX as the puffs themselves do, so black leaves the scene as it is.

in vec2 textureCoordinates;

uniform sampler2D smokeTexture;  // unit 0: the smoke's own target

out vec4 color;

void main() {
    color = vec4(texture(smokeTexture, textureCoordinates).rgb, 1.0);
}
