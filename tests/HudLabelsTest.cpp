#include "hud/HudLabels.h"

#include "game/HudLayout.h"
#include "render/GlyphGrid.h"
#include "render/GlyphQuads.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

PixelRect pixelsOf(const HudLayout& layout, float width, float height) {
    return {layout.x * width, layout.y * height, layout.w * width, layout.h * height};
}

struct Bar {
    const char* name;
    const HudLayout& layout;
};
const Bar kBars[] = {{"boss", kBossHealthBar}, {"hull", kPlayerHealthBar}, {"ammo", kAmmoBar}};

bool isGlyph(const GlyphQuads& quads, std::size_t i) {
    return quads.quadSlot(i) != glyph_grid::kSolidSlot;
}

bool centreIn(const PixelRect& area, const PixelRect& quad) {
    const float x = quad.left + quad.width * 0.5f;
    const float y = quad.top + quad.height * 0.5f;
    return x >= area.left && x < area.right() && y >= area.top && y < area.bottom();
}

// The glyphs centred in `area`, line by line from the top and left to right, as text;
// spaces leave no glyph, so "15 / 15" reads "15/15". The em dash reads as '-'.
std::string textIn(const GlyphQuads& quads, const PixelRect& area) {
    std::vector<PixelRect> rects;
    std::vector<char> characters;
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < quads.quadCount(); ++i) {
        if (!isGlyph(quads, i) || !centreIn(area, quads.quadRect(i))) continue;
        const char32_t c = glyph_grid::characterOf(quads.quadSlot(i));
        characters.push_back(c == glyph_grid::kEmDash ? '-' : static_cast<char>(c));
        rects.push_back(quads.quadRect(i));
        order.push_back(order.size());
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (std::fabs(rects[a].top - rects[b].top) > 0.5f) return rects[a].top < rects[b].top;
        return rects[a].left < rects[b].left;
    });
    std::string text;
    for (std::size_t i : order) text.push_back(characters[i]);
    return text;
}

std::string textInBar(const GlyphQuads& quads, const HudLayout& bar, float width, float height) {
    return textIn(quads, pixelsOf(bar, width, height));
}

HudReadout fullMatch() {
    HudReadout r;
    r.hull = r.hullMax = 25;
    r.rounds = r.roundsMax = 15;
    r.boss = r.bossMax = 150;
    return r;
}

}  // namespace

TEST(HudLabels, NumbersFollowHealthAndAmmo) {
    HeadlessGame h;
    GlyphQuads quads;
    const auto layOut = [&] { layOutHudText(readMatch(h.game, MatchStats()), 800.0f, 800.0f, quads); };
    const auto expectBars = [&](const char* hull, const char* ammo, const char* boss) {
        layOut();
        EXPECT_EQ(textInBar(quads, kPlayerHealthBar, 800.0f, 800.0f), hull);
        EXPECT_EQ(textInBar(quads, kAmmoBar, 800.0f, 800.0f), ammo);
        EXPECT_EQ(textInBar(quads, kBossHealthBar, 800.0f, 800.0f), boss);
    };
    expectBars("HULL25", "AMMO15/15", "BOSS150");

    h.player().addHealth(-7);
    h.boss().addHealth(-31);
    for (int shot = 0; shot < 2; ++shot) {
        h.buttons->mouseLeft = true;
        h.game.updatePlayerWeapons();
    }
    expectBars("HULL18", "AMMO13/15", "BOSS119");

    // The last round leaves the magazine reloading; the shield shows while it is up.
    while (h.player().getAmmo() > 0) {
        h.buttons->mouseLeft = true;
        h.game.updatePlayerWeapons();
    }
    h.game.addToWorld(h.shield());
    expectBars("HULL18", "AMMORELOAD", "BOSSSHIELD119");

    // Health below zero shows as none.
    h.player().addHealth(-30);
    h.time += 5.0f;  // the magazine is full again
    h.game.updatePlayerWeapons();
    expectBars("HULL0", "AMMO15/15", "BOSSSHIELD119");
}

