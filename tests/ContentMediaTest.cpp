// The generated pictures, DDS textures and music under <build>/assets, decoded the way the
// game decodes them (stb_image, the framework's DDS reader) or, for the music, by mpg123.

#include "effects/SmokeTarget.h"
#include "framework/DdsImage.h"
#include "render/GlyphGrid.h"
#include "support/TempFiles.h"

#include <glm/glm.hpp>
#include <gtest/gtest.h>
#include <mpg123.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string assetPath(const std::string& relative) { return std::string(QEX_BUILD_DIR) + "/assets/" + relative; }

struct Decoded {
    int width = 0;
    int height = 0;
    int channels = 0;  ///< as stored in the file
    std::vector<std::uint8_t> rgba;
    const std::uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Decoded decode(const std::string& file) {
    Decoded image;
    stbi_set_flip_vertically_on_load(0);
    stbi_uc* pixels = stbi_load(assetPath("textures/" + file).c_str(), &image.width, &image.height, &image.channels, 4);
    if (pixels) {
        image.rgba.assign(pixels, pixels + static_cast<size_t>(image.width) * image.height * 4);
        stbi_image_free(pixels);
    }
    return image;
}

// Mean difference between two columns of an image, over all rows and colour channels.
double columnDifference(const Decoded& image, int a, int b) {
    double sum = 0.0;
    for (int y = 0; y < image.height; ++y)
        for (int c = 0; c < 3; ++c) sum += std::abs(image.at(a, y)[c] - image.at(b, y)[c]);
    return sum / (image.height * 3.0);
}

double rowDifference(const Decoded& image, int a, int b) {
    double sum = 0.0;
    for (int x = 0; x < image.width; ++x)
        for (int c = 0; c < 3; ++c) sum += std::abs(image.at(x, a)[c] - image.at(x, b)[c]);
    return sum / (image.width * 3.0);
}

}  // namespace

TEST(ContentImages, PhotosAreThreeChannelJpegsAndOverlaysFourChannelPngs) {
    for (const char* file : {"mars_texture.jpg", "rocky.jpg", "sky.jpg", "shield.jpg", "enemyBullet.jpg",
                             "playerBullet.jpg", "missile.jpg"}) {
        const Decoded image = decode(file);
        EXPECT_EQ(image.channels, 3) << file;
        EXPECT_GE(std::min(image.width, image.height), 128) << file;
    }
    for (const char* file : {"YouWin01.png", "YouLose01.png", "Heavy_Rounds_modded.png"}) {
        const Decoded image = decode(file);
        EXPECT_EQ(image.channels, 4) << file;
        EXPECT_GE(std::min(image.width, image.height), 96) << file;
    }
}

// Terrain, shots and the shield lattice use texture coordinates far beyond 0..1.
TEST(ContentImages, RepeatingTexturesJoinWithoutSeams) {
    for (const char* file : {"mars_texture.jpg", "rocky.jpg", "shield.jpg", "playerBullet.jpg", "enemyBullet.jpg"}) {
        SCOPED_TRACE(file);
        const Decoded image = decode(file);
        ASSERT_FALSE(image.rgba.empty());
        // Across the wrap the picture changes no more than between neighbouring columns.
        const double neighbours = columnDifference(image, image.width / 2, image.width / 2 + 1);
        EXPECT_LT(columnDifference(image, image.width - 1, 0), 2.5 * neighbours + 2.0);
        const double rowNeighbours = rowDifference(image, image.height / 2, image.height / 2 + 1);
        EXPECT_LT(rowDifference(image, image.height - 1, 0), 2.5 * rowNeighbours + 2.0);
    }
}

// The model shader cuts the shield's near-black texels away, so that the boss shows.
TEST(ContentImages, ShieldLatticeIsMostlyHoles) {
    const Decoded image = decode("shield.jpg");
    ASSERT_FALSE(image.rgba.empty());
    size_t holes = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (*std::max_element(image.at(x, y), image.at(x, y) + 3) < 0.09 * 255) ++holes;
    const double share = static_cast<double>(holes) / (image.width * image.height);
    EXPECT_GT(share, 0.4);
    EXPECT_LT(share, 0.9);
}

// The end pictures are drawn with blending off: every pixel must be a finished colour,
// not a transparent one whose colour was never meant to be seen.
TEST(ContentImages, EndPicturesAreOpaquePanels) {
    for (const char* file : {"YouWin01.png", "YouLose01.png"}) {
        const Decoded image = decode(file);
        ASSERT_FALSE(image.rgba.empty()) << file;
        std::uint8_t lowestAlpha = 255;
        for (size_t i = 3; i < image.rgba.size(); i += 4) lowestAlpha = std::min(lowestAlpha, image.rgba[i]);
        EXPECT_GE(lowestAlpha, 200) << file;
    }
}

