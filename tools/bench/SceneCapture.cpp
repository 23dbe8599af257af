#include "tools/bench/SceneCapture.h"

#include <GL/glew.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cstdlib>

SceneCapture::SceneCapture(int windowWidth, int windowHeight)
    : picture(static_cast<std::size_t>(windowWidth) * static_cast<std::size_t>(windowHeight) * 3),
      width(windowWidth), height(windowHeight) {}

void SceneCapture::enter(FramePass pass) {
    if (!armed || pass != FramePass::Hud) return;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, picture.data());
    armed = false;
}

double SceneCapture::meanAbsoluteDifference(const std::vector<std::uint8_t>& a,
                                            const std::vector<std::uint8_t>& b) {
    const std::size_t count = std::min(a.size(), b.size());
    if (count == 0) return 0.0;
    double total = 0.0;
    for (std::size_t i = 0; i < count; ++i) total += std::abs(int(a[i]) - int(b[i]));
    return total / static_cast<double>(count);
}

bool SceneCapture::writePng(const char* path) const {
    stbi_flip_vertically_on_write(1);  // GL reads the bottom row first
    return stbi_write_png(path, width, height, 3, picture.data(), width * 3) != 0;
}
