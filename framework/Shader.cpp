#include "framework/Shader.h"

#include "framework/ConsolePause.h"
#include "framework/WholeFile.h"

#include <glm/gtc/type_ptr.hpp>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

const char* const builtinVertexSource =
    "#version 330 core\nlayout(location = 0) in vec3 position;\nvoid main() {\n"
    "\tgl_Position = vec4(position.xy, -position.z, 1);\n}";
const char* const builtinFragmentSource =
    "#version 330 core \nuniform vec3 fragColor = vec3(1, 0, 0); \nout vec4 color; \n"
    "void main() {  \n\tcolor = vec4(fragColor, 1); \n}";

namespace {

// A shader that cannot be built leaves the game without a way to draw: say why, keep
// the message on screen, and stop.
[[noreturn]] void failShaderBuild(const std::string& message) {
    showFatalMessage(message);
    std::exit(1);
}

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readShaderFile(const std::string& path) {
    std::string text;
    if (readWholeFile(path, text)) return std::nullopt;
    return text;
}

constexpr std::string_view kIncludeStart = "#include \"";

// The file a line `#include "name"` names; empty for any other line.
std::string includedFile(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (line.size() <= kIncludeStart.size() + 1 || line.substr(0, kIncludeStart.size()) != kIncludeStart ||
        line.back() != '"')
        return {};
    return std::string(line.substr(kIncludeStart.size(), line.size() - kIncludeStart.size() - 1));
}

std::string infoLog(GLuint object, bool isProgram) {
    GLint length = 0;
    if (isProgram)
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<GLchar> log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    if (isProgram)
        glGetProgramInfoLog(object, length, nullptr, log.data());
    else
        glGetShaderInfoLog(object, length, nullptr, log.data());
    return std::string(log.data());
}

}  // namespace

Shader::Shader()
    : vertexFile(builtinVertexSource), fragmentFile(builtinFragmentSource), fromSource(true) {
    program = buildProgram();
}

Shader::Shader(const std::string& vertexFileName, const std::string& fragmentFileName)
    : vertexFile(vertexFileName), fragmentFile(fragmentFileName), fromSource(false) {
    program = buildProgram();
}

Shader::~Shader() {
    glUseProgram(0);
    glDeleteProgram(program);
}

void Shader::releaseProgram() {
    glDeleteProgram(program);
    program = 0;
    locationCache.clear();
}

GLint Shader::uniformLocation(const std::string& name) {
    const auto cached = locationCache.find(name);
    if (cached != locationCache.end()) return cached->second;
    const GLint location = glGetUniformLocation(program, name.c_str());
    locationCache.emplace(name, location);
    return location;
}

void Shader::setUniform(const std::string& name, const glm::mat4& value) {
    const GLint location = uniformLocation(name);
    if (location != -1) glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

void Shader::setUniform(const std::string& name, const glm::mat3& value) {
    const GLint location = uniformLocation(name);
    if (location != -1) glUniformMatrix3fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

void Shader::setUniform(const std::string& name, const glm::vec3& value) {
    const GLint location = uniformLocation(name);
    if (location != -1) glUniform3f(location, value.x, value.y, value.z);
}

void Shader::setUniform(const std::string& name, const glm::vec4& value) {
    const GLint location = uniformLocation(name);
    if (location != -1) glUniform4f(location, value.x, value.y, value.z, value.w);
}

void Shader::setUniform(const std::string& name, float value) {
    const GLint location = uniformLocation(name);
    if (location != -1) glUniform1f(location, value);
}

GLuint Shader::buildProgram() {
    const GLuint vertexStage = compileStage(GL_VERTEX_SHADER, vertexFile);
    const GLuint fragmentStage = compileStage(GL_FRAGMENT_SHADER, fragmentFile);

    const GLuint linked = glCreateProgram();
    glAttachShader(linked, vertexStage);
    glAttachShader(linked, fragmentStage);
    glLinkProgram(linked);
    GLint status = GL_FALSE;
    glGetProgramiv(linked, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        const std::string log = infoLog(linked, true);
        glDeleteProgram(linked);
        glDeleteShader(vertexStage);
        glDeleteShader(fragmentStage);
        failShaderBuild("Failed to link shader program:\n" + log);
    }
    glDetachShader(linked, vertexStage);
    glDetachShader(linked, fragmentStage);
    glDeleteShader(vertexStage);
    glDeleteShader(fragmentStage);
    return linked;
}

std::string Shader::readStageSource(const std::string& fileOrSource) const {
    if (fromSource) return fileOrSource;
    std::string unreadable;
    std::optional<std::string> source = readShaderSource(fileOrSource, unreadable);
    if (!source) failShaderBuild("Couldn't open shader file: " + unreadable);
    return std::move(*source);
}

// Included lines are told from the file's own in the compiler's messages by their source
// number, 1 against 0, and the file's own keep their line numbers.
std::optional<std::string> readShaderSource(const std::string& fileName, std::string& unreadable) {
    unreadable = kShaderDirectory + fileName;
    const std::optional<std::string> source = readShaderFile(unreadable);
    if (!source) return std::nullopt;
    std::istringstream lines(*source);
    std::string expanded;
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string included = includedFile(line);
        if (included.empty()) {
            expanded += line + '\n';
            continue;
        }
        unreadable = kShaderDirectory + included;
        const std::optional<std::string> text = readShaderFile(unreadable);
        if (!text) return std::nullopt;
        expanded += "#line 1 1\n" + *text + "\n#line " + std::to_string(number + 1) + " 0\n";
    }
    unreadable.clear();
    return expanded;
}

GLuint Shader::compileStage(GLenum stageType, const std::string& fileOrSource) {
    const std::string source = readStageSource(fileOrSource);
    const GLuint stage = glCreateShader(stageType);
    if (stage == 0) failShaderBuild("Failed to create " + std::to_string(stageType));

    const GLchar* text = source.c_str();
    glShaderSource(stage, 1, &text, nullptr);
    glCompileShader(stage);
    GLint status = GL_FALSE;
    glGetShaderiv(stage, GL_COMPILE_STATUS, &status);
    if (status == GL_TRUE && glIsShader(stage)) return stage;

    const std::string log = infoLog(stage, false);
    glDeleteShader(stage);
    failShaderBuild("Failed to compile shader: " + fileOrSource + "\n" + log);
}
