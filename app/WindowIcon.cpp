#include "app/WindowIcon.h"

#include "framework/AssetPaths.h"

#include <GLFW/glfw3.h>
#include <stb_image.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kIconFiles[] = {"qex-64.png", "qex-256.png"};

using Pixels = std::unique_ptr<stbi_uc, void (*)(void*)>;

}  // namespace

void setWindowIcon(GLFWwindow* window) {
    std::vector<Pixels> decoded;
    std::vector<GLFWimage> images;
    // GLFW wants the top row first, as the file stores it; the texture loader flips.
    stbi_set_flip_vertically_on_load(0);
    for (const char* file : kIconFiles) {
        const std::string path = kIconDirectory + file;
        GLFWimage image{};
        Pixels pixels(stbi_load(path.c_str(), &image.width, &image.height, nullptr, 4),
                      stbi_image_free);
        if (!pixels) {
            std::cout << "Failed to load window icon " << path << std::endl;
            continue;
        }
        image.pixels = pixels.get();
        images.push_back(image);
        decoded.push_back(std::move(pixels));
    }
    if (!images.empty()) glfwSetWindowIcon(window, static_cast<int>(images.size()), images.data());
}
