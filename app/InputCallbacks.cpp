#include "app/InputCallbacks.h"

#include "app/MenuText.h"
#include "app/ProgramState.h"
#include "app/UserSettings.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdlib>
#include <iostream>

namespace {

constexpr int kRelease = GLFW_RELEASE;
constexpr int kPress = GLFW_PRESS;

// A movement key sets its flag on press only while the contact rules have not blocked
// that direction; a release always clears it, in free-camera mode too.
struct MovementKey {
    int key;
    bool ButtonPressedNew::*flag;
    bool ButtonPressedNew::*block;
};

const MovementKey movementKeys[] = {
    {GLFW_KEY_W, &ButtonPressedNew::w, &ButtonPressedNew::blockW},
    {GLFW_KEY_S, &ButtonPressedNew::s, &ButtonPressedNew::blockS},
    {GLFW_KEY_SPACE, &ButtonPressedNew::space, &ButtonPressedNew::blockSpace},
    {GLFW_KEY_A, &ButtonPressedNew::a, &ButtonPressedNew::blockA},
    {GLFW_KEY_D, &ButtonPressedNew::d, &ButtonPressedNew::blockD},
    {GLFW_KEY_C, &ButtonPressedNew::c, &ButtonPressedNew::blockC},
    {GLFW_KEY_LEFT_SHIFT, &ButtonPressedNew::shift, &ButtonPressedNew::blockShift},
};

void flipShowFrameStats() { toggles.showFrameStats = !toggles.showFrameStats; }

void playAgainOnceDecided() { act(menus.playAgain()); }

void pauseOrResume() { act(menus.togglePause()); }

// The free camera looks around a match on screen; the menus have no use for it.
void flipFreeCameraDuringMatch() {
    if (toggles.freeCameraMode || !menus.matchStands()) toggleFreeCameraMode();
}

// Escape and the gamepad's Start: the pause menu during a match, the menu's way back
// elsewhere (on the title: quit).
void escape() {
    if (watchedReplay && !menus.showsMenu())
        glfwSetWindowShouldClose(window, GLFW_TRUE);  // a replay is watched, not played
    else if (menus.showsMenu())
        act(menus.press(MenuInput::Back));
    else
        pauseOrResume();
}

// A key's or a button's meaning in a menu.
struct MenuKey {
    int key;
    MenuInput input;
};

const MenuKey menuKeys[] = {
    {GLFW_KEY_UP, MenuInput::Up},         {GLFW_KEY_W, MenuInput::Up},
    {GLFW_KEY_DOWN, MenuInput::Down},     {GLFW_KEY_S, MenuInput::Down},
    {GLFW_KEY_LEFT, MenuInput::Left},     {GLFW_KEY_A, MenuInput::Left},
    {GLFW_KEY_RIGHT, MenuInput::Right},   {GLFW_KEY_D, MenuInput::Right},
    {GLFW_KEY_ENTER, MenuInput::Confirm}, {GLFW_KEY_KP_ENTER, MenuInput::Confirm},
    {GLFW_KEY_SPACE, MenuInput::Confirm},
};

bool handleMenuKey(int key) {
    for (const MenuKey& row : menuKeys) {
        if (row.key != key) continue;
        act(menus.press(row.input));
        return true;
    }
    return false;
}

// A stick or d-pad pushed past this far counts as one step through a menu.
constexpr float kPadMenuPush = 0.5f;

std::optional<MenuInput> padMenuInput(const PadControls& pad) {
    if (pad.accept) return MenuInput::Confirm;
    if (pad.cancel) return MenuInput::Back;
    if (pad.forward > kPadMenuPush) return MenuInput::Up;
    if (pad.forward < -kPadMenuPush) return MenuInput::Down;
    if (pad.right > kPadMenuPush) return MenuInput::Right;
    if (pad.right < -kPadMenuPush) return MenuInput::Left;
    return std::nullopt;
}

// One menu step per push: the pad must come back to rest before the next one counts.
void steerMenuWithPad(const PadControls& now, const PadControls& before) {
    const std::optional<MenuInput> input = padMenuInput(now);
    if (input && input != padMenuInput(before)) act(menus.press(*input));
}

void flipWireframeMode() {
    toggles.wireframeMode = !toggles.wireframeMode;
    glPolygonMode(GL_FRONT_AND_BACK, toggles.wireframeMode ? GL_LINE : GL_FILL);
}

void flipHudAndCulling() {
    toggles.hudVisible = !toggles.hudVisible;
    toggles.cullingEnabled = !toggles.cullingEnabled;
    if (toggles.cullingEnabled)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
}

// The window-size callback overwrites the current size while full screen, so the size
// to come back to is kept apart. A minimised window (size 0) keeps the one before.
void rememberWindowedSize() {
    if (glfwGetWindowMonitor(window) || settings.width <= 0 || settings.height <= 0) return;
    settings.windowedWidth = settings.width;
    settings.windowedHeight = settings.height;
}


// Shots count only while the match is played, never in the free camera.
bool weaponsLive() { return !toggles.freeCameraMode && menus.screen() == Screen::Playing; }

void pressFireFromPad() {
    if (weaponsLive()) heldFire.press(HeldFire::Source::Gamepad, *buttons);
}

void releaseFireFromPad() { heldFire.release(HeldFire::Source::Gamepad); }

void askForHeavyShot() {
    if (weaponsLive()) buttons->mouseRight = true;
}

void flipDebugWireframes() { game.debugger->toggleWireframes(); }
void flipDebugBoundingBoxes() { game.debugger->toggleBoundingBoxes(); }

struct CommandKey {
    int key;
    int action;  // the action that triggers it: some act on press, some on release
    void (*run)();
};

const CommandKey commandKeys[] = {
    {GLFW_KEY_P, kPress, &flipFreeCameraDuringMatch},
    {GLFW_KEY_O, kPress, &flipShowFrameStats},
    {GLFW_KEY_R, kPress, &playAgainOnceDecided},
    {GLFW_KEY_ESCAPE, kPress, &escape},
    {GLFW_KEY_F1, kRelease, &flipWireframeMode},
    {GLFW_KEY_F2, kRelease, &flipHudAndCulling},
    {GLFW_KEY_F3, kPress, &flipDebugWireframes},
    {GLFW_KEY_F4, kPress, &flipDebugBoundingBoxes},
    {GLFW_KEY_F6, kPress, &toggleFullScreen},
};

// The gamepad's buttons, acting on the change from one sample to the next as keys act on
// their press or release.
struct PadButton {
    bool PadControls::*button;
    int action;
    void (*run)();
};

const PadButton padButtons[] = {
    {&PadControls::fire, kPress, &pressFireFromPad},
    {&PadControls::fire, kRelease, &releaseFireFromPad},
    {&PadControls::heavy, kPress, &askForHeavyShot},
    {&PadControls::start, kPress, &pauseOrResume},
    {&PadControls::back, kRelease, &flipHudAndCulling},
};

constexpr int kUnchanged = -1;

int change(bool now, bool before) {
    if (now == before) return kUnchanged;
    return now ? kPress : kRelease;
}

void steerWithPad(const PadControls& pad) {
    const bool live = weaponsLive();
    buttons->padRight = live ? pad.right : 0.0f;
    buttons->padForward = live ? pad.forward : 0.0f;
    buttons->padUp = live ? pad.up : 0.0f;
}

bool handleMovementKey(int key, int action) {
    for (const MovementKey& row : movementKeys) {
        if (row.key != key) continue;
        ButtonPressedNew& b = *buttons;
        if (action == kPress && weaponsLive() && !(b.*row.block)) b.*row.flag = true;
        if (action == kRelease) b.*row.flag = false;
        return true;
    }
    return false;
}

void enterFreeCameraMode() {
    camera->viewProjection = camera->projection * camera->view;
    freeCamera.savedViewProjection = camera->viewProjection;
    freeCamera.savedPosition = camera->position;
    freeCamera.refreshRateDigits.clear();
}

// The note on screen says what the line on stdout says.
void takeTypedRefreshRate() {
    if (freeCamera.refreshRateDigits.empty()) return;
    if (const std::optional<int> rate = typedRefreshRate(freeCamera.refreshRateDigits)) {
        settings.refreshRate = *rate;
        frameCapNote.show(*rate);
    } else {
        frameCapNote.showRefused(settings.refreshRate, kLeastRefreshRate, kMostRefreshRate);
    }
}

void leaveFreeCameraMode() {
    camera->viewProjection = freeCamera.savedViewProjection;
    camera->position = freeCamera.savedPosition;
    camera->firstMouse = true;
    camera->front = glm::vec3(0.0f, -0.1f, -1.0f);
    camera->right = glm::vec3(1.0f, 0.0f, 0.0f);
    camera->up = glm::vec3(0.0f, 1.0f, 0.0f);
    takeTypedRefreshRate();
}

}  // namespace