TEST(ContentImages, WinAndLosePicturesDiffer) {
    const Decoded win = decode("YouWin01.png");
    const Decoded lose = decode("YouLose01.png");
    ASSERT_EQ(win.rgba.size(), lose.rgba.size());
    size_t different = 0;
    for (size_t i = 0; i < win.rgba.size(); i += 4) different += win.rgba[i] != lose.rgba[i];
    EXPECT_GT(different, win.rgba.size() / 8);
}

// The icon is drawn with blending and mipmaps: its clear background must not carry a
// bright colour that would bleed a halo into the edges.
TEST(ContentImages, AmmunitionIconHasAClearBackgroundWithoutHalo) {
    const Decoded icon = decode("Heavy_Rounds_modded.png");
    ASSERT_FALSE(icon.rgba.empty());
    size_t clear = 0;
    size_t solid = 0;
    for (size_t i = 0; i < icon.rgba.size(); i += 4) {
        if (icon.rgba[i + 3] == 0) {
            ++clear;
            EXPECT_LT(*std::max_element(&icon.rgba[i], &icon.rgba[i] + 3), 60);
        }
        solid += icon.rgba[i + 3] == 255;
    }
    EXPECT_GT(clear, icon.rgba.size() / 40);
    EXPECT_GT(solid, icon.rgba.size() / 16);
}

// The HUD's text samples the atlas cell by cell, filtered and mipmapped: each glyph must
// sit in its own cell, with a clear rim between it and its neighbours.
TEST(ContentImages, FontAtlasHasEveryGlyphInACellOfItsOwn) {
    using namespace glyph_grid;
    const Decoded atlas = decode("hud_font.png");
    ASSERT_EQ(atlas.width, kAtlasWidth);
    ASSERT_EQ(atlas.height, kAtlasHeight);
    for (int slot = 0; slot < kColumns * kRows; ++slot) {
        const int left = slot % kColumns * kCellWidth;
        const int top = slot / kColumns * kCellHeight;
        int inked = 0;
        int rimInked = 0;
        for (int y = top; y < top + kCellHeight; ++y)
            for (int x = left; x < left + kCellWidth; ++x) {
                const bool rim = x == left || y == top || x == left + kCellWidth - 1 ||
                                 y == top + kCellHeight - 1;
                inked += atlas.at(x, y)[3] > 128;
                rimInked += rim && atlas.at(x, y)[3] > 0;
            }
        const char32_t character = characterOf(slot);
        if (slot == kSolidSlot) {
            EXPECT_EQ(inked, kCellWidth * kCellHeight) << "the solid cell";
        } else if (character == 0 || character == U' ') {
            EXPECT_EQ(inked, 0) << "slot " << slot;
        } else {
            EXPECT_GT(inked, 8) << "slot " << slot << " is blank";
            EXPECT_EQ(rimInked, 0) << "slot " << slot << " reaches the edge of its cell";
        }
    }
}

TEST(ContentDds, MaterialTexturesAreDxt1AndTheSmokeIsDxt5) {
    const struct {
        const char* file;
        GLenum format;
        std::uint32_t bytesPerBlock;
    } expected[] = {{"wood_texture.dds", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 8},
                    {"tiles_diffuse.dds", GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 8},
                    {"smokecloud.dds", GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 16}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.file);
        const DdsImage image = loadDds(assetPath(std::string("textures/") + e.file));
        ASSERT_NE(image.data, nullptr);
        EXPECT_EQ(image.format, e.format);
        EXPECT_GE(image.width, 64);
        EXPECT_EQ(image.width % 4, 0);
        EXPECT_EQ(image.height % 4, 0);
        EXPECT_EQ(image.size, e.bytesPerBlock * static_cast<std::uint32_t>(image.width / 4 * (image.height / 4)));
    }
}

