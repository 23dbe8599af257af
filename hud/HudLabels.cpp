#include "hud/HudLabels.h"

#include "hud/TextLayout.h"

#include "game/Enemy.h"
#include "game/Game.h"
#include "game/HudLayout.h"
#include "game/Player.h"
#include "render/GlyphQuads.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

using ::pixelsOf;  // the fractions form; the overloads below take the HUD's own boxes

const glm::vec4 kTextColor(1.0f, 1.0f, 1.0f, 1.0f);
const glm::vec4 kFrameColor(1.0f, 1.0f, 1.0f, 0.6f);
const glm::vec4 kShieldColor(0.45f, 0.95f, 1.0f, 1.0f);
const glm::vec4 kReloadColor(1.0f, 0.72f, 0.2f, 1.0f);
const glm::vec4 kBackdropColor(0.0f, 0.0f, 0.0f, 0.6f);
const glm::vec4 kPauseColor(1.0f, 0.93f, 0.55f, 1.0f);
const glm::vec4 kNewBestColor(1.0f, 0.85f, 0.3f, 1.0f);
const glm::vec4 kWonColor(0.3f, 0.95f, 1.0f, 1.0f);  // the end pictures' frames
const glm::vec4 kLostColor(1.0f, 0.35f, 0.25f, 1.0f);

const std::string_view kBossLabel = "BOSS";
const std::string_view kHullLabel = "HULL";
const std::string_view kAmmoLabel = "AMMO";
const std::string_view kShieldMarker = "SHIELD";
const std::string_view kReloadMarker = "RELOAD";
const std::string_view kPauseText = "PAUSED \u2014 free camera (P to resume)";
const std::string_view kReplayText = "REPLAY";
const std::string_view kNewBest = "NEW BEST";
const std::string_view kNoBestYet = "BEST \u2014";
const std::string_view kNoShotYet = "\u2014";  // in place of an accuracy

constexpr float kCellShareOfBar = 0.8f;       // a glyph cell's height over its bar's
constexpr float kBarMarginShare = 0.2f;       // text to the bar's ends, in bar heights...
constexpr float kBarMarginMostShare = 0.02f;  // ...but at most this share of its width
constexpr std::size_t kGapColumns = 2;        // between a bar's label, marker and number
constexpr float kFrameShare = 0.0025f;        // frame thickness over the window's smaller side

// Window fractions of the texts outside the bars; each is fitted into its box and centred.
struct TextBox {
    float x;
    float y;
    float w;
    float h;
};
const TextBox kClockBox{0.35f, 0.105f, 0.3f, 0.035f};  // under the boss's bar
const TextBox kPauseBox{0.05f, 0.16f, 0.9f, 0.05f};
const TextBox kReplayBox{0.03f, 0.105f, 0.16f, 0.035f};  // left of the clock
const TextBox kResultsBox{0.25f, 0.765f, 0.5f, 0.115f};  // under the end picture
constexpr std::size_t kClockColumns = 12;                 // "TIME 00:00.0"
constexpr float kBackdropPadding = 0.3f;                  // cell heights around the pause label
constexpr float kResultsCellShare = 0.34f;                // a line's cell over the box's height
constexpr float kResultsWidthShare = 0.92f;

// Minutes, seconds and tenths: "1:23.4". Tenths are cut, not rounded, as a clock shows them.
std::string_view formatTime(TextBuffer& buffer, const char* prefix, float seconds) {
    const long tenths = static_cast<long>(std::max(0.0f, seconds) * 10.0f);
    return written(buffer, std::snprintf(buffer.data(), buffer.size(), "%s%ld:%02ld.%ld", prefix,
                                         tenths / 600, tenths / 10 % 60, tenths % 10));
}

std::string_view formatWhole(TextBuffer& buffer, int value) {
    return written(buffer, std::snprintf(buffer.data(), buffer.size(), "%d", value));
}

std::string_view formatRounds(TextBuffer& buffer, int rounds, int maxRounds) {
    return written(buffer, std::snprintf(buffer.data(), buffer.size(), "%d / %d", rounds, maxRounds));
}

std::size_t digitsOf(int value) {
    std::size_t digits = 1;
    for (value = std::abs(value); value >= 10; value /= 10) ++digits;
    return digits;
}

PixelRect pixelsOf(const HudLayout& layout, float width, float height) {
    return pixelsOf(layout.x, layout.y, layout.w, layout.h, width, height);
}

PixelRect pixelsOf(const TextBox& box, float width, float height) {
    return pixelsOf(box.x, box.y, box.w, box.h, width, height);
}

void addFrame(GlyphQuads& quads, const PixelRect& r, float thickness, const glm::vec4& color) {
    const float t = thickness;
    quads.addRect({r.left - t, r.top - t, r.width + 2.0f * t, t}, color);
    quads.addRect({r.left - t, r.bottom(), r.width + 2.0f * t, t}, color);
    quads.addRect({r.left - t, r.top, t, r.height}, color);
    quads.addRect({r.right(), r.top, t, r.height}, color);
}