std::optional<int> typedRefreshRate(const std::string& digits) {
    if (digits.empty()) return std::nullopt;
    // Any run of digits converts; one too long for a double comes out as infinity.
    const double value = std::strtod(digits.c_str(), nullptr);
    if (!(value >= kLeastRefreshRate && value <= kMostRefreshRate)) {
        std::cout << "Typed refresh_rate " << digits << " is not a number from " << kLeastRefreshRate
                  << " to " << kMostRefreshRate << "; keeping " << settings.refreshRate << "."
                  << std::endl;
        return std::nullopt;
    }
    const int rate = static_cast<int>(value);
    std::cout << "Frame cap set to " << rate << " frames per second (refresh_rate)." << std::endl;
    return rate;
}

void toggleFreeCameraMode() {
    if (toggles.freeCameraMode)
        leaveFreeCameraMode();
    else
        enterFreeCameraMode();
    toggles.freeCameraMode = !toggles.freeCameraMode;
    buttons->paused = !buttons->paused;
}

void onKey(GLFWwindow*, int key, int, int action, int) {
    if (action == GLFW_REPEAT) return;
    if (action == kPress && menus.showsMenu() && handleMenuKey(key)) return;
    if (handleMovementKey(key, action)) return;
    for (const CommandKey& row : commandKeys)
        if (row.key == key && row.action == action) row.run();
}

