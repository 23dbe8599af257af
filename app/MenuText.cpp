#include "app/MenuText.h"

#include <cmath>

namespace {

constexpr std::string_view kGameName = "QEX";
constexpr std::size_t kBestTimeLines = 3;  // one per difficulty, above Back

const char* labelOf(MenuItem item) {
    switch (item) {
        case MenuItem::Start: return "Start";
        case MenuItem::Difficulty: return "Difficulty";
        case MenuItem::Options: return "Options";
        case MenuItem::BestTimes: return "Best times";
        case MenuItem::Quit: return "Quit";
        case MenuItem::Resume: return "Resume";
        case MenuItem::Restart: return "Restart";
        case MenuItem::QuitToTitle: return "Quit to title";
        case MenuItem::QuitGame: return "Quit game";
        case MenuItem::MusicVolume: return "Music volume";
        case MenuItem::EffectsVolume: return "Effects volume";
        case MenuItem::Picture: return "Picture";
        case MenuItem::FullScreen: return "Full screen";
        case MenuItem::ScreenShake: return "Screen shake";
        case MenuItem::Back: return "Back";
        case MenuItem::PlayAgain: return "Play again (R)";
        case MenuItem::Title: return "Title";
    }
    return "";
}

int percentOf(float volume) { return static_cast<int>(std::lround(volume * 100.0f)); }

const char* onOff(bool on) { return on ? "On" : "Off"; }

void addItem(const MenuFlow& flow, MenuItem item, MenuView& view) {
    const OptionValues& o = flow.options;
    const char* label = labelOf(item);
    switch (item) {
        case MenuItem::Difficulty:
            view.addLine("%s  < %s >", label, nameOf(flow.difficulty).data());
            break;
        case MenuItem::MusicVolume: view.addLine("%s  < %d%% >", label, percentOf(o.musicVolume)); break;
        case MenuItem::EffectsVolume:
            view.addLine("%s  < %d%% >", label, percentOf(o.effectsVolume));
            break;
        case MenuItem::Picture:
            if (o.renderScale)
                view.addLine("%s  < %.2f >", label, static_cast<double>(*o.renderScale));
            else
                view.addLine("%s  < Auto >", label);
            break;
        case MenuItem::FullScreen: view.addLine("%s  < %s >", label, onOff(o.fullscreen)); break;
        case MenuItem::ScreenShake: view.addLine("%s  < %s >", label, onOff(o.screenShake)); break;
        default: view.addLine("%s", label); break;
    }
}

void addBestTimes(const BestWinTimes& best, MenuView& view) {
    for (std::size_t i = 0; i < kBestTimeLines; ++i) {
        const char* name = nameOf(static_cast<Difficulty>(i)).data();
        if (!best[i]) {
            view.addLine("%-8s  \u2014", name);
            continue;
        }
        const long tenths = static_cast<long>(*best[i] * 10.0f);
        view.addLine("%-8s  %ld:%02ld.%ld", name, tenths / 600, tenths / 10 % 60, tenths % 10);
    }
}

MenuView::Placement placementOf(Screen screen) {
    if (screen == Screen::Title) return MenuView::Placement::Title;
    if (screen == Screen::Results) return MenuView::Placement::UnderPicture;
    return MenuView::Placement::Panel;
}

// Lines before the first item: the best times stand above their screen's Back.
std::size_t firstItemLine(Screen screen) {
    return screen == Screen::BestTimes ? kBestTimeLines : 0;
}

std::string_view headingOf(Screen screen) {
    switch (screen) {
        case Screen::Title: return kGameName;
        case Screen::Options: return "OPTIONS";
        case Screen::BestTimes: return "BEST TIMES";
        case Screen::PauseMenu: return "PAUSED";
        default: return {};
    }
}

std::string_view hintOf(Screen screen) {
    if (screen == Screen::Options) return "Left / Right to change";
    if (screen == Screen::Title) return "Arrows or W / S, Enter to choose";
    return {};
}

}  // namespace

void describeMenu(const MenuFlow& flow, const BestWinTimes& best, MenuView& view) {
    view.placement = placementOf(flow.screen());
    view.heading = headingOf(flow.screen());
    view.hint = hintOf(flow.screen());
    view.lineCount = 0;
    if (flow.screen() == Screen::BestTimes) addBestTimes(best, view);
    for (std::size_t i = 0; i < flow.itemCount(); ++i) addItem(flow, flow.items()[i], view);
    view.selected = firstItemLine(flow.screen()) + flow.selected();
}

std::optional<std::size_t> menuItemAt(const MenuFlow& flow, float x, float y, int width,
                                      int height) {
    if (!flow.showsMenu() || width <= 0 || height <= 0) return std::nullopt;
    MenuView layout;
    layout.placement = placementOf(flow.screen());
    const std::size_t first = firstItemLine(flow.screen());
    layout.lineCount = first + flow.itemCount();
    const std::optional<std::size_t> line =
        menuLineAt(layout, x, y, static_cast<float>(width), static_cast<float>(height));
    if (!line || *line < first) return std::nullopt;
    return *line - first;
}
