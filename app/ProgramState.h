#pragma once

#include "hud/AimReticle.h"
#include "hud/FrameCapNote.h"
#include "game/ButtonPressedNew.h"
#include "render/CustomCamera.h"
#include "app/CommandLine.h"
#include "app/Gamepad.h"
#include "game/HeldFire.h"
#include "app/MatchRecording.h"
#include "app/MenuFlow.h"
#include "app/Settings.h"
#include "app/ShellToggles.h"
#include "effects/PostProcessingFrameBuffer.h"
#include "game/Game.h"
#include "render/HUD.h"

#include <glm/glm.hpp>

#include <filesystem>
#include <memory>
#include <optional>

struct GLFWwindow;

// Every program-wide object of the shell, and nothing else. Only app/ includes this
// header; the game and the effects receive what they need as arguments.
extern CommandLine commandLine;                    // read first; --difficulty and --replay wait here
extern Settings settings;                          // filled once, before the window exists
extern std::optional<std::filesystem::path> userSettings;  // where the options are saved; none without HOME
extern GLFWwindow* window;                         // the only window
extern std::shared_ptr<CustomCamera> camera;       // created by the scene set-up
extern std::shared_ptr<ButtonPressedNew> buttons;  // written by the input callbacks
extern HeldFire heldFire;                          // left button or fire held: shots keep coming
extern Gamepad gamepad;                            // idle unless enabled in the settings
extern ShellToggles toggles;
extern FreeCameraState freeCamera;
extern MenuPointer menuPointer;                    // the mouse as the menus last saw it
extern FrameCapNote frameCapNote;                  // a typed frame cap, shown for a moment
extern std::shared_ptr<HUD> skyPicture;            // the full-window background
extern std::shared_ptr<HUD> winPicture;            // shown once the boss has fallen
extern std::shared_ptr<HUD> losePicture;           // shown once the player has fallen
extern std::unique_ptr<AimReticle> aimReticle;     // where the primary shots are heading
extern glm::mat4 hudProjectionMatrix;              // rebuilt before every screen-space draw
extern std::shared_ptr<PostProcessingFrameBuffer> postProcessing;  // the scene's off-screen target
extern Game game;                                  // the one game; owns the physics world
extern MenuFlow menus;                             // which screen shows, and its menu
extern MatchRecording matchRecording;              // the match's controls, kept as a replay
extern std::optional<Replay> watchedReplay;        // a replay played back instead of the controls
