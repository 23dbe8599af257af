#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

/// A hidden window with the game's kind of context (OpenGL 4.3 core, debug) and GLEW
/// loaded, for tests that talk to the driver. Under Xvfb this is Mesa's llvmpipe.
class GlContext {
public:
    GlContext(int width = 320, int height = 240);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    bool ready() const { return window != nullptr; }
    GLFWwindow* window = nullptr;
};

/// Fixture: every test gets a fresh context, current on the test's thread.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(context.ready()) << "no OpenGL 4.3 context (is DISPLAY set?)";
    }
    GlContext context;
};

/// For death tests of fatal paths: sends standard output to standard error, where
/// gtest's EXPECT_EXIT looks for the expected message, and reads standard input from
/// /dev/null so that a console pause can never wait for a key.
void redirectForDeathTest();
