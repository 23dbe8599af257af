#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>

class Shader;
class SparkBursts;

/// Draws the live sparks of a SparkBursts as small glowing points ("spark.vert",
/// "spark.frag"), added onto the scene.
///
/// One buffer sized for the whole pool is made at construction; a draw copies the live
/// sparks into it and issues one point draw, and a frame without sparks costs nothing
/// (no GL call at all). Depth-tested against the scene, without writing depth. Owns its
/// vertex array and buffer; needs a current GL context.
class SparkRenderer {
public:
    explicit SparkRenderer(std::shared_ptr<Shader> program);
    ~SparkRenderer();
    SparkRenderer(const SparkRenderer&) = delete;  // owns GL objects
    SparkRenderer& operator=(const SparkRenderer&) = delete;

    /// Draws through `projection` x `view` into the current target, whose viewport sets
    /// the size of a spark in pixels.
    void draw(const SparkBursts& sparks, const glm::mat4& view, const glm::mat4& projection);

private:
    std::shared_ptr<Shader> program;
    GLuint vao = 0;
    GLuint buffer = 0;
};
