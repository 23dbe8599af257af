#include "render/ParticleShader.h"

#include <array>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

namespace {

constexpr GLsizei kInfoLogBytes = 512;

struct StageKind {
    GLenum type;
    const char* compileFailure;
};

constexpr StageKind kVertexStage{GL_VERTEX_SHADER, "ERROR::SHADER::VERTEX::COMPILATION_FAILED"};
constexpr StageKind kGeometryStage{GL_GEOMETRY_SHADER,
                                   "ERROR::SHADER::GEOMETRY::COMPILATION_FAILED"};
constexpr StageKind kFragmentStage{GL_FRAGMENT_SHADER,
                                   "ERROR::SHADER::FRAGMENT::COMPILATION_FAILED"};
constexpr StageKind kComputeStage{GL_COMPUTE_SHADER, "ERROR::SHADER::COMPUTE::COMPILATION_FAILED"};

std::string pathOf(const std::string& fileName) { return kShaderDirectory + fileName; }

// One line for the whole set, naming the first file that failed: the sources are all empty.
std::nullopt_t reportUnreadFile(const std::string& fileName) {
    std::cout << "ERROR::SHADER::FILE_NOT_READ_SUCCESFULLY: " << pathOf(fileName) << std::endl;
    return std::nullopt;
}

// All or nothing: every file is opened before any content is taken, so one missing file
// leaves every source empty and the driver reports on empty stages.
std::optional<std::vector<std::string>> readSourcesAllOrNothing(
    std::initializer_list<std::string> fileNames) {
    std::vector<std::ifstream> files;
    for (const std::string& name : fileNames) {
        files.emplace_back(pathOf(name), std::ios::binary);
        if (!files.back().is_open()) return reportUnreadFile(name);
    }
    std::vector<std::ostringstream> contents(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) contents[i] << files[i].rdbuf();
    auto name = fileNames.begin();
    for (std::ifstream& file : files) {
        file.close();
        if (file.fail()) return reportUnreadFile(*name);
        ++name;
    }
    std::vector<std::string> sources;
    for (const std::ostringstream& text : contents) sources.push_back(text.str());
    return sources;
}

GLuint compileParticleStage(const StageKind& kind, const std::string& source,
                            const std::string& fileName) {
    const GLuint stage = glCreateShader(kind.type);
    const GLchar* text = source.c_str();
    glShaderSource(stage, 1, &text, nullptr);
    glCompileShader(stage);
    GLint compiled = GL_FALSE;
    glGetShaderiv(stage, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_FALSE) {
        std::array<GLchar, kInfoLogBytes> log{};
        glGetShaderInfoLog(stage, kInfoLogBytes, nullptr, log.data());
        std::cout << kind.compileFailure << ": " << pathOf(fileName) << "\n"
                  << log.data() << std::endl;
    }
    return stage;
}

bool isLinked(GLuint program) {
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

std::string pathsOf(std::initializer_list<std::string> fileNames) {
    std::string paths;
    for (const std::string& name : fileNames) paths += (paths.empty() ? "" : ", ") + pathOf(name);
    return paths;
}

// The stages are deleted still attached: GL frees them together with the program. A stage
// that did not compile fails the link too.
GLuint linkAndReleaseStages(std::initializer_list<GLuint> stages,
                            std::initializer_list<std::string> fileNames) {
    const GLuint program = glCreateProgram();
    for (const GLuint stage : stages) glAttachShader(program, stage);
    glLinkProgram(program);
    if (!isLinked(program)) {
        std::array<GLchar, kInfoLogBytes> log{};
        glGetProgramInfoLog(program, kInfoLogBytes, nullptr, log.data());
        std::cout << "ERROR::SHADER::PROGRAM::LINKING_FAILED: " << pathsOf(fileNames) << "\n"
                  << log.data() << std::endl;
    }
    for (const GLuint stage : stages) glDeleteShader(stage);
    return program;
}

}  // namespace

// The Shader base builds its built-in program first; it is released at once, before
// this program replaces it, so no particle shader leaves a second program behind.
ParticleShader::ParticleShader(const std::string& vertexName, const std::string& geometryName,
                               const std::string& fragmentName)
    : geometryFile(geometryName) {
    releaseProgram();
    vertexFile = vertexName;
    fragmentFile = fragmentName;
    fromSource = false;

    // Read in the order vertex, fragment, geometry; compiled in pipeline order.
    const std::optional<std::vector<std::string>> read =
        readSourcesAllOrNothing({vertexFile, fragmentFile, geometryFile});
    const std::vector<std::string> sources = read.value_or(std::vector<std::string>(3));
    const GLuint vertexStage = compileParticleStage(kVertexStage, sources[0], vertexFile);
    const GLuint geometryStage = compileParticleStage(kGeometryStage, sources[2], geometryFile);
    const GLuint fragmentStage = compileParticleStage(kFragmentStage, sources[1], fragmentFile);
    program = linkAndReleaseStages({vertexStage, geometryStage, fragmentStage},
                                   {vertexFile, geometryFile, fragmentFile});
    usable = read.has_value() && isLinked(program);
}

ParticleShader::ParticleShader(const std::string& vertexName, const std::string& fragmentName) {
    releaseProgram();
    vertexFile = vertexName;
    fragmentFile = fragmentName;
    fromSource = false;

    const std::optional<std::vector<std::string>> read =
        readSourcesAllOrNothing({vertexFile, fragmentFile});
    const std::vector<std::string> sources = read.value_or(std::vector<std::string>(2));
    program = linkAndReleaseStages({compileParticleStage(kVertexStage, sources[0], vertexFile),
                                    compileParticleStage(kFragmentStage, sources[1], fragmentFile)},
                                   {vertexFile, fragmentFile});
    usable = read.has_value() && isLinked(program);
}

ParticleShader::ParticleShader(const std::string& computeName) : computeFile(computeName) {
    releaseProgram();
    vertexFile.clear();
    fragmentFile.clear();
    fromSource = false;

    const std::optional<std::vector<std::string>> read = readSourcesAllOrNothing({computeFile});
    const std::string source = read ? read->front() : std::string();
    program = linkAndReleaseStages({compileParticleStage(kComputeStage, source, computeFile)},
                                   {computeFile});
    usable = read.has_value() && isLinked(program);
}
