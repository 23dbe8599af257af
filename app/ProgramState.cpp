#include "app/ProgramState.h"

CommandLine commandLine;
Settings settings;
std::optional<std::filesystem::path> userSettings;
GLFWwindow* window = nullptr;
std::shared_ptr<CustomCamera> camera;
std::shared_ptr<ButtonPressedNew> buttons = std::make_shared<ButtonPressedNew>();
HeldFire heldFire;
Gamepad gamepad;
ShellToggles toggles;
FreeCameraState freeCamera;
MenuPointer menuPointer;
FrameCapNote frameCapNote;
std::shared_ptr<HUD> skyPicture;
std::shared_ptr<HUD> winPicture;
std::shared_ptr<HUD> losePicture;
std::unique_ptr<AimReticle> aimReticle;
glm::mat4 hudProjectionMatrix{1.0f};
std::shared_ptr<PostProcessingFrameBuffer> postProcessing;
Game game;
MenuFlow menus{OptionValues{}, Difficulty::Normal};
MatchRecording matchRecording;
std::optional<Replay> watchedReplay;
