// Loading config.ini: what the file gives, what replaces what it cannot give, and what the user is
// told. (scripts/fuzz.sh throws damaged files at the parsers.)
#include "settings/load_settings.h"

#include <gtest/gtest.h>

#include "doubles/default_settings.h"
#include "output/key_names.h"
#include "settings/boundary_value.h"
#include "settings/gearbox_settings.h"
#include "settings/output_settings.h"
#include "support/temp_dir.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

TEST(ParseBoundary, RoundsHalfToEvenAndChecksTheRange) {
    const std::pair<const char*, int16_t> good[] = {
        {"2000.5", 2000}, {"2001.5", 2002},   {"2000.50001", 2001}, {"2000.49999", 2000},
        {"-20", -20},     {"-2.5", -2},       {" \t0100 ", 100},    {"+7.", 7},
        {".5", 0},        {"32767.4", 32767}, {"-32768", -32768}};
    for (const auto& [text, value] : good) EXPECT_EQ(ParseBoundary(text), value) << text;
    for (const char* bad : {"", " ", "abc", "12a", "1 2", "-", ".", "1e3", "32767.5", "-32769",
                            "99999999999999999999", "1,5"}) {
        EXPECT_EQ(ParseBoundary(bad), std::nullopt) << bad;
    }
}

TEST(OutputSettings, ButtonsFromOneToThirtyTwoAndModesWithoutCase) {
    const std::pair<const char*, std::optional<int16_t>> buttons[] = {{"", 0},
                                                                      {" 0 ", 0},
                                                                      {"1", 1},
                                                                      {"32", 32},
                                                                      {"33", std::nullopt},
                                                                      {"-1", std::nullopt},
                                                                      {"1.5", std::nullopt},
                                                                      {"x", std::nullopt}};
    for (const auto& [text, value] : buttons) EXPECT_EQ(ParseButtonNumber(text), value) << text;
    const std::pair<const char*, std::optional<OutputMode>> modes[] = {
        {"", OutputMode::Keys},
        {"KEYS", OutputMode::Keys},
        {" Shifter ", OutputMode::Shifter},
        {"bOTH", OutputMode::Both},
        {"Sequential", OutputMode::Sequential},
        {"gears", std::nullopt}};
    for (const auto& [text, mode] : modes) EXPECT_EQ(ParseOutputMode(text), mode) << text;
}

struct LoadSettingsTest : ::testing::Test, testing::TempDir {
    std::vector<std::string> Load() { return LoadSettings(s, file); }
    std::vector<std::string> Load(const std::string& bytes) {
        Write(bytes);
        return Load();
    }
    void ExpectDefaults(const char* file) {
        ShiftState d = testing::DefaultSettings();
        for (int k = 1; k <= 9; ++k) EXPECT_EQ(GearKey(s, k).name, GearKey(d, k).name) << file;
        for (const SettingDefault& b : kFieldDefaults) {
            EXPECT_EQ(BoundaryVariable(s.gate, b.key), BoundaryVariable(d.gate, b.key))
                << b.key << file;
        }
    }
    const fs::path file = path / "config.ini";
    ShiftState s;
};

// File layouts and the texts of the reports: the replay corpus. Here what only shows over loads.
TEST_F(LoadSettingsTest, MissingOrHugeFilesGiveTheDefaults) {
    EXPECT_TRUE(Load().empty()) << "no file is no problem";
    ExpectDefaults("missing");
    const auto report = Load("[fields]\ng34l=" + std::string(10 * 1024 * 1024, '7') + "\n");
    ExpectDefaults("a huge line");
    ASSERT_EQ(report.size(), 1u);
    EXPECT_NE(report[0].find("g34l="), std::string::npos);
}

TEST_F(LoadSettingsTest, EachLoadStartsAfreshAndABadValueKeepsItsDefault) {
    EXPECT_TRUE(Load("[keyconfig]\nkey1=x\n[fields]\ng34l=2500\n[output]\nrange=3\n").empty());
    EXPECT_EQ(GearKey(s, 1).name, "x");
    EXPECT_EQ(s.gate.column34Left, 2500);
    EXPECT_EQ(s.rangeButton, 3);

    Write("[keyconfig]\nkey3=foo\n[fields]\ng34l=abc\ngbot=5000\n");
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(Load().size(), 2u) << "a read-only file is read";
    EXPECT_EQ(GearKey(s, 1).name, "q") << "gone from the file: the default again";
    EXPECT_EQ(GearKey(s, 3).name, "foo") << "an unknown key is kept as written";
    EXPECT_EQ(s.gate.column34Left, 2000) << "a bad value: the default, not the last load's";
    EXPECT_EQ(s.gate.bottomRowTop, 5000) << "values after a bad one still load";
    EXPECT_EQ(s.rangeButton, 0);
}

TEST(FieldMap, EightEntriesOfGearsROrDashWithoutCaseOrBlanks) {
    EXPECT_EQ(ParseFieldMap(" r ,1,2, 3,4,5,-,- "),
              (FieldMap{kReverse, 1, 2, 3, 4, 5, kNeutral, kNeutral}));
    EXPECT_EQ(ParseFieldMap("8,7,6,5,4,3,2,1"), (FieldMap{8, 7, 6, 5, 4, 3, 2, 1}));
    for (const char* bad : {"", "1,2,3,4,5,6,7", "1,2,3,4,5,6,7,8,", "1,2,3,4,5,6,7,8,R",
                            "0,2,3,4,5,6,7,8", "9,2,3,4,5,6,7,8", "1,2,3,4,5,6,7,RR",
                            "1,,3,4,5,6,7,8", "1;2;3;4;5;6;7;8", "1 2,3,4,5,6,7,8,R"}) {
        EXPECT_EQ(ParseFieldMap(bad), std::nullopt) << bad;
    }
}

TEST_F(LoadSettingsTest, GearboxSectionsDefaultsRangesAndReports) {
    EXPECT_TRUE(Load("[gate]\nmap=R,1,2,3,4,5,-,-\n[sequential]\nup=E\ndown=\ntap=10\ngap=1000\n"
                     "[feel]\nrumble=ON\nstrength=100\n")
                    .empty());
    EXPECT_EQ(s.fieldMap[0], kReverse);
    EXPECT_EQ(s.taps.up.name, "E");
    EXPECT_EQ(s.taps.down.name, "PGDN") << "empty: the default";
    EXPECT_EQ(s.taps.press, std::chrono::milliseconds(10));
    EXPECT_EQ(s.taps.gap, std::chrono::milliseconds(1000));
    EXPECT_EQ(s.rumbleStrength, 100);

    const auto report = Load(
        "[gate]\nmap=1,2,3\n[sequential]\nup=nokey\ntap=9\ngap=1001\n"
        "[feel]\nrumble=yes\nstrength=0\n");
    ASSERT_EQ(report.size(), 6u);
    EXPECT_EQ(report[0],
              "config.ini: [gate] map=1,2,3 is not eight entries separated by commas, each 1 to 8, "
              "R or -; using 1,2,3,4,5,6,7,8");
    EXPECT_EQ(s.fieldMap, kStraightFieldMap);
    EXPECT_EQ(s.taps.up.key, nullptr) << "an unknown name is kept and sends nothing";
    EXPECT_EQ(s.taps.press, std::chrono::milliseconds(40));
    EXPECT_EQ(s.taps.gap, std::chrono::milliseconds(60));
    EXPECT_EQ(s.rumbleStrength, 0);
    EXPECT_TRUE(Load("[feel]\nrumble=on\n").empty());
    EXPECT_EQ(s.rumbleStrength, 60);
}

}  // namespace
}  // namespace vantrel
