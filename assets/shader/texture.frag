#version 430 core
uniform vec3 model_rgbColor;
out vec4 color;
void main() {
    color = vec4(model_rgbColor, 1.0);
}
