#include "tools/preview/SheetCanvas.h"

#include <stb_image_write.h>

#include <cstdint>
#include <iostream>
#include <vector>

SheetCanvas::SheetCanvas(int targetWidth, int targetHeight) : width(targetWidth), height(targetHeight) {
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

SheetCanvas::~SheetCanvas() {
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colour);
    glDeleteRenderbuffers(1, &depth);
}

void SheetCanvas::bind() const {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
}

void SheetCanvas::bindCell(int column, int row, int columns, int rows) const {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    const int cellWidth = width / columns;
    const int cellHeight = height / rows;
    glViewport(column * cellWidth, height - (row + 1) * cellHeight, cellWidth, cellHeight);
}

bool SheetCanvas::save(const std::string& path) const {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    stbi_flip_vertically_on_write(1);  // GL's first row is the bottom one
    if (stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4)) return true;
    std::cout << "Cannot write " << path << std::endl;
    return false;
}
