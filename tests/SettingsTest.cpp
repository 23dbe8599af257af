#include "app/Settings.h"

#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

Settings loadQuietly(const std::string& path, std::string* printed = nullptr) {
    testing::internal::CaptureStdout();
    Settings s = loadSettings(path);
    const std::string out = testing::internal::GetCapturedStdout();
    if (printed) *printed = out;
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

TEST(Settings, IntegersAcceptHexAndIgnoreTrailingText) {
    const Settings s = loadQuietly(writeIni("[window]\nwidth = 0x400\nheight = 1024px\n"));
    EXPECT_EQ(s.width, 1024);
    EXPECT_EQ(s.height, 1024);
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

TEST(Settings, MalformedLinesAreSkippedSilentlyAndTheRestStillCounts) {
    std::string printed;
    const Settings s =
        loadQuietly(writeIni("[window\nthis line is broken\n[window]\nheight = 600\n"), &printed);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(s.height, 600);
}

TEST(Settings, NonPositiveRefreshRateWarnsAndUsesSixty) {
    for (const char* rate : {"0", "-30"}) {
        std::string printed;
        const Settings s =
            loadQuietly(writeIni(std::string("[window]\nrefresh_rate = ") + rate + "\n"), &printed);
        EXPECT_EQ(s.refreshRate, 60) << rate;
        EXPECT_NE(printed.find("WARNING: refresh_rate"), std::string::npos) << printed;
    }
}

// inih's own test files: real-world INI quirks (BOMs, long lines, odd sections) must
// load without harm, with defaults wherever our keys are absent.
TEST(Settings, RealWorldIniFilesLoadWithoutHarm) {
    const std::filesystem::path dir = std::filesystem::path(QEX_TESTDATA_DIR) / "ini";
    if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no shared test data at " << dir;
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".ini") continue;
        std::string printed;
        const Settings s = loadQuietly(entry.path().string(), &printed);
        EXPECT_EQ(printed, "") << entry.path();
        EXPECT_GT(s.refreshRate, 0);
        ++loaded;
    }
    EXPECT_GT(loaded, 10);
}

TEST(Settings, RealWorldFileWithoutOurKeysKeepsDefaults) {
    const auto path = std::filesystem::path(QEX_TESTDATA_DIR) / "ini" / "normal.ini";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no shared test data";
    expectDefaults(loadQuietly(path.string()));
}
