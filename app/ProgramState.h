#pragma once

#include "app/ButtonPressedNew.h"
#include "app/CustomCamera.h"
#include "app/Settings.h"
#include "app/ShellToggles.h"

#include <memory>

struct GLFWwindow;

// Every program-wide object of the shell, and nothing else. Only app/ includes this
// header; the game and the effects receive what they need as arguments.
extern Settings settings;                          // filled once, before the window exists
extern GLFWwindow* window;                         // the only window
extern std::shared_ptr<CustomCamera> camera;       // created by the scene set-up
extern std::shared_ptr<ButtonPressedNew> buttons;  // written by the input callbacks
extern ShellToggles toggles;
extern FreeCameraState freeCamera;
