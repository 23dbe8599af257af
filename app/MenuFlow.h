#pragma once

#include "game/Difficulty.h"

#include <cstddef>
#include <optional>

/// Where the player is, from the first frame to the last: the title with its menus, the
/// countdown, the match, its pause menu, the wreck's fall and the results.
enum class Screen { Title, Options, BestTimes, Countdown, Playing, PauseMenu, Ending, Results };

/// The lines of the menus, each an action or a setting that can be changed in place.
enum class MenuItem {
    Start, Difficulty, Options, BestTimes, Quit,
    Resume, Restart, QuitToTitle, QuitGame,
    MusicVolume, EffectsVolume, Picture, FullScreen, ScreenShake, Back,
    PlayAgain, Title,
};

/// What a key, a click or a button means to a menu.
enum class MenuInput { Up, Down, Left, Right, Confirm, Back };

/// What the shell must do after an input or a tick; the flow itself has already moved on.
enum class MenuCommand {
    None,
    StartMatch,    ///< a new match at the chosen difficulty, from its countdown
    PauseMatch,    ///< the match stands while the pause menu shows
    ResumeMatch,   ///< the pause menu closed
    BeginPlay,     ///< the countdown is over: the match clock runs from now
    ShowResults,   ///< the wreck has fallen long enough: the panel shows
    GoToTitle,     ///< a fresh, standing match behind the title
    QuitGame,
    ApplyOption,   ///< `changedOption` has a new value in `options`
    SaveOptions,   ///< the options screen closed: keep what it set
};

/// The settings the options screen shows and changes.
struct OptionValues {
    float musicVolume = 0.3f;    ///< 0 to 1
    float effectsVolume = 0.6f;  ///< 0 to 1
    std::optional<float> renderScale;  ///< nothing: chosen by the frame rate ("Auto")
    bool fullscreen = false;
    bool screenShake = true;
};

/// The screens and menus as a state machine over plain inputs, with no window or GL, so
/// that every path can be tested as a table. Items with a value (difficulty, volumes,
/// picture, full screen, shake) change in place with Left, Right or Confirm.
class MenuFlow {
public:
    static constexpr float kCountdownSeconds = 2.0f;  ///< 3-2-1, wall time; the match stands
    static constexpr float kWreckSeconds = 2.5f;      ///< match time from the kill to the panel

    MenuFlow(const OptionValues& options, Difficulty difficulty);

    Screen screen() const { return current; }
    /// The items of the screen shown, and which one is selected; none outside the menus.
    const MenuItem* items() const;
    std::size_t itemCount() const;
    std::size_t selected() const { return selection; }
    bool showsMenu() const { return itemCount() > 0; }

    /// A menu input on the screen shown.
    MenuCommand press(MenuInput input);
    /// The pointer is over item `index`: it becomes the selection.
    void point(std::size_t index);
    /// Escape or the gamepad's Start during a match: the pause menu, or back from it.
    MenuCommand togglePause();
    /// R once the match is decided: a new match.
    MenuCommand playAgain();
    /// Once a loop pass: the countdown runs by `wallSeconds`, and a decided match shows
    /// its panel kWreckSeconds of match time after the kill.
    MenuCommand tick(float wallSeconds, bool matchDecided, float matchSecondsSinceKill);
    /// Straight into a match, as the command line's difficulty asks.
    void startAt(Difficulty chosen);

    /// The countdown's digit now: 3, 2 or 1.
    int countdownDigit() const;
    /// The match stands: no step is taken on this screen.
    bool matchStands() const;
    /// The match's bars, clock and markers belong on this screen: not on the title's side,
    /// nor under the results.
    bool showsMatchHud() const;

    Difficulty difficulty;
    OptionValues options;
    MenuItem changedOption = MenuItem::MusicVolume;

private:
    void show(Screen screen);
    MenuCommand confirm(MenuItem item);
    MenuCommand change(MenuItem item, int direction);
    MenuCommand back();

    Screen current = Screen::Title;
    Screen optionsOpenedFrom = Screen::Title;
    Screen pausedFrom = Screen::Playing;
    std::size_t selection = 0;
    float countdownLeft = 0.0f;  ///< wall seconds
};