float frameThickness(float width, float height) {
    return std::max(1.0f, std::round(std::min(width, height) * kFrameShare));
}

// One bar's words: the label at its left end, the number at its right end, a marker in
// its middle. `columns` is the most the bar can ever show, so that the text keeps its
// size as the numbers change.
struct BarText {
    PixelRect bar;
    std::string_view label;
    std::string_view number;
    glm::vec4 numberColor;
    std::string_view marker;  ///< empty for none
    glm::vec4 accent;         ///< the marker's and the frame's colour
    std::size_t columns;
};

float marginOf(const PixelRect& bar) {
    return std::min(bar.height * kBarMarginShare, bar.width * kBarMarginMostShare);
}

float largestCellFor(const BarText& text) {
    return fittedCell(text.bar.width - 2.0f * marginOf(text.bar), text.bar.height * kCellShareOfBar,
                      widthPerCell(text.columns));
}

void layOutBar(GlyphQuads& quads, const BarText& text, float cell, float frame) {
    const PixelRect& bar = text.bar;
    addFrame(quads, bar, frame, text.accent);
    const float margin = marginOf(bar);
    const float top = bar.top + (bar.height - cell) * 0.5f;
    quads.addText(text.label, bar.left + margin, top, cell, kTextColor);
    quads.addText(text.number, bar.right() - margin - GlyphQuads::width(text.number, cell), top,
                  cell, text.numberColor);
    const float markerLeft = bar.left + (bar.width - GlyphQuads::width(text.marker, cell)) * 0.5f;
    quads.addText(text.marker, markerLeft, top, cell, text.accent);
}

// The marker sits in the middle, so the bar is sized as if label or number, whichever is
// longer, stood on both sides of it.
BarText bossBarText(const HudReadout& r, TextBuffer& number, float width, float height) {
    const std::size_t side = std::max(kBossLabel.size(), digitsOf(r.bossMax)) + kGapColumns;
    return {pixelsOf(kBossHealthBar, width, height),
            kBossLabel,
            formatWhole(number, r.boss),
            kTextColor,
            r.shieldUp ? kShieldMarker : std::string_view(),
            r.shieldUp ? kShieldColor : kFrameColor,
            2 * side + kShieldMarker.size()};
}

BarText hullBarText(const HudReadout& r, TextBuffer& number, float width, float height) {
    return {pixelsOf(kPlayerHealthBar, width, height),
            kHullLabel,
            formatWhole(number, r.hull),
            kTextColor,
            {},
            kFrameColor,
            kHullLabel.size() + kGapColumns + digitsOf(r.hullMax)};
}

// While the magazine refills, the word takes the number's place.
BarText ammoBarText(const HudReadout& r, TextBuffer& number, float width, float height) {
    const std::size_t roundsColumns = 2 * digitsOf(r.roundsMax) + 3;  // "15 / 15"
    return {pixelsOf(kAmmoBar, width, height),
            kAmmoLabel,
            r.reloading ? kReloadMarker : formatRounds(number, r.rounds, r.roundsMax),
            r.reloading ? kReloadColor : kTextColor,
            {},
            r.reloading ? kReloadColor : kFrameColor,
            kAmmoLabel.size() + kGapColumns + std::max(roundsColumns, kReloadMarker.size())};
}

// One size for all three: the largest at which every bar's text fits its bar.
void layOutBars(GlyphQuads& quads, const HudReadout& r, float width, float height, float frame) {
    std::array<TextBuffer, 3> numbers;
    const std::array<BarText, 3> bars = {bossBarText(r, numbers[0], width, height),
                                         hullBarText(r, numbers[1], width, height),
                                         ammoBarText(r, numbers[2], width, height)};
    float cell = largestCellFor(bars[0]);
    for (const BarText& bar : bars) cell = std::min(cell, largestCellFor(bar));
    for (const BarText& bar : bars) layOutBar(quads, bar, cell, frame);
}

void layOutClock(GlyphQuads& quads, const HudReadout& r, float width, float height) {
    const PixelRect box = pixelsOf(kClockBox, width, height);
    TextBuffer clock;
    addCentred(quads, formatTime(clock, "TIME ", r.matchSeconds), box,
               fittedCell(box.width, box.height, widthPerCell(kClockColumns)), kTextColor);
}

// One line on a dark backdrop, centred in its box: the pause label, the replay's mark.
void layOutBanner(GlyphQuads& quads, std::string_view text, const TextBox& where, float width,
                  float height) {
    const PixelRect box = pixelsOf(where, width, height);
    const float cell = fittedCell(box.width, box.height, widthPerCell(text));
    const float textWidth = GlyphQuads::width(text, cell);
    const float padding = cell * kBackdropPadding;
    quads.addRect({box.left + (box.width - textWidth) * 0.5f - padding, box.top + (box.height - cell) * 0.5f,
                   textWidth + 2.0f * padding, cell},
                  kBackdropColor);
    addCentred(quads, text, box, cell, kPauseColor);
}

