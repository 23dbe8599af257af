#version 430 core
// The font atlas holds white glyphs in black rims (and one solid white cell): the tint
// colours the glyph and leaves the rim dark; alpha is the atlas's times the tint's.

in vec2 glyphCoordinates;
in vec4 tint;

uniform sampler2D atlas;  // unit 0

out vec4 color;

void main() {
    const vec4 texel = texture(atlas, glyphCoordinates);
    color = vec4(tint.rgb * texel.rgb, tint.a * texel.a);
}
