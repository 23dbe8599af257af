#include "app/Settings.h"
#include "app/UserSettings.h"

#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

Settings loadQuietly(const std::string& path, std::string* printed = nullptr) {
    testing::internal::CaptureStdout();
    Settings s = loadSettings(path);
    const std::string out = testing::internal::GetCapturedStdout();
    if (printed) *printed = out;
    return s;
}

Settings layered(const std::string& shipped, const std::filesystem::path& user, std::string* printed) {
    testing::internal::CaptureStdout();
    Settings s = loadSettings(shipped, user);
    *printed = testing::internal::GetCapturedStdout();
    return s;
}

void expectDefaults(const Settings& s) {
    const Settings d;
    EXPECT_EQ(s.width, d.width);
    EXPECT_EQ(s.height, d.height);
    EXPECT_EQ(s.refreshRate, d.refreshRate);
    EXPECT_EQ(s.fullscreen, d.fullscreen);
    EXPECT_EQ(s.title, d.title);
    EXPECT_FLOAT_EQ(s.illuminationMultiplier, d.illuminationMultiplier);
    EXPECT_FLOAT_EQ(s.fov, d.fov);
    EXPECT_FLOAT_EQ(s.nearPlane, d.nearPlane);
    EXPECT_FLOAT_EQ(s.farPlane, d.farPlane);
}

}  // namespace

TEST(Settings, MissingFilePrintsOneLineAndKeepsEveryDefault) {
    std::string printed;
    const Settings s = loadQuietly("no/such/settings.ini", &printed);
    EXPECT_EQ(printed,
              "ERROR: Failed to load 'no/such/settings.ini'. Using default values instead.\n");
    expectDefaults(s);
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.height, 800);
    EXPECT_EQ(s.title, "Qex");
}

TEST(Settings, ShippedFileHoldsTheDefaults) {
    std::string printed;
    expectDefaults(loadQuietly(std::string(QEX_SOURCE_DIR) + "/assets/settings.ini", &printed));
    EXPECT_EQ(printed, "");
}

TEST(Settings, IntegersAcceptHexAndNumbersWrittenWithAnExponentOrFraction) {
    const Settings s = loadQuietly(
        writeIni("[window]\nwidth = 0x400\nheight = 1.024e3\nrefresh_rate = 75.0\n"));
    EXPECT_EQ(s.width, 1024);
    EXPECT_EQ(s.height, 1024);
    EXPECT_EQ(s.refreshRate, 75);
}

TEST(Settings, LeadingZeroMeansOctal) {
    EXPECT_EQ(loadQuietly(writeIni("[window]\nwidth = 0100\n")).width, 64);
}

TEST(Settings, UnconvertibleValueFallsBackForThatKeyOnly) {
    const Settings s =
        loadQuietly(writeIni("[window]\nwidth = px\nrefresh_rate = 30\n[camera]\nfar = far\n"));
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.refreshRate, 30);  // the rest of the file still counts
    EXPECT_FLOAT_EQ(s.farPlane, 100.0f);
}

TEST(Settings, BooleansIgnoreCaseAndRejectOtherWords) {
    EXPECT_TRUE(loadQuietly(writeIni("[window]\nfullscreen = Yes\n")).fullscreen);
    EXPECT_TRUE(loadQuietly(writeIni("[window]\nfullscreen = ON\n")).fullscreen);
    EXPECT_FALSE(loadQuietly(writeIni("[window]\nfullscreen = 2\n")).fullscreen);
    EXPECT_FALSE(loadQuietly(writeIni("[camera]\nscreen_shake = Off\n")).screenShake);
}

TEST(Settings, SectionsAndKeysMatchWithoutRegardToCase) {
    const Settings s = loadQuietly(writeIni("[Window]\nWidth = 640\nTITLE = Storm\n"));
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.title, "Storm");
}

