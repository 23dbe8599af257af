// The content generator: writes every model, picture and the music of the game into the
// asset folder given on the command line (the build passes <build>/assets). Everything is
// made from code with fixed seeds, so every run writes the same bytes.

#include "tools/content/BossModel.h"
#include "tools/content/CraftModel.h"
#include "tools/content/DdsWriter.h"
#include "tools/content/EffectTextures.h"
#include "tools/content/FontAtlas.h"
#include "tools/content/HudPictures.h"
#include "tools/content/Landscape.h"
#include "tools/content/ProjectileModels.h"
#include "tools/content/SkyPicture.h"
#include "tools/content/TerrainTextures.h"
#include "tools/content/TextPainter.h"
#include "tools/content/music/Mp3Encoder.h"
#include "tools/content/music/Song.h"

#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

namespace {

constexpr int kJpegQuality = 92;

struct Output {
    const char* file;  // relative to the asset folder
    std::function<bool(const std::string& path)> make;
};

bool writeModel(const GeneratedModel& model, const std::string& path) {
    return ColladaWriter::write(model.collada(), path);
}

const TextPainter& hudFont() {
    static const TextPainter font(kHudFontPath);
    return font;
}

const TextPainter& hudMonoFont() {
    static const TextPainter font(kHudMonoFontPath);
    return font;
}

const Output kOutputs[] = {
    {"models/FlagAnimationsFINAL_mk2.dae", [](const std::string& p) { return writeModel(buildCraft(), p); }},
    {"models/BossAnimation.dae", [](const std::string& p) { return writeModel(buildBoss(), p); }},
    {"models/BossShield.dae", [](const std::string& p) { return writeModel(buildShield(), p); }},
    {"models/PlayerProjectile.dae", [](const std::string& p) { return writeModel(buildPlasmaShot("playerShot", 0.4f), p); }},
    {"models/test1dae.dae", [](const std::string& p) { return writeModel(buildPlasmaShot("heavyShot", 4.0f), p); }},
    {"models/BossProjectileTest02.dae", [](const std::string& p) { return writeModel(buildBossShot(), p); }},
    {"models/missileTest.dae", [](const std::string& p) { return writeModel(buildMissile(), p); }},
    {"models/Landscape.obj", [](const std::string& p) { return Landscape::write(p); }},

    {"textures/mars_texture.jpg", [](const std::string& p) { return paintMarsGround(512).writeJpeg(p, kJpegQuality); }},
    {"textures/rocky.jpg", [](const std::string& p) { return paintRockyGround(512).writeJpeg(p, kJpegQuality); }},
    {"textures/sky.jpg", [](const std::string& p) { return paintSky(1536, 1152).writeJpeg(p, kJpegQuality); }},
    {"textures/shield.jpg", [](const std::string& p) { return paintShieldLattice(512).writeJpeg(p, kJpegQuality); }},
    {"textures/playerBullet.jpg", [](const std::string& p) { return paintPlasma(256, true).writeJpeg(p, kJpegQuality); }},
    {"textures/enemyBullet.jpg", [](const std::string& p) { return paintPlasma(256, false).writeJpeg(p, kJpegQuality); }},
    {"textures/missile.jpg", [](const std::string& p) { return paintMissileLivery(256).writeJpeg(p, kJpegQuality); }},
    {"textures/YouWin01.png", [](const std::string& p) { return paintEndPanel(hudFont(), true, 1024, 640).writePng(p, true); }},
    {"textures/YouLose01.png", [](const std::string& p) { return paintEndPanel(hudFont(), false, 1024, 640).writePng(p, true); }},
    {"textures/Heavy_Rounds_modded.png", [](const std::string& p) { return paintHeavyRoundsIcon(96, 128).writePng(p, true); }},
    {"textures/hud_font.png", [](const std::string& p) { return paintFontAtlas(hudMonoFont()).writePng(p, true); }},
    {"textures/wood_texture.dds", [](const std::string& p) { return DdsWriter::write(paintWood(256), DdsWriter::Format::Dxt1, p); }},
    {"textures/tiles_diffuse.dds", [](const std::string& p) { return DdsWriter::write(paintTiles(256), DdsWriter::Format::Dxt1, p); }},
    {"textures/smokecloud.dds", [](const std::string& p) { return DdsWriter::write(paintSmokePuff(128), DdsWriter::Format::Dxt5, p); }},

    {"music/NA_AlienManifestation.mp3", [](const std::string& p) { return Mp3Encoder::write(Song::render(), p); }},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cout << "usage: qex_content <asset folder>" << std::endl;
        return 2;
    }
    const std::filesystem::path assets = argv[1];
    bool allWritten = true;
    for (const Output& output : kOutputs) {
        const std::filesystem::path path = assets / output.file;
        std::filesystem::create_directories(path.parent_path());
        allWritten = output.make(path.string()) && allWritten;
    }
    return allWritten ? 0 : 1;
}
