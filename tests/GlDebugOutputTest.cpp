#include "app/GlDebugOutput.h"

#include <gtest/gtest.h>

TEST(GlDebugOutput, FormatsEveryFieldInOrder) {
    EXPECT_EQ(formatGlDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 1282,
                                   GL_DEBUG_SEVERITY_HIGH, "invalid operation"),
              "OpenGL Error: invalid operation [Source = API, Type = Error, Severity = High, "
              "ID = 1282]");
}

TEST(GlDebugOutput, NotificationsArePrintedWithUnknownSeverity) {
    testing::internal::CaptureStdout();
    onGlDebugMessage(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_OTHER, 7,
                     GL_DEBUG_SEVERITY_NOTIFICATION, -1, "hello", nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "OpenGL Error: hello [Source = Application, Type = Other, Severity = Unknown, "
              "ID = 7]\n");
}

TEST(GlDebugOutput, KnownDriverNoticesAreDropped) {
    for (const GLuint id : {131185u, 131218u}) {
        testing::internal::CaptureStdout();
        onGlDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, id, GL_DEBUG_SEVERITY_HIGH, 0,
                         "noise", nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << id;
    }
}

TEST(GlDebugOutput, SourceNamesIncludeTheAmdCategories) {
    const std::pair<GLenum, const char*> sources[] = {
        {GL_DEBUG_SOURCE_API, "API"}, {0x9149, "API"},
        {GL_DEBUG_SOURCE_WINDOW_SYSTEM, "Window System"}, {0x914A, "Window System"},
        {GL_DEBUG_SOURCE_SHADER_COMPILER, "Shader Compiler"}, {0x914E, "Shader Compiler"},
        {GL_DEBUG_SOURCE_THIRD_PARTY, "Third Party"},
        {GL_DEBUG_SOURCE_APPLICATION, "Application"}, {0x914F, "Application"},
        {GL_DEBUG_SOURCE_OTHER, "Other"}, {0x9150, "Other"},
        {0x1234, "Unknown"},
    };
    for (const auto& [value, name] : sources) {
        const std::string line = formatGlDebugMessage(value, GL_DEBUG_TYPE_ERROR, 1,
                                                      GL_DEBUG_SEVERITY_LOW, "m");
        EXPECT_NE(line.find(std::string("Source = ") + name + ","), std::string::npos) << line;
    }
}

TEST(GlDebugOutput, TypeNamesIncludeTheAmdCategories) {
    const std::pair<GLenum, const char*> types[] = {
        {GL_DEBUG_TYPE_ERROR, "Error"},
        {GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR, "Deprecated Behavior"}, {0x914B, "Deprecated Behavior"},
        {GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR, "Undefined Behavior"}, {0x914C, "Undefined Behavior"},
        {GL_DEBUG_TYPE_PORTABILITY, "Portability"},
        {GL_DEBUG_TYPE_PERFORMANCE, "Performance"}, {0x914D, "Performance"},
        {GL_DEBUG_TYPE_OTHER, "Other"}, {0x9150, "Other"},
        {GL_DEBUG_TYPE_MARKER, "Unknown"}, {GL_DEBUG_TYPE_PUSH_GROUP, "Unknown"},
        {GL_DEBUG_TYPE_POP_GROUP, "Unknown"},
    };
    for (const auto& [value, name] : types) {
        const std::string line = formatGlDebugMessage(GL_DEBUG_SOURCE_API, value, 1,
                                                      GL_DEBUG_SEVERITY_LOW, "m");
        EXPECT_NE(line.find(std::string("Type = ") + name + ","), std::string::npos) << line;
    }
}

TEST(GlDebugOutput, SeverityNames) {
    const std::pair<GLenum, const char*> severities[] = {
        {GL_DEBUG_SEVERITY_HIGH, "High"}, {GL_DEBUG_SEVERITY_MEDIUM, "Medium"},
        {GL_DEBUG_SEVERITY_LOW, "Low"}, {GL_DEBUG_SEVERITY_NOTIFICATION, "Unknown"},
    };
    for (const auto& [value, name] : severities) {
        const std::string line =
            formatGlDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 1, value, "m");
        EXPECT_NE(line.find(std::string("Severity = ") + name + ","), std::string::npos) << line;
    }
}
