#include "app/MenuFlow.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr MenuItem kTitleItems[] = {MenuItem::Start, MenuItem::Difficulty, MenuItem::Options,
                                    MenuItem::BestTimes, MenuItem::Quit};
constexpr MenuItem kPauseItems[] = {MenuItem::Resume, MenuItem::Restart, MenuItem::Options,
                                    MenuItem::QuitToTitle, MenuItem::QuitGame};
constexpr MenuItem kOptionItems[] = {MenuItem::MusicVolume, MenuItem::EffectsVolume,
                                     MenuItem::Picture,     MenuItem::FullScreen,
                                     MenuItem::ScreenShake, MenuItem::Back};
constexpr MenuItem kBestTimesItems[] = {MenuItem::Back};
constexpr MenuItem kResultsItems[] = {MenuItem::PlayAgain, MenuItem::Title};

struct ScreenMenu {
    Screen screen;
    const MenuItem* items;
    std::size_t count;
};

constexpr ScreenMenu kMenus[] = {
    {Screen::Title, kTitleItems, std::size(kTitleItems)},
    {Screen::PauseMenu, kPauseItems, std::size(kPauseItems)},
    {Screen::Options, kOptionItems, std::size(kOptionItems)},
    {Screen::BestTimes, kBestTimesItems, std::size(kBestTimesItems)},
    {Screen::Results, kResultsItems, std::size(kResultsItems)},
};

const ScreenMenu* menuOf(Screen screen) {
    for (const ScreenMenu& menu : kMenus)
        if (menu.screen == screen) return &menu;
    return nullptr;
}

constexpr float kVolumeStep = 0.1f;
constexpr std::optional<float> kPictures[] = {std::nullopt, 0.5f, 0.75f, 1.0f};

// One volume step up or down; Confirm steps up and wraps from full to silent.
float steppedVolume(float volume, int direction, bool wraps) {
    const float tenths = std::round(volume / kVolumeStep) + static_cast<float>(direction);
    if (wraps && tenths > 10.0f) return 0.0f;
    return std::clamp(tenths, 0.0f, 10.0f) * kVolumeStep;
}

template <class T, std::size_t N>
T cycled(const T (&choices)[N], const T& now, int direction) {
    std::size_t at = 0;
    while (at < N && !(choices[at] == now)) ++at;
    if (at == N) at = 0;
    return choices[(at + N + static_cast<std::size_t>(direction + static_cast<int>(N))) % N];
}

}  // namespace

MenuFlow::MenuFlow(const OptionValues& startOptions, Difficulty startDifficulty)
    : difficulty(startDifficulty), options(startOptions) {}

const MenuItem* MenuFlow::items() const {
    const ScreenMenu* menu = menuOf(current);
    return menu ? menu->items : nullptr;
}

std::size_t MenuFlow::itemCount() const {
    const ScreenMenu* menu = menuOf(current);
    return menu ? menu->count : 0;
}

void MenuFlow::show(Screen screen) {
    current = screen;
    selection = 0;
    if (screen == Screen::Countdown) countdownLeft = kCountdownSeconds;
}

void MenuFlow::point(std::size_t index) {
    if (index < itemCount()) selection = index;
}

MenuCommand MenuFlow::press(MenuInput input) {
    const std::size_t count = itemCount();
    if (count == 0) return MenuCommand::None;
    const MenuItem item = items()[selection];
    switch (input) {
        case MenuInput::Up: selection = (selection + count - 1) % count; return MenuCommand::None;
        case MenuInput::Down: selection = (selection + 1) % count; return MenuCommand::None;
        case MenuInput::Left: return change(item, -1);
        case MenuInput::Right: return change(item, +1);
        case MenuInput::Confirm: return confirm(item);
        case MenuInput::Back: return back();
    }
    return MenuCommand::None;
}

