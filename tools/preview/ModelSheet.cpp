#include "tools/preview/ModelSheet.h"

#include <glm/glm.hpp>

#include <array>

namespace {

constexpr int kCell = 360;  // pixels

// Directions from the model toward the camera.
const std::array<glm::vec3, 4> kViews = {glm::vec3(0.0f, 0.45f, 1.0f), glm::vec3(1.0f, 0.15f, 0.0f),
                                         glm::vec3(0.0f, 0.15f, -1.0f), glm::vec3(-0.8f, 0.5f, -0.7f)};

}  // namespace

bool saveModelSheet(PreviewScene& scene, const ModelLook& look, const std::string& path) {
    const bool animated = look.loopSeconds > 0.0f;
    const int rows = animated ? 2 : 1;
    SheetCanvas target(4 * kCell, rows * kCell);
    for (int column = 0; column < 4; ++column) {
        target.bindCell(column, 0, 4, rows);
        const glm::vec3 eye = glm::normalize(kViews[static_cast<size_t>(column)]) * look.distance;
        scene.drawStudioShot(*look.model, glm::mat4(1.0f), eye, glm::vec3(0.0f), 0.0f, 1.0f);
    }
    if (animated)
        for (int column = 0; column < 4; ++column) {
            target.bindCell(column, 1, 4, rows);
            const float seconds = look.loopSeconds * static_cast<float>(column) / 4.0f;
            const glm::vec3 eye = glm::normalize(glm::vec3(0.9f, 0.35f, 1.0f)) * look.distance;
            scene.drawStudioShot(*look.model, glm::mat4(1.0f), eye, glm::vec3(0.0f), seconds, 1.0f);
        }
    return target.save(path);
}
