#pragma once

#include <GL/glew.h>
#include <LinearMath/btIDebugDraw.h>
#include <glm/glm.hpp>

#include <memory>
#include <vector>

class Shader;

/// Bullet's debug drawer for the scene: collects the segments the world emits during its
/// debug draw (shape wireframes, bounding boxes, contact normals) and draws them in one
/// batch with the object shader, whose frame uniforms are already set.
///
/// Mode 0 (the default) makes the world emit nothing and draws nothing. Colours are
/// ignored. The vertex array and buffer are recreated for every batch. Needs a current
/// GL context only for drawLines() and for destruction after a batch was drawn.
class Debugger : public btIDebugDraw {
public:
    static constexpr int kWireframeBit = DBG_DrawWireframe;  // 1, flipped by F3
    static constexpr int kBoundingBoxBit = DBG_DrawAabb;     // 2, flipped by F4

    explicit Debugger(std::shared_ptr<Shader> shader);
    ~Debugger() override;
    Debugger(const Debugger&) = delete;  // owns GL names
    Debugger& operator=(const Debugger&) = delete;

    using btIDebugDraw::drawLine;
    void drawLine(const btVector3& from, const btVector3& to, const btVector3& color) override;
    /// One segment from the point along the normal, `distance` long.
    void drawContactPoint(const btVector3& pointOnB, const btVector3& normalOnB, btScalar distance,
                          int lifeTime, const btVector3& color) override;
    void reportErrorWarning(const char*) override {}
    void draw3dText(const btVector3&, const char*) override {}
    void setDebugMode(int mode) override { debugMode = mode; }
    int getDebugMode() const override { return debugMode; }

    void toggleWireframes() { debugMode ^= kWireframeBit; }
    void toggleBoundingBoxes() { debugMode ^= kBoundingBoxBit; }

    /// Uploads and draws the collected segments as GL_LINES, then forgets them.
    void drawLines();
    /// Two points per segment, in emission order.
    const std::vector<glm::vec3>& collectedLines() const { return lines; }
    GLuint vertexArrayName() const { return vertexArray; }

private:
    int debugMode = 0;
    std::shared_ptr<Shader> shader;
    std::vector<glm::vec3> lines;
    GLuint vertexArray = 0;
    GLuint vertexBuffer = 0;
};