TEST(Settings, KeysOnlyCountInTheirOwnSection) {
    const Settings s =
        loadQuietly(writeIni("[window]\nfov = 90\n[camera]\nilluminationMultiplier = 3\n"));
    EXPECT_FLOAT_EQ(s.fov, 60.0f);
    EXPECT_FLOAT_EQ(s.illuminationMultiplier, 1.0f);
}

TEST(Settings, RealsAndTextAreRead) {
    const Settings s = loadQuietly(writeIni(
        "[window]\ntitle = Qex: Night run\nilluminationMultiplier = 2.5\n"
        "[camera]\nfov = 75.5\nnear = 0.5\nfar = 250 ; inline comment\n"));
    EXPECT_EQ(s.title, "Qex: Night run");
    EXPECT_FLOAT_EQ(s.illuminationMultiplier, 2.5f);
    EXPECT_FLOAT_EQ(s.fov, 75.5f);
    EXPECT_FLOAT_EQ(s.nearPlane, 0.5f);
    EXPECT_FLOAT_EQ(s.farPlane, 250.0f);
}

TEST(Settings, SyntaxErrorWarnsWithItsLineAndTheRestStillCounts) {
    std::string printed;
    const std::string path = writeIni("[window]\nwidth = 640\n[window\nheight = 600\n");
    const Settings s = loadQuietly(path, &printed);
    EXPECT_EQ(printed, "WARNING: settings: line 3 of '" + path +
                           "' is not a section, a key = value pair or a comment; it is skipped.\n");
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 600);
}

TEST(Settings, DirectoryInsteadOfAFileIsReportedAsNotLoaded) {
    const TempDir dir;
    std::string printed;
    expectDefaults(loadQuietly(dir.path().string(), &printed));
    EXPECT_EQ(printed, "ERROR: Failed to load '" + dir.path().string() +
                           "'. Using default values instead.\n");
}

// Every value here would leave no window, no scene or an unreadable one. Each gets one
// warning naming its key and value, and that key keeps its default.
TEST(Settings, BadValuesWarnAndKeepTheDefault) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"window", "width", "-800"},         {"window", "width", "100000"},
        {"window", "width", "4294967297"},   {"window", "height", "12px"},
        {"window", "height", ""},            {"window", "refresh_rate", "1e9"},
        {"window", "refresh_rate", "0"},     {"window", "refresh_rate", "-30"},
        {"window", "refresh_rate", "60.5"},  {"window", "fullscreen", "2"},
        {"camera", "fov", "0"},              {"camera", "fov", "180"},
        {"camera", "fov", "-60"},            {"camera", "fov", "nan"},
        {"camera", "fov", "inf"},            {"camera", "near", "0"},
        {"camera", "far", "1e7"},            {"window", "illuminationMultiplier", "nan"},
        {"window", "illuminationMultiplier", "1e30"},
        {"window", "samples", "32"},         {"window", "render_scale", "0.1"},
        {"window", "render_scale", "fast"},  {"sound", "music_volume", "1.5"},
        {"sound", "effects_volume", "-1"},   {"window", "fullscreen", "maybe"},
        {"camera", "screen_shake", "maybe"}, {"gamepad", "deadzone", "1"},
        {"gamepad", "enabled", "yes please"},
    };
    for (const Case& c : cases) {
        std::string printed;
        const Settings s = loadQuietly(
            writeIni("[" + std::string(c.section) + "]\n" + c.key + " = " + c.value + "\n"),
            &printed);
        const std::string context = std::string(c.key) + " = " + c.value;
        EXPECT_EQ(printed.rfind("WARNING: settings: [" + std::string(c.section) + "] " + c.key +
                                    " = \"" + c.value + "\"",
                                0),
                  0u)
            << context << " printed " << printed;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << context;
        expectDefaults(s);
        const Settings d;
        EXPECT_EQ(s.samples, d.samples) << context;
        EXPECT_EQ(s.autoRenderScale, d.autoRenderScale) << context;
        EXPECT_FLOAT_EQ(s.musicVolume, d.musicVolume) << context;
        EXPECT_FLOAT_EQ(s.effectsVolume, d.effectsVolume) << context;
        EXPECT_EQ(s.screenShake, d.screenShake) << context;
        EXPECT_FLOAT_EQ(s.gamepadDeadzone, d.gamepadDeadzone) << context;
        EXPECT_EQ(s.gamepadEnabled, d.gamepadEnabled) << context;
    }
}

