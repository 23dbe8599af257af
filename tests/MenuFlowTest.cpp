#include "app/MenuFlow.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using In = MenuInput;

struct Step {
    In input;
    Screen screen;
    std::size_t selected;
    MenuCommand command;
};

// From the title, one input at a time: where each leads and what the shell must do.
void walk(MenuFlow& flow, std::initializer_list<Step> steps) {
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "input " << ++n);
        EXPECT_EQ(flow.press(step.input), step.command);
        EXPECT_EQ(flow.screen(), step.screen);
        EXPECT_EQ(flow.selected(), step.selected);
    }
}

MenuFlow atTitle() { return MenuFlow(OptionValues{}, Difficulty::Normal); }

}  // namespace

TEST(MenuFlow, KeysWalkTheTitleOptionsAndBestTimes) {
    MenuFlow flow = atTitle();
    walk(flow, {
        {In::Up, Screen::Title, 4, MenuCommand::None},    // wraps to Quit
        {In::Down, Screen::Title, 0, MenuCommand::None},  // and back to Start
        {In::Down, Screen::Title, 1, MenuCommand::None},
        {In::Right, Screen::Title, 1, MenuCommand::None},  // Difficulty: Hard
        {In::Confirm, Screen::Title, 1, MenuCommand::None},  // and round to Easy
        {In::Down, Screen::Title, 2, MenuCommand::None},
        {In::Confirm, Screen::Options, 0, MenuCommand::None},
        {In::Left, Screen::Options, 0, MenuCommand::ApplyOption},  // music 30% -> 20%
        {In::Down, Screen::Options, 1, MenuCommand::None},
        {In::Down, Screen::Options, 2, MenuCommand::None},
        {In::Right, Screen::Options, 2, MenuCommand::ApplyOption},  // picture Auto -> 0.5
        {In::Back, Screen::Title, 0, MenuCommand::SaveOptions},
        {In::Down, Screen::Title, 1, MenuCommand::None},
        {In::Down, Screen::Title, 2, MenuCommand::None},
        {In::Down, Screen::Title, 3, MenuCommand::None},
        {In::Confirm, Screen::BestTimes, 0, MenuCommand::None},
        {In::Back, Screen::Title, 0, MenuCommand::None},
        {In::Back, Screen::Title, 0, MenuCommand::QuitGame},  // Escape on the title quits
    });
    EXPECT_EQ(flow.difficulty, Difficulty::Easy);
    EXPECT_FLOAT_EQ(flow.options.musicVolume, 0.2f);
    EXPECT_EQ(flow.options.renderScale, std::optional<float>(0.5f));
}

// Start, the countdown, the match, its pause menu: the match clock runs only in play.
TEST(MenuFlow, TheMatchStandsThroughTheCountdownAndThePauseMenu) {
    MenuFlow flow = atTitle();
    EXPECT_TRUE(flow.matchStands());
    EXPECT_EQ(flow.press(In::Confirm), MenuCommand::StartMatch);
    EXPECT_EQ(flow.screen(), Screen::Countdown);
    EXPECT_EQ(flow.countdownDigit(), 3);
    EXPECT_EQ(flow.tick(0.9f, false, 0.0f), MenuCommand::None);
    EXPECT_EQ(flow.countdownDigit(), 2);
    EXPECT_TRUE(flow.matchStands());
    EXPECT_EQ(flow.togglePause(), MenuCommand::PauseMatch);  // paused mid-countdown...
    EXPECT_EQ(flow.tick(5.0f, false, 0.0f), MenuCommand::None);
    EXPECT_EQ(flow.togglePause(), MenuCommand::ResumeMatch);  // ...it goes on where it was
    EXPECT_EQ(flow.countdownDigit(), 2);
    EXPECT_EQ(flow.tick(1.2f, false, 0.0f), MenuCommand::BeginPlay);
    EXPECT_FALSE(flow.matchStands());
    walk(flow, {{In::Confirm, Screen::Playing, 0, MenuCommand::None}});  // no menu in play

    EXPECT_EQ(flow.togglePause(), MenuCommand::PauseMatch);
    EXPECT_TRUE(flow.matchStands());
    walk(flow, {
        {In::Down, Screen::PauseMenu, 1, MenuCommand::None},
        {In::Down, Screen::PauseMenu, 2, MenuCommand::None},
        {In::Confirm, Screen::Options, 0, MenuCommand::None},
        {In::Back, Screen::PauseMenu, 0, MenuCommand::SaveOptions},
        {In::Back, Screen::Playing, 0, MenuCommand::ResumeMatch},
    });
    EXPECT_EQ(flow.playAgain(), MenuCommand::None);  // R means nothing before the end
}

// The kill: the wreck falls for a while before the panel offers Play again and Title.
TEST(MenuFlow, ADecidedMatchShowsItsResultsAfterTheWreckFalls) {
    MenuFlow flow = atTitle();
    flow.startAt(Difficulty::Hard);
    flow.tick(MenuFlow::kCountdownSeconds, false, 0.0f);
    EXPECT_EQ(flow.tick(0.02f, true, 0.0f), MenuCommand::None);
    EXPECT_EQ(flow.screen(), Screen::Ending);
    EXPECT_FALSE(flow.matchStands());  // the wreck falls, the smoke rises
    EXPECT_EQ(flow.tick(0.02f, true, 2.4f), MenuCommand::None);
    EXPECT_EQ(flow.tick(0.02f, true, MenuFlow::kWreckSeconds), MenuCommand::ShowResults);
    walk(flow, {
        {In::Down, Screen::Results, 1, MenuCommand::None},
        {In::Confirm, Screen::Title, 0, MenuCommand::GoToTitle},
    });
    flow.startAt(Difficulty::Hard);
    flow.tick(MenuFlow::kCountdownSeconds, false, 0.0f);
    flow.tick(0.0f, true, MenuFlow::kWreckSeconds);
    flow.tick(0.0f, true, MenuFlow::kWreckSeconds);
    EXPECT_EQ(flow.playAgain(), MenuCommand::StartMatch);
    EXPECT_EQ(flow.screen(), Screen::Countdown);
}