// The left button fires once on its press and keeps firing while held; a release counts
// in free-camera mode too, as a key's does.
void onMouseButton(GLFWwindow*, int button, int action, int) {
    if (button == GLFW_MOUSE_BUTTON_LEFT && action == kRelease)
        heldFire.release(HeldFire::Source::Mouse);
    if (action != kPress) return;
    if (menus.showsMenu()) {
        if (button == GLFW_MOUSE_BUTTON_LEFT && pointAtMenuLine()) act(menus.press(MenuInput::Confirm));
        return;
    }
    if (!weaponsLive()) return;
    if (button == GLFW_MOUSE_BUTTON_LEFT) heldFire.press(HeldFire::Source::Mouse, *buttons);
    if (button == GLFW_MOUSE_BUTTON_RIGHT) buttons->mouseRight = true;
}

bool pointAtMenuLine() {
    double x = 0.0;
    double y = 0.0;
    glfwGetCursorPos(window, &x, &y);
    const std::optional<std::size_t> item = menuItemAt(menus, static_cast<float>(x),
                                                       static_cast<float>(y), settings.width,
                                                       settings.height);
    if (item) menus.point(*item);
    return item.has_value();
}

void act(MenuCommand command) {
    switch (command) {
        case MenuCommand::StartMatch: toggles.restartRequested = true; break;
        case MenuCommand::GoToTitle: toggles.titleRequested = true; break;
        case MenuCommand::QuitGame: glfwSetWindowShouldClose(window, GLFW_TRUE); break;
        case MenuCommand::ApplyOption: toggles.optionChanged = true; break;
        case MenuCommand::SaveOptions:
            if (userSettings) saveUserSettings(*userSettings, settings);
            break;
        case MenuCommand::PauseMatch:
        case MenuCommand::BeginPlay: dropHeldControls(); break;
        case MenuCommand::ResumeMatch:
        case MenuCommand::ShowResults:
        case MenuCommand::None: break;
    }
}

// Nothing pressed before play, or before a pause, reaches the match: no shot queued in a
// countdown, no key held through a menu.
void dropHeldControls() {
    heldFire.release(HeldFire::Source::Mouse);
    heldFire.release(HeldFire::Source::Gamepad);
    buttons->clearAllButPause();
}

