#include "render/ParticleShader.h"

#include <array>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <sstream>
#include <vector>

namespace {

constexpr GLsizei kInfoLogBytes = 512;

struct StageKind {
    GLenum type;
    const char* compileFailure;
};

constexpr StageKind kVertexStage{GL_VERTEX_SHADER, "ERROR::SHADER::VERTEX::COMPILATION_FAILED\n"};
constexpr StageKind kGeometryStage{GL_GEOMETRY_SHADER,
                                   "ERROR::SHADER::GEOMETRY::COMPILATION_FAILED\n"};
constexpr StageKind kFragmentStage{GL_FRAGMENT_SHADER,
                                   "ERROR::SHADER::FRAGMENT::COMPILATION_FAILED\n"};
constexpr StageKind kComputeStage{GL_COMPUTE_SHADER,
                                  "ERROR::SHADER::COMPUTE::COMPILATION_FAILED\n"};

// One line for the whole set, however many files failed: the sources are all empty.
std::vector<std::string> emptySourcesAfterReadFailure(std::size_t count) {
    std::cout << "ERROR::SHADER::FILE_NOT_READ_SUCCESFULLY" << std::endl;
    return std::vector<std::string>(count);
}

// All or nothing: every file is opened before any content is taken, so one missing file
// leaves every source empty and the driver reports on empty stages.
std::vector<std::string> readSourcesAllOrNothing(std::initializer_list<std::string> fileNames) {
    std::vector<std::ifstream> files;
    for (const std::string& name : fileNames) {
        files.emplace_back(kShaderDirectory + name, std::ios::binary);
        if (!files.back().is_open()) return emptySourcesAfterReadFailure(fileNames.size());
    }
    std::vector<std::ostringstream> contents(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) contents[i] << files[i].rdbuf();
    for (std::ifstream& file : files) {
        file.close();
        if (file.fail()) return emptySourcesAfterReadFailure(fileNames.size());
    }
    std::vector<std::string> sources;
    for (const std::ostringstream& text : contents) sources.push_back(text.str());
    return sources;
}

GLuint compileParticleStage(const StageKind& kind, const std::string& source) {
    const GLuint stage = glCreateShader(kind.type);
    const GLchar* text = source.c_str();
    glShaderSource(stage, 1, &text, nullptr);
    glCompileShader(stage);
    GLint compiled = GL_FALSE;
    glGetShaderiv(stage, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_FALSE) {
        std::array<GLchar, kInfoLogBytes> log{};
        glGetShaderInfoLog(stage, kInfoLogBytes, nullptr, log.data());
        std::cout << kind.compileFailure << log.data() << std::endl;
    }
    return stage;
}

// The stages are deleted still attached: GL frees them together with the program.
GLuint linkAndReleaseStages(std::initializer_list<GLuint> stages) {
    const GLuint linked = glCreateProgram();
    for (const GLuint stage : stages) glAttachShader(linked, stage);
    glLinkProgram(linked);
    GLint status = GL_FALSE;
    glGetProgramiv(linked, GL_LINK_STATUS, &status);
    if (status == GL_FALSE) {
        std::array<GLchar, kInfoLogBytes> log{};
        glGetProgramInfoLog(linked, kInfoLogBytes, nullptr, log.data());
        std::cout << "ERROR::SHADER::PROGRAM::LINKING_FAILED\n" << log.data() << std::endl;
    }
    for (const GLuint stage : stages) glDeleteShader(stage);
    return linked;
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
    const std::vector<std::string> sources =
        readSourcesAllOrNothing({vertexFile, fragmentFile, geometryFile});
    const std::string& vertexSource = sources[0];
    const std::string& fragmentSource = sources[1];
    const std::string& geometrySource = sources[2];
    const GLuint vertexStage = compileParticleStage(kVertexStage, vertexSource);
    const GLuint geometryStage = compileParticleStage(kGeometryStage, geometrySource);
    const GLuint fragmentStage = compileParticleStage(kFragmentStage, fragmentSource);
    program = linkAndReleaseStages({vertexStage, geometryStage, fragmentStage});
}

ParticleShader::ParticleShader(const std::string& computeName) : computeFile(computeName) {
    releaseProgram();
    vertexFile.clear();
    fragmentFile.clear();
    fromSource = false;

    const std::vector<std::string> sources = readSourcesAllOrNothing({computeFile});
    program = linkAndReleaseStages({compileParticleStage(kComputeStage, sources[0])});
}