TEST(Settings, NearPlaneBeyondFarPlaneRestoresBoth) {
    std::string printed;
    const Settings s = loadQuietly(writeIni("[camera]\nnear = 50\nfar = 20\n"), &printed);
    EXPECT_FLOAT_EQ(s.nearPlane, 0.1f);
    EXPECT_FLOAT_EQ(s.farPlane, 100.0f);
    EXPECT_NE(printed.find("WARNING: settings: [camera] near = 50"), std::string::npos) << printed;
}

// Started full screen, the second F6 comes back to the windowed size: it must fit too.
TEST(Settings, ASizeLargerThanTheScreenIsFittedWithTheWindowedSize) {
    Settings s = loadQuietly(writeIni("[window]\nwidth = 5000\nheight = 900\nfullscreen = true\n"));
    testing::internal::CaptureStdout();
    fitToScreen(s, 1600, 1200);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::make_pair(s.width, s.height), std::make_pair(1600, 900));
    EXPECT_EQ(std::make_pair(s.windowedWidth, s.windowedHeight), std::make_pair(1600, 900));
    EXPECT_NE(printed.find("does not fit the 1600x1200 screen; using 1600x900 instead."),
              std::string::npos) << printed;
}

TEST(Settings, RenderScaleIsAutoOrAFixedFraction) {
    const Settings fixed = loadQuietly(writeIni("[window]\nrender_scale = 0.5\n"));
    EXPECT_FALSE(fixed.autoRenderScale);
    EXPECT_FLOAT_EQ(fixed.renderScale, 0.5f);
    EXPECT_TRUE(loadQuietly(writeIni("[window]\nrender_scale = AUTO\n")).autoRenderScale);
}

// inih's own test files: real-world INI quirks (BOMs, long lines, odd sections) must
// load without harm, with defaults wherever our keys are absent.
TEST(Settings, RealWorldIniFilesLoadWithoutHarm) {
    const std::filesystem::path dir = std::filesystem::path(QEX_TESTDATA_DIR) / "ini";
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".ini") continue;
        std::string printed;
        const Settings s = loadQuietly(entry.path().string(), &printed);
        std::istringstream lines(printed);
        for (std::string line; std::getline(lines, line);)
            EXPECT_EQ(line.rfind("WARNING: settings: ", 0), 0u) << entry.path() << ": " << line;
        EXPECT_GT(s.refreshRate, 0);
        ++loaded;
    }
    EXPECT_GT(loaded, 10);
}

TEST(Settings, RealWorldFileWithoutOurKeysKeepsDefaults) {
    const auto path = std::filesystem::path(QEX_TESTDATA_DIR) / "ini" / "normal.ini";
    std::string printed;
    expectDefaults(loadQuietly(path.string(), &printed));
    EXPECT_EQ(printed.find("ERROR:"), std::string::npos) << printed;  // the file was read
}

TEST(Settings, ThePlayersFileLivesUnderXdgConfigHomeOrElseUnderHome) {
    struct Case {
        const char* xdgConfigHome;
        const char* home;
        std::optional<std::filesystem::path> file;
    };
    const std::filesystem::path inHome("/home/pilot/.config/qex/settings.ini");
    for (const Case& c : {Case{"/cfg", "/home/pilot", std::filesystem::path("/cfg/qex/settings.ini")},
                          Case{nullptr, "/home/pilot", inHome}, Case{"", "/home/pilot", inHome},
                          Case{"cfg", "/home/pilot", inHome}, Case{nullptr, "", std::nullopt}})
        EXPECT_EQ(userSettingsFile(c.xdgConfigHome, c.home), c.file) << c.home;
}

