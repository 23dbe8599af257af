#include "tools/content/HudPictures.h"

#include <algorithm>
#include <cmath>

namespace {

struct PanelTheme {
    glm::vec3 plateTop;
    glm::vec3 plateBottom;
    glm::vec3 frame;
    glm::vec3 headline;
    const char* title;
    const char* subtitle;
};

const PanelTheme kWinTheme{{0.05f, 0.13f, 0.2f}, {0.02f, 0.05f, 0.1f}, {0.3f, 0.95f, 1.0f},
                           {0.75f, 1.0f, 1.0f}, "YOU WIN", "THE BOSS IS DESTROYED"};
const PanelTheme kLoseTheme{{0.2f, 0.05f, 0.07f}, {0.09f, 0.02f, 0.04f}, {1.0f, 0.35f, 0.25f},
                            {1.0f, 0.82f, 0.7f}, "YOU LOSE", "YOUR CRAFT WAS SHOT DOWN"};
const char* const kReplayHint = "PRESS R TO PLAY AGAIN";

float distanceToFrame(float x, float y, float inset, float width, float height) {
    const float dx = std::min(x - inset, width - inset - x);
    const float dy = std::min(y - inset, height - inset - y);
    return std::min(dx, dy);
}

// Paints `mask` (coverage in red) in `colour` with a soft glow around it.
void stamp(Image& image, const Image& mask, const glm::vec3& colour, const glm::vec3& glowColour, int glowRadius) {
    Image glow = mask;
    glow.blur(glowRadius, false);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            image.addLight(x, y, glowColour, std::min(1.0f, glow.at(x, y).r * 1.6f) * 0.55f);
            image.blend(x, y, colour, mask.at(x, y).r);
        }
}

void paintPlate(Image& image, const PanelTheme& theme) {
    const float w = static_cast<float>(image.width());
    const float h = static_cast<float>(image.height());
    image.paint([&](float u, float v) {
        glm::vec3 c = glm::mix(theme.plateTop, theme.plateBottom, v);
        const float scan = 0.94f + 0.06f * std::sin(v * h * 1.3f);
        c *= scan;
        const float d = distanceToFrame(u * w, v * h, 0.0f, w, h);
        const float outer = 1.0f - glm::smoothstep(6.0f, 9.0f, d);
        const float inner = glm::smoothstep(15.0f, 17.0f, d) * (1.0f - glm::smoothstep(19.0f, 21.0f, d));
        const float sheen = (1.0f - glm::smoothstep(9.0f, 40.0f, d)) * 0.25f;
        c = glm::mix(c, theme.frame * 0.6f, outer);
        c += theme.frame * (inner * 0.8f + sheen * 0.5f);
        return glm::vec4(c, 0.92f + 0.08f * outer);
    });
    // Corner brackets.
    const int arm = image.height() / 6;
    for (int k = 0; k < arm; ++k)
        for (int t = 0; t < 6; ++t)
            for (int corner = 0; corner < 4; ++corner) {
                const int cx = corner % 2 == 0 ? 26 + t : image.width() - 27 - t;
                const int cy = corner < 2 ? 26 + t : image.height() - 27 - t;
                const int sx = corner % 2 == 0 ? 1 : -1;
                const int sy = corner < 2 ? 1 : -1;
                image.blend(cx + sx * k, cy, theme.frame, 1.0f);
                image.blend(cx, cy + sy * k, theme.frame, 1.0f);
            }
}

}  // namespace

Image paintEndPanel(const TextPainter& text, bool won, int width, int height) {
    const PanelTheme& theme = won ? kWinTheme : kLoseTheme;
    Image image(width, height);
    paintPlate(image, theme);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);

    Image title(width, height, glm::vec4(0.0f));
    text.drawCentred(title, theme.title, w * 0.5f, h * 0.45f, h * 0.26f, h * 0.012f);
    stamp(image, title, theme.headline, theme.frame, static_cast<int>(h * 0.02f));

    Image subtitle(width, height, glm::vec4(0.0f));
    text.drawCentred(subtitle, theme.subtitle, w * 0.5f, h * 0.6f, h * 0.075f, h * 0.006f);
    stamp(image, subtitle, theme.frame, theme.frame * 0.5f, 3);

    // The hint sits on a bar of its own so that it reads at a glance.
    const float barTop = h * 0.7f;
    const float barBottom = h * 0.84f;
    for (int y = static_cast<int>(barTop); y < static_cast<int>(barBottom); ++y)
        for (int x = static_cast<int>(w * 0.16f); x < static_cast<int>(w * 0.84f); ++x)
            image.blend(x, y, theme.frame * 0.35f, 0.55f);
    Image hint(width, height, glm::vec4(0.0f));
    text.drawCentred(hint, kReplayHint, w * 0.5f, h * 0.805f, h * 0.085f, h * 0.008f);
    stamp(image, hint, glm::vec3(1.0f), theme.frame, 4);
    return image;
}

Image paintHeavyRoundsIcon(int width, int height) {
    const glm::vec3 outline(0.05f, 0.07f, 0.1f);
    Image image(width, height, glm::vec4(outline, 0.0f));
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const glm::vec3 brass(0.85f, 0.64f, 0.28f);
    const glm::vec3 tip(0.45f, 0.95f, 1.0f);
    const float roundWidth = w * 0.26f;
    for (int r = 0; r < 3; ++r) {
        const float cx = w * (0.2f + 0.3f * static_cast<float>(r));
        const float bottom = h * 0.94f;
        const float shoulder = h * 0.42f;
        const float top = h * 0.08f;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const float px = static_cast<float>(x) + 0.5f;
                const float py = static_cast<float>(y) + 0.5f;
                const float across = std::fabs(px - cx) / (roundWidth * 0.5f);
                // The ogive narrows from the shoulder to a point at the top.
                const float ogive = py < shoulder ? std::sqrt(std::max(0.0f, (py - top) / (shoulder - top))) : 1.0f;
                const float inside = ogive - across;
                if (py < top - 3.0f || py > bottom + 3.0f) continue;
                const float edge = std::min(inside * roundWidth * 0.5f, std::min(py - top, bottom - py) + 1.0f);
                const float cover = std::clamp(edge + 3.0f, 0.0f, 1.0f);
                if (cover <= 0.0f) continue;
                glm::vec4& p = image.at(x, y);
                const float shade = 0.65f + 0.45f * (1.0f - across) - 0.2f * std::max(0.0f, px - cx) / roundWidth;
                const bool isTip = py < shoulder;
                const bool isRim = py > bottom - h * 0.08f;
                glm::vec3 c = (isTip ? tip : brass * (isRim ? 0.8f : 1.0f)) * shade;
                if (isTip) c += glm::vec3(0.25f) * (1.0f - across);
                const float body = std::clamp(edge, 0.0f, 1.0f);
                p = glm::vec4(glm::mix(outline, c, body), std::max(p.a, cover));
            }
    }
    return image;
}