// Header fields where the game's reader looks: height at 12, width at 16, linear size
// (the top level's payload) at 20, FourCC at 84, payload from 128.
TEST(ContentDds, HeaderFieldsSitWhereTheReaderLooks) {
    std::ifstream in(assetPath("textures/smokecloud.dds"), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GE(bytes.size(), 128u);
    const auto word = [&](size_t at) {
        return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "DDS ");
    EXPECT_EQ(word(4), 124u);
    EXPECT_EQ(std::string(bytes.begin() + 84, bytes.begin() + 88), "DXT5");
    const std::uint32_t height = word(12);
    const std::uint32_t width = word(16);
    EXPECT_EQ(word(20), (width / 4) * (height / 4) * 16);
    EXPECT_EQ(bytes.size(), 128u + word(20));
}

// A sprite turns the puff's picture within its square, so what it leaves out, at any turn,
// lies beyond the circle of kWholeShare of the half side: no DXT5 alpha block wholly out
// there reaches a sixteenth opaque (a0 when a0 > a1, else a1, or 255 with any code 7). The
// middle is nearly opaque.
TEST(ContentDds, SmokePuffIsAllButClearBeyondWhatIsDrawnOfIt) {
    const DdsImage smoke = loadDds(assetPath("textures/smokecloud.dds"));
    ASSERT_NE(smoke.data, nullptr);
    const int blocks = smoke.width / 4;
    const float middle = static_cast<float>(blocks) / 2.0f;
    const auto alphaOf = [&](int bx, int by) { return smoke.data.get() + (static_cast<size_t>(by) * blocks + bx) * 16; };
    for (int by = 0; by < blocks; ++by)
        for (int bx = 0; bx < blocks; ++bx) {
            const glm::vec2 nearest = glm::clamp(glm::vec2(middle), glm::vec2(bx, by), glm::vec2(bx + 1, by + 1));
            if (glm::length(nearest - middle) <= SmokeTarget::kWholeShare * middle) continue;
            const std::uint8_t* alpha = alphaOf(bx, by);
            std::uint64_t codes = 0;
            for (int i = 7; i >= 2; --i) codes = codes << 8 | alpha[i];
            bool anyCode7 = false;
            for (int texel = 0; texel < 16; ++texel) anyCode7 = anyCode7 || (codes >> (3 * texel) & 7) == 7;
            EXPECT_LE(alpha[0] > alpha[1] ? alpha[0] : (anyCode7 ? 255 : alpha[1]), 16) << bx << ", " << by;
        }
    EXPECT_GE(std::max(alphaOf(blocks / 2, blocks / 2)[0], alphaOf(blocks / 2, blocks / 2)[1]), 150);
}

namespace {

struct Track {
    long rate = 0;
    int channels = 0;
    std::vector<float> samples;  ///< interleaved, -1..1
    double seconds() const { return channels ? static_cast<double>(samples.size()) / channels / rate : 0.0; }
};

struct Mpg123Handle {
    void operator()(mpg123_handle* h) const {
        mpg123_close(h);
        mpg123_delete(h);
    }
};

Track decodeMusic(const std::string& path) {
    Track track;
    mpg123_init();
    int error = MPG123_OK;
    std::unique_ptr<mpg123_handle, Mpg123Handle> decoder(mpg123_new(nullptr, &error));
    if (!decoder) return track;
    mpg123_param(decoder.get(), MPG123_ADD_FLAGS, MPG123_GAPLESS, 0.0);
    mpg123_format_none(decoder.get());
    mpg123_format(decoder.get(), 44100, MPG123_STEREO | MPG123_MONO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(decoder.get(), path.c_str()) != MPG123_OK) return track;
    int encoding = 0;
    mpg123_getformat(decoder.get(), &track.rate, &track.channels, &encoding);
    std::vector<unsigned char> buffer(65536);
    size_t done = 0;
    int status = MPG123_OK;
    while ((status = mpg123_read(decoder.get(), buffer.data(), buffer.size(), &done)) == MPG123_OK ||
           status == MPG123_NEW_FORMAT || done > 0) {
        const auto* pcm = reinterpret_cast<const std::int16_t*>(buffer.data());
        for (size_t i = 0; i < done / 2; ++i) track.samples.push_back(static_cast<float>(pcm[i]) / 32768.0f);
        if (status == MPG123_DONE) break;
    }
    return track;
}

enum Piece { kFight, kTitle };
const char* const kMusicFiles[] = {"music/NA_AlienManifestation.mp3", "music/title.mp3"};

const Track& music(Piece piece) {
    static const Track tracks[] = {decodeMusic(assetPath(kMusicFiles[kFight])),
                                   decodeMusic(assetPath(kMusicFiles[kTitle]))};
    return tracks[piece];
}

// How much of the sound lies in the high frequencies: the level of the change from one
// sample to the next against the level of the samples (left channel).
double brightness(const Track& t) {
    double level = 0.0;
    double change = 0.0;
    for (size_t i = 2; i < t.samples.size(); i += 2) {
        level += t.samples[i] * t.samples[i];
        change += (t.samples[i] - t.samples[i - 2]) * (t.samples[i] - t.samples[i - 2]);
    }
    return std::sqrt(change / std::max(level, 1e-9));
}

double rms(const Track& t, double from, double to) {
    const size_t a = static_cast<size_t>(from * t.rate) * t.channels;
    const size_t b = std::min(t.samples.size(), static_cast<size_t>(to * t.rate) * t.channels);
    double sum = 0.0;
    for (size_t i = a; i < b; ++i) sum += t.samples[i] * t.samples[i];
    return b > a ? std::sqrt(sum / static_cast<double>(b - a)) : 0.0;
}

double decibels(double amplitude) { return 20.0 * std::log10(std::max(amplitude, 1e-9)); }

}  // namespace

TEST(ContentMusic, EachPieceIsAStereoTrackOfAMinuteOrMoreAt44100HzThatPlaysThroughout) {
    for (const Piece piece : {kFight, kTitle}) {
        SCOPED_TRACE(kMusicFiles[piece]);
        const Track& track = music(piece);
        EXPECT_EQ(track.rate, 44100);
        EXPECT_EQ(track.channels, 2);
        ASSERT_GE(track.seconds(), 60.0);
        EXPECT_LE(track.seconds(), 300.0);
        EXPECT_GT(decibels(rms(track, 0.0, track.seconds())), -24.0);
        for (double t = 0.0; t + 1.0 <= track.seconds(); t += 1.0)
            EXPECT_GT(decibels(rms(track, t, t + 1.0)), -40.0) << "second " << t;
        // Looped, the end runs into the start: neither may trail off into silence.
        EXPECT_GT(decibels(rms(track, 0.0, 0.05)), -40.0);
        EXPECT_GT(decibels(rms(track, track.seconds() - 0.05, track.seconds())), -40.0);
    }
}

// The title's music is calm: no drums, no hi-hats, dark pads. Measured, the fight's track
// is about three times as bright.
TEST(ContentMusic, TheTitlesPieceIsFarDarkerThanTheFights) {
    EXPECT_LT(brightness(music(kTitle)), 0.5 * brightness(music(kFight)));
}

TEST(ContentMusic, TheGeneratorWritesTheSameBytesAgain) {
    const TempDir fresh;
    const std::string generate = std::string(QEX_CONTENT_BINARY) + " " + fresh.path().string() + " music > /dev/null";
    ASSERT_EQ(std::system(generate.c_str()), 0);
    for (const char* file : kMusicFiles) {
        SCOPED_TRACE(file);
        const auto bytesOf = [](const std::string& path) {
            std::ifstream in(path, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        };
        const std::string bytes = bytesOf((fresh.path() / file).string());
        EXPECT_GT(bytes.size(), 100000u);
        EXPECT_EQ(bytes, bytesOf(assetPath(file)));
    }
}

// Not a test tone: a steady tone's energy is flat; a beat makes it pulse, and at
// 120 beats per minute the pulse repeats every half second.
TEST(ContentMusic, TheFightsPieceHasABeat) {
    const Track& track = music(kFight);
    ASSERT_GT(track.seconds(), 20.0);
    constexpr double kFrame = 0.01;  // seconds
    std::vector<double> energy;
    for (double t = 4.0; t < 20.0; t += kFrame) energy.push_back(rms(track, t, t + kFrame));
    double mean = 0.0;
    for (double e : energy) mean += e / static_cast<double>(energy.size());
    const auto correlation = [&](size_t lag) {
        double sum = 0.0;
        for (size_t i = 0; i + lag < energy.size(); ++i) sum += (energy[i] - mean) * (energy[i + lag] - mean);
        return sum / static_cast<double>(energy.size() - lag);
    };
    const double atBeat = correlation(50);   // 0.5 s
    const double offBeat = correlation(25);  // an eighth note: between the kicks
    EXPECT_GT(atBeat, 0.0);
    EXPECT_GT(atBeat, offBeat);
    // Peaks well above the average level: drums, not a sustained tone (whose peak is ~1.4x).
    float peak = 0.0f;
    for (float s : track.samples) peak = std::max(peak, std::fabs(s));
    EXPECT_GT(peak / rms(track, 0.0, track.seconds()), 2.2);
}

TEST(ContentMusic, ChannelsAreNotIdentical) {
    for (const Piece piece : {kFight, kTitle}) {
        const Track& track = music(piece);
        double difference = 0.0;
        for (size_t i = 0; i + 1 < track.samples.size(); i += 2) difference += std::fabs(track.samples[i] - track.samples[i + 1]);
        EXPECT_GT(difference / static_cast<double>(track.samples.size() / 2), 0.005) << kMusicFiles[piece];
    }
}