// The player's file counts key by key over the shipped one, with the same checks: a bad
// value there keeps the shipped value, and its warnings name the player's file.
TEST(Settings, ThePlayersFileOverridesTheShippedOneKeyByKey) {
    const std::string shipped = writeIni("[window]\nwidth = 1024\nheight = 700\n[sound]\nmusic_volume = 0.5\n");
    const TempDir dir;
    std::string printed;
    Settings s = layered(shipped, dir.write("qex/settings.ini",
                                            "[window]\nwidth = 640\n[window\n[sound]\nmusic_volume = 7\n"),
                         &printed);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 700);
    EXPECT_FLOAT_EQ(s.musicVolume, 0.5f);
    EXPECT_NE(printed.find("line 3 of '" + dir.path().string() + "/qex/settings.ini'"),
              std::string::npos) << printed;
    EXPECT_NE(printed.find("using 0.5 instead"), std::string::npos) << printed;

    EXPECT_EQ(layered(shipped, dir.path() / "none.ini", &printed).width, 1024);
    EXPECT_EQ(printed, "");  // no file of one's own yet is no fault
    EXPECT_EQ(layered(shipped, dir.path(), &printed).width, 1024);
    EXPECT_EQ(printed.rfind("WARNING: settings: cannot read '" + dir.path().string(), 0), 0u) << printed;
}

// Comments, other keys and sections stay; a repeated key goes; missing keys join their
// section or a new one. A folder that cannot be made gives one line.
TEST(Settings, SavingWritesTheOptionsAndKeepsTheRestOfThePlayersFile) {
    const TempDir dir;
    const std::string file = dir.write("qex/settings.ini",
        "; mine\n[Sound]\nMusic_Volume = 0.9\nmusic_volume = 0.8\n\n[window]\nwidth = 640\n\n[extra]\nx = 1\n");
    Settings s;
    s.musicVolume = 0.0f;
    s.autoRenderScale = false;
    s.renderScale = 0.75f;
    s.screenShake = false;
    ASSERT_TRUE(saveUserSettings(file, s));
    std::ifstream written(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}),
              "; mine\n[Sound]\nmusic_volume = 0\neffects_volume = 0.6\n\n[window]\nwidth = 640\n"
              "render_scale = 0.75\nfullscreen = false\n\n[extra]\nx = 1\n\n[camera]\nscreen_shake = false\n");
    std::string printed;
    EXPECT_FLOAT_EQ(layered(writeIni(""), file, &printed).renderScale, 0.75f);
    EXPECT_EQ(printed, "");

    dir.write("plain", "a file where the folder should be");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(saveUserSettings(dir.path() / "plain/qex/settings.ini", s));
    printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_NE(printed.find("(Not a directory)"), std::string::npos) << printed;
}

// The INI reader takes 198 characters a line. A longer comment goes, a long line keeps
// its key when only its comment is long, and anything else is skipped with the line's
// true number, as are the numbers of later lines.
TEST(Settings, OverlongLinesAreShortenedOrSkippedWithTheirTrueLineNumbers) {
    const std::string longText(250, 'x');
    std::string printed;
    const std::string path = writeIni("; " + longText + "\n[window]\ntitle = Kept ; " + longText +
                                      "\ntitle = " + longText + "\n[window\nwidth = 640\n" +
                                      std::string("height = 600\0", 13) + "\n");
    const Settings s = loadQuietly(path, &printed);
    EXPECT_EQ(s.title, "Kept");
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 800);
    EXPECT_EQ(printed, "WARNING: settings: line 4 of '" + path + "' is longer than 198 characters; it is skipped.\n"
                       "WARNING: settings: line 7 of '" + path + "' holds a NUL byte; it is skipped.\n"
                       "WARNING: settings: line 5 of '" + path +
                           "' is not a section, a key = value pair or a comment; it is skipped.\n");
}
