#pragma once

#include "feedback/HitFlashes.h"
#include "hud/HudText.h"
#include "hud/MenuView.h"
#include "app/LandscapeTiles.h"
#include "app/SceneLighting.h"
#include "feedback/ScreenShake.h"
#include "hud/ThreatMarkers.h"
#include "audio/SoundEngine.h"
#include "effects/ParticleSystem.h"
#include "effects/SmokeTarget.h"
#include "effects/SparkBursts.h"
#include "effects/SparkRenderer.h"
#include "effects/StillPicture.h"
#include "framework/Shader.h"
#include "framework/Shape.h"
#include "framework/Texture.h"
#include "framework/TextureMaterial.h"
#include "render/Model.h"
#include "render/ParticleShader.h"

#include <memory>
#include <vector>

/// What the entry point builds before the loop and owns until teardown: the shader
/// programs, the lights and the models. Program-wide objects (camera, input record,
/// toggles, pictures) live in ProgramState instead.
struct Scene {
    std::shared_ptr<Shader> textureShader;    ///< the models
    std::shared_ptr<Shader> landscapeShader;  ///< the landscape tiles, lit as the models are
    std::shared_ptr<Shader> hudShader;
    std::shared_ptr<Shader> hudTextShader;
    std::shared_ptr<Shader> postProcessingShader;       ///< the resolve: grade, edges marked
    std::shared_ptr<Shader> postProcessingEdgesShader;  ///< the resolve: the marked edges smoothed
    std::shared_ptr<Shader> postProcessingGradeShader;  ///< the resolve: graded at the scene's size
    std::shared_ptr<Shader> postProcessingStretchShader;  ///< the resolve: stretched over the window
    std::shared_ptr<ParticleShader> particleDrawShader;
    std::shared_ptr<ParticleShader> particleSpriteShader;
    std::shared_ptr<ParticleShader> particleComputeShader;
    std::shared_ptr<ParticleShader> particleReachShader;  ///< how far the smoke reaches on screen
    std::shared_ptr<Shader> smokeCompositeShader;  ///< lays the smoke's own target over the scene
    std::shared_ptr<Shader> sparkShader;

    // The framework's own objects: built at start-up and kept, though no frame draws them.
    std::shared_ptr<Texture> woodTexture;
    std::shared_ptr<Texture> tilesTexture;
    std::shared_ptr<TextureMaterial> woodMaterial;
    std::shared_ptr<TextureMaterial> tilesMaterial;
    std::vector<std::unique_ptr<Shape>> shapes;

    DirectionalLight sun;
    PointLight bossGlow;

    std::unique_ptr<ParticleSystem> smoke;  ///< rises from the wreck once a match is decided
    std::unique_ptr<SmokeTarget> smokeTarget;  ///< where the smoke is drawn, at a lower resolution

    // What a player feels of the match's events: flashes, shake, sparks and the markers
    // of missiles out of sight.
    HitFlashes hitFlashes;
    ScreenShake screenShake;
    SparkBursts sparks;
    std::unique_ptr<SparkRenderer> sparkRenderer;
    std::unique_ptr<StillPicture> skyBackdrop;  ///< the sky each scene pass starts from
    std::unique_ptr<StillPicture> winPictureCopy;  ///< the end pictures as the window shows them
    std::unique_ptr<StillPicture> losePictureCopy;
    std::unique_ptr<StillPicture> stillText;  ///< the HUD's text while it stands still
    std::unique_ptr<ThreatMarkers> threatMarkers;

    std::unique_ptr<Model> playerModel;
    std::unique_ptr<Model> bossModel;
    std::unique_ptr<LandscapeTiles> landscape;

    std::unique_ptr<HudText> hudText;  ///< the bars' labels, the clock, pause and results
    MenuView menuView;                 ///< the menu's words, written again every frame
    float titleGlide = 0.0f;           ///< units the view behind the title has flown

    SoundEngine* soundEngine = nullptr;  ///< released with drop(); null only without any output

    float statsWindowStart = 0.0f;  ///< seconds; read partway through the set-up
};
