#pragma once

#include <GL/glew.h>

#include <string>

/// An RGBA8 colour target with depth and stencil that the contact sheet draws into and
/// saves as PNG. Needs a current GL context; owns its GL objects.
class SheetCanvas {
public:
    SheetCanvas(int width, int height);
    ~SheetCanvas();
    SheetCanvas(const SheetCanvas&) = delete;
    SheetCanvas& operator=(const SheetCanvas&) = delete;

    /// Binds it and sets the viewport to the whole target.
    void bind() const;
    /// Sets the viewport to one cell of a `columns` x `rows` grid, row 0 at the top.
    void bindCell(int column, int row, int columns, int rows) const;
    /// Reads the pixels back (top row first) and writes the PNG; prints a line on failure.
    bool save(const std::string& path) const;

    int width;
    int height;
    GLuint framebuffer = 0;

private:
    GLuint colour = 0;
    GLuint depth = 0;
};
