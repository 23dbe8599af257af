// The content generator: writes every model, picture, sound and the music of the game into
// the asset folder given on the command line (the build passes <build>/assets); a second
// argument names one sub-folder (e.g. "sounds") to write alone. Everything is made from
// code with fixed seeds, so every run writes the same bytes.

#include "tools/content/AppIcon.h"
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
#include "tools/content/music/TitleSong.h"
#include "tools/content/sound/EndingSounds.h"
#include "tools/content/sound/ImpactSounds.h"
#include "tools/content/sound/WeaponSounds.h"

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

    {"icons/qex-64.png", [](const std::string& p) { return paintAppIcon(64).writePng(p, true); }},
    {"icons/qex-256.png", [](const std::string& p) { return paintAppIcon(256).writePng(p, true); }},

    {"music/NA_AlienManifestation.mp3", [](const std::string& p) { return Mp3Encoder::write(Song::render(), p); }},
    {"music/title.mp3", [](const std::string& p) { return Mp3Encoder::write(TitleSong::render(), p); }},

    {"sounds/shot_primary.wav", [](const std::string& p) { return primaryShotSound().writeWav(p); }},
    {"sounds/shot_heavy.wav", [](const std::string& p) { return heavyShotSound().writeWav(p); }},
    {"sounds/boss_shot.wav", [](const std::string& p) { return bossShotSound().writeWav(p); }},
    {"sounds/missile_launch.wav", [](const std::string& p) { return missileLaunchSound().writeWav(p); }},
    {"sounds/missile_warning.wav", [](const std::string& p) { return missileWarningSound().writeWav(p); }},
    {"sounds/boss_hit.wav", [](const std::string& p) { return bossHitSound().writeWav(p); }},
    {"sounds/shield_hit.wav", [](const std::string& p) { return shieldHitSound().writeWav(p); }},
    {"sounds/craft_hit.wav", [](const std::string& p) { return craftHitSound().writeWav(p); }},
    {"sounds/reload.wav", [](const std::string& p) { return reloadSound().writeWav(p); }},
    {"sounds/magazine_empty.wav", [](const std::string& p) { return emptyMagazineSound().writeWav(p); }},
    {"sounds/shield_up.wav", [](const std::string& p) { return shieldUpSound().writeWav(p); }},
    {"sounds/shield_down.wav", [](const std::string& p) { return shieldDownSound().writeWav(p); }},
    {"sounds/boss_destroyed.wav", [](const std::string& p) { return bossDestroyedSound().writeWav(p); }},
    {"sounds/craft_destroyed.wav", [](const std::string& p) { return craftDestroyedSound().writeWav(p); }},
    {"sounds/win.wav", [](const std::string& p) { return winStingerSound().writeWav(p); }},
    {"sounds/lose.wav", [](const std::string& p) { return loseStingerSound().writeWav(p); }},
};

// Everything, or only what lies in `folder`.
bool isWanted(const Output& output, const std::string& folder) {
    return folder.empty() || std::string(output.file).rfind(folder + "/", 0) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cout << "usage: qex_content <asset folder> [sub-folder]" << std::endl;
        return 2;
    }
    const std::filesystem::path assets = argv[1];
    const std::string folder = argc == 3 ? argv[2] : "";
    bool allWritten = true;
    int written = 0;
    for (const Output& output : kOutputs) {
        if (!isWanted(output, folder)) continue;
        const std::filesystem::path path = assets / output.file;
        std::filesystem::create_directories(path.parent_path());
        allWritten = output.make(path.string()) && allWritten;
        ++written;
    }
    if (written == 0) {
        std::cout << "Nothing is generated into " << folder << "/" << std::endl;
        return 2;
    }
    return allWritten ? 0 : 1;
}
