#include "app/ProgramState.h"

Settings settings;
GLFWwindow* window = nullptr;
std::shared_ptr<CustomCamera> camera;
std::shared_ptr<ButtonPressedNew> buttons = std::make_shared<ButtonPressedNew>();
ShellToggles toggles;
FreeCameraState freeCamera;