// "TIME 1:23.4   BEST 1:10.2", or "... NEW BEST" when this match set it, or the dash
// before any win. The best part starts at `bestStart`.
struct TimeLine {
    std::string_view text;
    std::size_t bestStart;
};

// The difficulty leads the line, in the panel's capitals: "HARD  TIME 1:23.4 ...".
const char* shoutedName(Difficulty difficulty) {
    constexpr const char* kNames[] = {"EASY", "NORMAL", "HARD"};
    return kNames[static_cast<int>(difficulty)];
}

TimeLine formatTimeLine(TextBuffer& buffer, const HudReadout& r) {
    TextBuffer prefix;
    TextBuffer time;
    TextBuffer best;
    std::snprintf(prefix.data(), prefix.size(), "%s  TIME ", shoutedName(r.difficulty));
    const std::string_view timeText = formatTime(time, prefix.data(), r.matchSeconds);
    std::string_view bestText = kNoBestYet;
    if (r.newBest)
        bestText = kNewBest;
    else if (r.bestSeconds)
        bestText = formatTime(best, "BEST ", *r.bestSeconds);
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.*s   %.*s",
                                     static_cast<int>(timeText.size()), timeText.data(),
                                     static_cast<int>(bestText.size()), bestText.data());
    return {written(buffer, length), timeText.size() + 3};
}

// "SHOTS 120   HITS 95   ACCURACY 79%", with the dash before the first shot.
std::string_view formatShootingLine(TextBuffer& buffer, const HudReadout& r) {
    TextBuffer accuracy;
    const std::string_view accuracyText =
        r.accuracyPercent
            ? written(accuracy, std::snprintf(accuracy.data(), accuracy.size(), "%d%%", *r.accuracyPercent))
            : kNoShotYet;
    return written(buffer, std::snprintf(buffer.data(), buffer.size(),
                                         "SHOTS %d   HITS %d   ACCURACY %.*s", r.shots, r.hits,
                                         static_cast<int>(accuracyText.size()), accuracyText.data()));
}

// Two centred lines on a framed backdrop under the end picture, both at the size at
// which the longer fits.
void layOutResults(GlyphQuads& quads, const HudReadout& r, float width, float height, float frame) {
    const PixelRect box = pixelsOf(kResultsBox, width, height);
    quads.addRect(box, kBackdropColor);
    addFrame(quads, box, frame, r.outcome == MatchOutcome::Won ? kWonColor : kLostColor);

    TextBuffer first;
    TextBuffer second;
    const TimeLine timeLine = formatTimeLine(first, r);
    const std::string_view shootingLine = formatShootingLine(second, r);
    const float textWidth = box.width * kResultsWidthShare;
    const float cell =
        fittedCell(textWidth, box.height * kResultsCellShare,
                   std::max(widthPerCell(timeLine.text), widthPerCell(shootingLine)));

    const PixelRect upperHalf{box.left, box.top, box.width, box.height * 0.5f};
    const PixelRect lowerHalf{box.left, box.top + box.height * 0.5f, box.width, box.height * 0.5f};
    const float left = upperHalf.left + (upperHalf.width - GlyphQuads::width(timeLine.text, cell)) * 0.5f;
    const float top = upperHalf.top + (upperHalf.height - cell) * 0.5f;
    const float pen = quads.addText(timeLine.text.substr(0, timeLine.bestStart), left, top, cell, kTextColor);
    quads.addText(timeLine.text.substr(timeLine.bestStart), pen, top, cell,
                  r.newBest ? kNewBestColor : kTextColor);
    addCentred(quads, shootingLine, lowerHalf, cell, kTextColor);
}

}  // namespace

HudReadout readMatch(const Game& game, const MatchStats& stats) {
    HudReadout r;
    const Player& player = *game.player;
    const Enemy& boss = *game.boss;
    r.hull = std::max(0, player.getHealth());
    r.hullMax = player.getMaxHealth();
    r.rounds = std::max(0, player.getAmmo());
    r.roundsMax = player.getMaxAmmo();
    r.reloading = player.getAmmo() < 1;
    r.boss = std::max(0, boss.getHealth());
    r.bossMax = boss.getMaxHealth();
    r.shieldUp = boss.shieldObject && boss.shieldObject->getRigidBody()->isInWorld();
    r.matchSeconds = stats.seconds();
    r.outcome = stats.outcome();
    r.shots = stats.shotsFired();
    r.hits = stats.hits();
    r.accuracyPercent = stats.accuracyPercent();
    r.difficulty = game.difficulty();
    return r;
}

void layOutHudText(const HudReadout& r, float width, float height, GlyphQuads& quads) {
    quads.clear();
    const float frame = frameThickness(width, height);
    if (r.barsShown) {
        layOutBars(quads, r, width, height, frame);
        layOutClock(quads, r, width, height);
    }
    if (r.paused) layOutBanner(quads, kPauseText, kPauseBox, width, height);
    if (r.replay) layOutBanner(quads, kReplayText, kReplayBox, width, height);
    if (r.resultsShown && r.outcome != MatchOutcome::Undecided)
        layOutResults(quads, r, width, height, frame);
}
