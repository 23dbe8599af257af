// The contact sheet: renders every model and picture of assets/ to PNG files, with the
// game's own shaders and drawing code, so that the content can be looked at without
// playing. Run it from the build folder (it reads assets/) under a display, e.g. Xvfb:
//     ./tools/qex_contact_sheet contact-sheet

#include "tools/preview/ModelSheet.h"
#include "tools/preview/SheetCanvas.h"
#include "tools/preview/PreviewScene.h"
#include "tools/preview/TextureSheet.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <filesystem>
#include <iostream>
#include <string>

namespace {

constexpr int kGameWidth = 1280;
constexpr int kGameHeight = 720;

GLFWwindow* openHiddenContext() {
    if (!glfwInit()) return nullptr;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "qex contact sheet", nullptr, nullptr);
    if (!window) return nullptr;
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    return glewInit() == GLEW_OK ? window : nullptr;
}

glm::mat4 at(float x, float y, float z) { return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z)); }

bool saveGamePictures(PreviewScene& scene, const std::filesystem::path& out) {
    SheetCanvas target(kGameWidth, kGameHeight);
    // The missile's nose is its local +y; the game launches it turned a quarter about x.
    const glm::mat4 missileTowardPlayer = glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(1, 0, 0));
    const std::vector<Placement> volley = {{&scene.playerShot, at(0.0f, 0.0f, -6.0f)},
                                           {&scene.playerShot, at(0.4f, 0.1f, -13.0f)},
                                           {&scene.bossShot, at(-3.0f, 1.6f, -17.0f)},
                                           {&scene.bossShot, at(3.5f, 2.0f, -21.0f)},
                                           {&scene.missile, at(5.0f, 3.0f, -23.0f) * missileTowardPlayer}};
    const struct {
        const char* file;
        Moment moment;
    } pictures[] = {
        {"game_start.png", {0.0f, 0.6f, volley, false, false}},
        {"game_heavy_shot.png", {-1500.0f, 1.4f, {{&scene.heavyShot, at(0.0f, 0.0f, -12.0f)}}, false, false}},
        {"game_tile_seam.png", {-3890.0f, 2.2f, {}, false, false}},
        {"game_smoke.png", {-600.0f, 0.3f, {}, true, false, false}},
        {"game_win.png", {-600.0f, 0.3f, {}, true, false}},
        {"game_lose.png", {-900.0f, 0.3f, {}, false, true}},
    };
    bool saved = true;
    for (const auto& picture : pictures) {
        scene.drawGameFrame(picture.moment, target);
        saved = target.save((out / picture.file).string()) && saved;
    }
    return saved;
}

bool saveModelSheets(PreviewScene& scene, const std::filesystem::path& out) {
    const ModelLook looks[] = {
        {&scene.craft, "craft", 4.3f, 2.5f},     {&scene.boss, "boss", 14.0f, 3.0f},
        {&scene.shield, "shield", 16.0f, 0.0f},  {&scene.missile, "missile", 5.5f, 0.0f},
        {&scene.bossShot, "boss_shot", 3.5f, 0.0f}, {&scene.playerShot, "player_shot", 2.0f, 0.0f},
        {&scene.heavyShot, "heavy_shot", 16.0f, 0.0f},
    };
    bool saved = true;
    for (const ModelLook& look : looks) saved = saveModelSheet(scene, look, (out / ("model_" + look.name + ".png")).string()) && saved;
    return saved;
}

const char* const kTextures[] = {"mars_texture.jpg", "rocky.jpg", "sky.jpg", "shield.jpg", "playerBullet.jpg",
                                 "enemyBullet.jpg", "missile.jpg", "YouWin01.png", "YouLose01.png",
                                 "Heavy_Rounds_modded.png", "wood_texture.dds", "tiles_diffuse.dds", "smokecloud.dds"};

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path out = argc > 1 ? argv[1] : "contact-sheet";
    std::filesystem::create_directories(out);
    GLFWwindow* window = openHiddenContext();
    if (!window) {
        std::cout << "No OpenGL 4.3 context: run under a display (e.g. Xvfb)" << std::endl;
        return 1;
    }
    bool saved = true;
    {
        PreviewScene scene(kGameWidth, kGameHeight);
        saved = saveGamePictures(scene, out) && saved;
        saved = saveModelSheets(scene, out) && saved;
        std::vector<std::string> textures;
        for (const char* file : kTextures) textures.push_back(std::string("assets/textures/") + file);
        saved = saveTextureSheet(textures, (out / "textures.png").string()) && saved;
    }
    glfwDestroyWindow(window);
    glfwTerminate();
    return saved ? 0 : 1;
}
