#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

class CustomCamera;
class ParticleShader;

/// Which puffs a draw takes: all, or one of four quarters that split them for good at their
/// spawn (by their spin), so that a puff never changes quarter.
enum class PuffPart : GLint { All = 0, First = 1, Second = 2, Third = 3, Fourth = 4 };

/// A rectangle of the view in normalised device coordinates (-1 to 1 across): where the
/// smoke's puffs can show. The whole view unless said otherwise; empty when `least` is not
/// below `most`.
struct ScreenReach {
    glm::vec2 least{-1.0f};
    glm::vec2 most{1.0f};

    static ScreenReach nowhere() { return {glm::vec2(1.0f), glm::vec2(-1.0f)}; }
    bool empty() const { return least.x >= most.x || least.y >= most.y; }
    ScreenReach unitedWith(const ScreenReach& other) const {
        return {glm::min(least, other.least), glm::max(most, other.most)};
    }
};

/// Puffs gathered for one program's draws of a quarter, with the indirect draw that counts them.
struct GatheredPuffs {
    GLuint positions = 0;  ///< one vec4 per gathered particle
    GLuint draw = 0;  ///< as glDrawArraysIndirect reads it; the reach program counts the puffs
    GLuint vao = 0;
};

/// The smoke that rises from a wreck once a match is decided, simulated on the GPU.
///
/// A compute program advances the particles from one set of shader-storage buffers into
/// the other (ping-pong) and counts the survivors with an atomic counter; two point
/// programs draw the newest set as camera-facing smoke puffs. The CPU only keeps time,
/// dispatches, reads the 4-byte counter back and issues the draws: each puff that a point
/// sprite can stand in for is drawn as one, which a software renderer sets up and walks at
/// about half the cost of a quad; the rest (larger than the driver's largest sprite, or
/// centred outside the view, where a sprite is clipped whole) as quads. `restart` takes it
/// back to the seed, so that each match's ending grows a column of its own. While the
/// compute or the quads' program failed to build, steps and draws do nothing; without the
/// sprites' program every puff is a quad. A second compute program, if given, gathers one
/// quarter of the puffs into a buffer of their own, and of them the few that may need a quad
/// into another, so that each program's draws of that quarter walk only the puffs it may draw
/// (a software renderer pays for every point of a draw, drawn or not), and tells how far
/// they reach on screen.
/// Needs a current OpenGL 4.3 context; owns its buffers and texture.
class ParticleSystem {
public:
    ParticleSystem(std::shared_ptr<ParticleShader> computeProgram,
                   std::shared_ptr<ParticleShader> renderProgram,
                   std::shared_ptr<ParticleShader> spriteProgram,
                   std::shared_ptr<CustomCamera> camera,
                   std::shared_ptr<ParticleShader> reachProgram = nullptr);
    ~ParticleSystem();
    ParticleSystem(const ParticleSystem&) = delete;  // owns GL objects
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    /// One simulation step of `frameTime` seconds: spawns one particle per elapsed
    /// millisecond and advances the rest.
    void update(float frameTime);
    /// Back to the seed particle alone, as constructed, so that a new column starts from
    /// nothing rather than from what the last one left.
    void restart();
    /// Draws the live particles of `part` where `modelMatrix` puts them, with max blending,
    /// into a target `targetHeight` pixels high: each puff whole, or with `puffShare` below
    /// 1 only its middle, that share of its side. Draws the puffs gathered since the last
    /// step when `part` is the quarter gathered.
    void draw(const glm::mat4& modelMatrix, int targetHeight, float puffShare = 1.0f,
              PuffPart part = PuffPart::All);
    /// Gathers the live particles of `part` that can show, for this step's draws of it
    /// through the camera as it stands now, into a target `targetHeight` pixels high with up
    /// to `puffShare` of their side; and tells where they, placed by `modelMatrix`, can show
    /// in the camera's view. Without a usable reach program nothing is gathered and the
    /// reach is the whole view.
    ScreenReach gatherPart(const glm::mat4& modelMatrix, int targetHeight, float puffShare,
                           PuffPart part);

    /// Work groups for a step that reads `count` particles: one per 128, at least one.
    static GLuint workGroupsFor(std::uint32_t count) { return count / kWorkGroupSize + 1; }

    static constexpr std::uint32_t kWorkGroupSize = 128;  ///< invocations along x

    std::uint32_t maximumCount = 10000;
    double spawnAccumulator = 0.0;  ///< elapsed *milliseconds* not yet turned into particles
    std::uint32_t spawnCount = 0;
    std::array<GLuint, 2> positionBuffers{};  ///< one vec4 per particle
    std::array<GLuint, 2> velocityBuffers{};
    GLuint counterBuffer = 0;  ///< one uint: particles written by the last step
    GLuint reachBuffer = 0;    ///< four ints: the reach program's least and most x and y
    GatheredPuffs gathered;  ///< every puff of the gathered quarter: the sprites' program walks these
    GatheredPuffs gatheredQuads;  ///< those of them that the quads' program may have to draw
    std::optional<PuffPart> gatheredPart;  ///< gathered from the newest set; none after a step
    std::array<GLuint, 2> particleVaos{};
    std::vector<glm::vec4> seedPositions;
    std::vector<glm::vec4> seedVelocities;
    std::uint32_t lastCount = 0;  ///< live particles after the last step; the draw count
    std::minstd_rand random;      ///< the spawns' jitter; the smoke's own, not the match's
    std::shared_ptr<ParticleShader> computeProgram;
    std::shared_ptr<ParticleShader> renderProgram;  ///< quads: the puffs no sprite can stand in for
    std::shared_ptr<ParticleShader> spriteProgram;
    std::shared_ptr<CustomCamera> camera;
    std::shared_ptr<ParticleShader> reachProgram;  ///< may be null
    float largestSprite = 0.0f;  ///< pixels across; 0 while the sprites' program is unusable
    std::uint8_t currentSet = 0;  ///< the buffer set holding the newest state
    GLuint smokeTexture = 0;

private:
    void createParticleBuffers();
    void createCounter();
    void createReachBuffers();
    void createGathered(GatheredPuffs& puffs);
    void uploadSeed();
    void createVertexArrays();
    void loadSmokeTexture();
    void unpackBoundTexture(int width, int height);
    bool programsUsable() const;
    void measureLargestSprite();
    void drawPuffs(ParticleShader& program, const glm::mat4& modelMatrix, int targetHeight,
                   float puffShare, PuffPart part, const GatheredPuffs* from);
    void takeSpawnsFromAccumulator(float frameTime);
    void setStepUniforms(float frameTime);
    void bindStepBuffers();
    void readAndResetCounter();
};
