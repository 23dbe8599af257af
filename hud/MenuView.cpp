#include "hud/MenuView.h"

#include "render/GlyphQuads.h"

namespace {

const glm::vec4 kHeadingColor(1.0f, 0.93f, 0.55f, 1.0f);
const glm::vec4 kLineColor(0.85f, 0.88f, 0.95f, 1.0f);
const glm::vec4 kSelectedColor(1.0f, 1.0f, 1.0f, 1.0f);
const glm::vec4 kSelectionBar(0.95f, 0.45f, 0.15f, 0.55f);
const glm::vec4 kBackdrop(0.02f, 0.02f, 0.06f, 0.62f);
const glm::vec4 kHintColor(0.7f, 0.72f, 0.8f, 1.0f);
const glm::vec4 kCountdownColor(1.0f, 0.93f, 0.55f, 1.0f);

// Window fractions of each placement: the heading's box, then the lines, one under another.
struct Frame {
    float headingTop;
    float headingHeight;
    float linesTop;
    float lineHeight;
    float left;
    float width;
};

Frame frameOf(MenuView::Placement placement) {
    switch (placement) {
        case MenuView::Placement::Title: return {0.12f, 0.16f, 0.40f, 0.065f, 0.25f, 0.5f};
        case MenuView::Placement::UnderPicture: return {0.0f, 0.0f, 0.885f, 0.05f, 0.3f, 0.4f};
        case MenuView::Placement::Panel: break;
    }
    return {0.2f, 0.08f, 0.33f, 0.065f, 0.25f, 0.5f};
}

PixelRect lineBox(const Frame& f, std::size_t line, float width, float height) {
    return pixelsOf(f.left, f.linesTop + f.lineHeight * static_cast<float>(line), f.width,
                    f.lineHeight, width, height);
}

constexpr float kLineCellShare = 0.62f;  // a line's glyph cell over the line's height
constexpr std::size_t kLineColumns = 26;  // the widest line any menu has

}  // namespace

void layOutMenu(const MenuView& view, float width, float height, GlyphQuads& quads) {
    const Frame f = frameOf(view.placement);
    const std::size_t count = std::min(view.lineCount, MenuView::kMaxLines);
    const PixelRect first = lineBox(f, 0, width, height);
    const float cell = fittedCell(first.width, first.height * kLineCellShare,
                                  widthPerCell(kLineColumns));
    if (!view.heading.empty()) {
        const PixelRect heading = pixelsOf(f.left - 0.1f, f.headingTop, f.width + 0.2f,
                                           f.headingHeight, width, height);
        const float headingCell = fittedCell(heading.width, heading.height,
                                             widthPerCell(view.heading));
        addCentred(quads, view.heading, heading, headingCell, kHeadingColor);
    }
    const PixelRect last = lineBox(f, count, width, height);
    quads.addRect({first.left, first.top, first.width, last.top - first.top}, kBackdrop);
    for (std::size_t i = 0; i < count; ++i) {
        const PixelRect box = lineBox(f, i, width, height);
        const bool selected = i == view.selected;
        if (selected) quads.addRect(box, kSelectionBar);
        addCentred(quads, view.lines[i], box, cell, selected ? kSelectedColor : kLineColor);
    }
    if (!view.hint.empty()) {
        const PixelRect hint = {last.left, last.top + last.height * 0.2f, last.width,
                                last.height * 0.6f};
        addCentred(quads, view.hint, hint, fittedCell(hint.width, hint.height,
                                                      widthPerCell(view.hint)), kHintColor);
    }
}

std::optional<std::size_t> menuLineAt(const MenuView& view, float x, float y, float width,
                                      float height) {
    const Frame f = frameOf(view.placement);
    for (std::size_t i = 0; i < std::min(view.lineCount, MenuView::kMaxLines); ++i) {
        const PixelRect box = lineBox(f, i, width, height);
        if (x >= box.left && x < box.right() && y >= box.top && y < box.bottom()) return i;
    }
    return std::nullopt;
}

void layOutCountdown(int digit, float width, float height, GlyphQuads& quads) {
    const char text[2] = {static_cast<char>('0' + std::clamp(digit, 0, 9)), '\0'};
    const PixelRect box = pixelsOf(0.35f, 0.3f, 0.3f, 0.25f, width, height);
    addCentred(quads, std::string_view(text, 1), box, box.height, kCountdownColor);
}