// Every glyph lies wholly inside the bar it belongs to, whatever the window's shape, and
// the whole text is there: none pushed past an end, none lost off the bar.
TEST(HudLabels, LabelsStayInsideTheirBarsAtEveryWindowSize) {
    struct Size {
        float width;
        float height;
    };
    HudReadout busiest = fullMatch();
    busiest.reloading = true;
    busiest.rounds = 0;
    busiest.shieldUp = true;
    busiest.matchSeconds = 3599.9f;
    struct State {
        HudReadout readout;
        const char* boss;
        const char* hull;
        const char* ammo;
    };
    const State states[] = {{fullMatch(), "BOSS150", "HULL25", "AMMO15/15"},
                            {busiest, "BOSSSHIELD150", "HULL25", "AMMORELOAD"}};
    GlyphQuads quads;
    for (const Size size : {Size{800, 800}, Size{1280, 720}, Size{1920, 1080}, Size{320, 240},
                            Size{400, 1000}, Size{1600, 300}, Size{64, 64}}) {
        for (const State& state : states) {
            layOutHudText(state.readout, size.width, size.height, quads);
            const std::string where = std::to_string(static_cast<int>(size.width)) + "x" +
                                      std::to_string(static_cast<int>(size.height));
            EXPECT_EQ(textInBar(quads, kBossHealthBar, size.width, size.height), state.boss) << where;
            EXPECT_EQ(textInBar(quads, kPlayerHealthBar, size.width, size.height), state.hull) << where;
            EXPECT_EQ(textInBar(quads, kAmmoBar, size.width, size.height), state.ammo) << where;
            for (std::size_t i = 0; i < quads.quadCount(); ++i) {
                if (!isGlyph(quads, i)) continue;
                const PixelRect glyph = quads.quadRect(i);
                for (const Bar& bar : kBars) {
                    const PixelRect area = pixelsOf(bar.layout, size.width, size.height);
                    if (!centreIn(area, glyph)) continue;
                    EXPECT_TRUE(area.contains(glyph))
                        << where << ": a glyph of the " << bar.name << " bar at x " << glyph.left
                        << ".." << glyph.right() << ", y " << glyph.top << ".." << glyph.bottom()
                        << " leaves it";
                }
            }
        }
    }
}

TEST(HudLabels, ThePauseLabelShowsOnlyWhilePausedAndEvenWithTheBarsHidden) {
    const PixelRect window{0.0f, 0.0f, 1280.0f, 720.0f};
    GlyphQuads quads;
    HudReadout readout = fullMatch();
    layOutHudText(readout, 1280.0f, 720.0f, quads);
    EXPECT_EQ(textIn(quads, window).find("PAUSED"), std::string::npos);

    readout.paused = true;
    readout.barsShown = false;
    layOutHudText(readout, 1280.0f, 720.0f, quads);
    EXPECT_EQ(textIn(quads, window), "PAUSED-freecamera(Ptoresume)");
}

// Under the end picture: the match's time with the best beside it, then the shooting.
TEST(HudLabels, ResultsShowTimeBestShotsHitsAndAccuracyOnceTheMatchIsDecided) {
    struct Case {
        MatchOutcome outcome;
        std::optional<float> best;
        bool newBest;
        std::optional<int> accuracy;
        Difficulty difficulty;  ///< named first on the time's line
        const char* text;
    };
    const PixelRect window{0.0f, 0.0f, 800.0f, 800.0f};
    GlyphQuads quads;
    for (const Case& c : {
             Case{MatchOutcome::Undecided, std::nullopt, false, 50, Difficulty::Normal, ""},
             Case{MatchOutcome::Won, 83.45f, true, 79, Difficulty::Easy,
                  "EASYTIME1:23.4NEWBESTSHOTS120HITS95ACCURACY79%"},
             Case{MatchOutcome::Won, 61.0f, false, 79, Difficulty::Hard,
                  "HARDTIME1:23.4BEST1:01.0SHOTS120HITS95ACCURACY79%"},
             Case{MatchOutcome::Lost, std::nullopt, false, std::nullopt, Difficulty::Normal,
                  "NORMALTIME1:23.4BEST-SHOTS120HITS95ACCURACY-"},
         }) {
        HudReadout readout = fullMatch();
        readout.barsShown = false;  // so that the clock leaves the results alone on screen
        readout.outcome = c.outcome;
        readout.matchSeconds = 83.45f;
        readout.bestSeconds = c.best;
        readout.newBest = c.newBest;
        readout.difficulty = c.difficulty;
        readout.shots = 120;
        readout.hits = 95;
        readout.accuracyPercent = c.accuracy;
        layOutHudText(readout, 800.0f, 800.0f, quads);
        EXPECT_EQ(textIn(quads, window), c.text);
    }
}