void toggleFullScreen() {
    toggles.fullscreenToggle = !toggles.fullscreenToggle;
    menus.options.fullscreen = toggles.fullscreenToggle;  // the options screen shows it as it is
    if (toggles.fullscreenToggle) {
        rememberWindowedSize();
        glfwSetWindowMonitor(window, glfwGetPrimaryMonitor(), 0, 0, settings.width,
                             settings.height, settings.refreshRate);
    } else {
        glfwSetWindowMonitor(window, nullptr, 0, 0, settings.windowedWidth,
                             settings.windowedHeight, settings.refreshRate);
    }
}

void onJoystick(int joystick, int event) { gamepad.joystickEvent(joystick, event); }

void onCursorPos(GLFWwindow*, double x, double y) {
    const bool moved = menuPointer.seen && (x != menuPointer.x || y != menuPointer.y);
    menuPointer = MenuPointer{x, y, true};
    if (moved && menus.showsMenu()) pointAtMenuLine();
}

void onGamepadSample(const PadControls& now, const PadControls& before) {
    steerWithPad(now);
    if (menus.showsMenu()) {
        steerMenuWithPad(now, before);
        if (change(now.start, before.start) == kPress) escape();
        return;
    }
    for (const PadButton& row : padButtons)
        if (change(now.*row.button, before.*row.button) == row.action) row.run();
}

void pollGamepad() {
    const PadControls before = gamepad.latest();
    onGamepadSample(gamepad.poll(), before);
}

void onChar(GLFWwindow*, unsigned int codePoint) {
    if (toggles.freeCameraMode && codePoint >= '0' && codePoint <= '9')
        freeCamera.refreshRateDigits.push_back(static_cast<char>(codePoint));
}

void fitToWindow(HUD& element, int width, int height) {
    element.windowWidth = static_cast<float>(width);
    element.windowHeight = static_cast<float>(height);
    element.setFill(static_cast<int>(element.currentFill), static_cast<int>(element.maxFill));
    element.readOneMipLevel();
}

void onWindowSize(GLFWwindow*, int width, int height) {
    settings.width = width;
    settings.height = height;
    if (width <= 0 || height <= 0) return;  // minimised: keep everything as it was
    glViewport(0, 0, width, height);
    game.windowWidth = static_cast<float>(width);  // the bars of the next match fit too
    game.windowHeight = static_cast<float>(height);
    camera->setViewportSize(static_cast<float>(width), static_cast<float>(height));
    for (HUD* picture : {skyPicture.get(), winPicture.get(), losePicture.get()})
        if (picture) fitToWindow(*picture, width, height);
    for (const std::shared_ptr<HUD>& element : game.hudElements) fitToWindow(*element, width, height);
    if (aimReticle) aimReticle->fitToWindow(static_cast<float>(width), static_cast<float>(height));
    if (postProcessing) postProcessing->resize(width, height);
}

void registerInputCallbacks(GLFWwindow* target) {
    glfwSetKeyCallback(target, onKey);
    glfwSetMouseButtonCallback(target, onMouseButton);
    glfwSetWindowSizeCallback(target, onWindowSize);
    glfwSetCharCallback(target, onChar);
    glfwSetCursorPosCallback(target, onCursorPos);
    if (!settings.gamepadEnabled) return;
    glfwSetJoystickCallback(onJoystick);
    gamepad.enable(settings.gamepadDeadzone);
}

FreeFlightKeys heldFlightKeys(GLFWwindow* keyboard) {
    const auto held = [keyboard](int key) { return glfwGetKey(keyboard, key) == GLFW_PRESS; };
    FreeFlightKeys keys;
    keys.forward = held(GLFW_KEY_W);
    keys.back = held(GLFW_KEY_S);
    keys.left = held(GLFW_KEY_A);
    keys.right = held(GLFW_KEY_D);
    keys.up = held(GLFW_KEY_SPACE);
    keys.down = held(GLFW_KEY_C);
    keys.fast = held(GLFW_KEY_LEFT_SHIFT);
    return keys;
}