MenuCommand MenuFlow::confirm(MenuItem item) {
    switch (item) {
        case MenuItem::Start:
        case MenuItem::Restart:
        case MenuItem::PlayAgain: show(Screen::Countdown); return MenuCommand::StartMatch;
        case MenuItem::Options:
            optionsOpenedFrom = current;
            show(Screen::Options);
            return MenuCommand::None;
        case MenuItem::BestTimes: show(Screen::BestTimes); return MenuCommand::None;
        case MenuItem::Quit:
        case MenuItem::QuitGame: return MenuCommand::QuitGame;
        case MenuItem::Resume: return togglePause();
        case MenuItem::QuitToTitle:
        case MenuItem::Title: show(Screen::Title); return MenuCommand::GoToTitle;
        case MenuItem::Back: return back();
        default: return change(item, +1);
    }
}

MenuCommand MenuFlow::change(MenuItem item, int direction) {
    const bool confirmed = direction > 0;
    switch (item) {
        case MenuItem::Difficulty: {
            constexpr Difficulty kAll[] = {Difficulty::Easy, Difficulty::Normal, Difficulty::Hard};
            difficulty = cycled(kAll, difficulty, direction);
            return MenuCommand::None;
        }
        case MenuItem::MusicVolume:
            options.musicVolume = steppedVolume(options.musicVolume, direction, confirmed);
            break;
        case MenuItem::EffectsVolume:
            options.effectsVolume = steppedVolume(options.effectsVolume, direction, confirmed);
            break;
        case MenuItem::Picture: options.renderScale = cycled(kPictures, options.renderScale, direction); break;
        case MenuItem::FullScreen: options.fullscreen = !options.fullscreen; break;
        case MenuItem::ScreenShake: options.screenShake = !options.screenShake; break;
        default: return MenuCommand::None;
    }
    changedOption = item;
    return MenuCommand::ApplyOption;
}

MenuCommand MenuFlow::back() {
    switch (current) {
        case Screen::Title: return MenuCommand::QuitGame;
        case Screen::Options: {
            const Screen from = optionsOpenedFrom;
            show(from);
            return MenuCommand::SaveOptions;
        }
        case Screen::BestTimes: show(Screen::Title); return MenuCommand::None;
        case Screen::PauseMenu: return togglePause();
        case Screen::Results: show(Screen::Title); return MenuCommand::GoToTitle;
        default: return MenuCommand::None;
    }
}

MenuCommand MenuFlow::togglePause() {
    switch (current) {
        case Screen::Countdown:
        case Screen::Playing:
        case Screen::Ending:
            pausedFrom = current;
            show(Screen::PauseMenu);
            return MenuCommand::PauseMatch;
        case Screen::PauseMenu: {
            const Screen from = pausedFrom;
            const float countdown = countdownLeft;
            show(from);
            if (from == Screen::Countdown) countdownLeft = countdown;  // it goes on where it was
            return MenuCommand::ResumeMatch;
        }
        default: return back();
    }
}

MenuCommand MenuFlow::playAgain() {
    if (current != Screen::Ending && current != Screen::Results) return MenuCommand::None;
    show(Screen::Countdown);
    return MenuCommand::StartMatch;
}

MenuCommand MenuFlow::tick(float wallSeconds, bool matchDecided, float matchSecondsSinceKill) {
    if (current == Screen::Countdown) {
        countdownLeft -= wallSeconds;
        if (countdownLeft > 0.0f) return MenuCommand::None;
        show(Screen::Playing);
        return MenuCommand::BeginPlay;
    }
    if (current == Screen::Playing && matchDecided) show(Screen::Ending);
    if (current == Screen::Ending && matchSecondsSinceKill >= kWreckSeconds) {
        show(Screen::Results);
        return MenuCommand::ShowResults;
    }
    return MenuCommand::None;
}

void MenuFlow::startAt(Difficulty chosen) {
    difficulty = chosen;
    show(Screen::Countdown);
}

int MenuFlow::countdownDigit() const {
    const float third = kCountdownSeconds / 3.0f;
    return std::clamp(static_cast<int>(std::ceil(countdownLeft / third)), 1, 3);
}

bool MenuFlow::matchStands() const {
    return current != Screen::Playing && current != Screen::Ending && current != Screen::Results;
}

bool MenuFlow::showsMatchHud() const {
    switch (current) {
        case Screen::Title:
        case Screen::BestTimes:
        case Screen::Results: return false;
        case Screen::Options: return optionsOpenedFrom == Screen::PauseMenu;
        default: return true;
    }
}
