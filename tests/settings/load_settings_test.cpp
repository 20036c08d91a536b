// Loading config.ini into the main window's variables: what the file gives, what replaces what it
// cannot give, and what the user is told. (scripts/fuzz.sh throws damaged files at the parsers.)
#include "settings/load_settings.h"

#include <gtest/gtest.h>

#include "doubles/default_settings.h"
#include "doubles/fake_controller.h"
#include "doubles/key_outputs.h"
#include "doubles/live_views.h"
#include "output/key_names.h"
#include "settings/boundary_value.h"
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

TEST_F(LoadSettingsTest, MissingDamagedOrUnreadableFilesGiveTheDefaults) {
    EXPECT_TRUE(Load().empty()) << "no file is no problem";
    ExpectDefaults("missing");

    auto report = Load("[fields]\ng34l=" + std::string(10 * 1024 * 1024, '7') + "\n");
    ExpectDefaults("a huge line");
    ASSERT_EQ(report.size(), 1u);
    EXPECT_NE(report[0].find("g34l="), std::string::npos);

    fs::remove(file);
    fs::create_directories(file);
    report = Load();
    ExpectDefaults("a folder");
    ASSERT_EQ(report.size(), 1u);
    EXPECT_NE(report[0].find("cannot be read"), std::string::npos) << report[0];
}

TEST_F(LoadSettingsTest, FileValuesWinAndEachLoadStartsAfresh) {
    EXPECT_TRUE(
        Load("[KEYCONFIG]\nkey1=x\nkey2=\nkeyr=Z\n[fields]\ng34l=2000.5\ng56l=2001.5\ngtop=-20\n")
            .empty());
    EXPECT_EQ(GearKey(s, 1).name, "x");
    EXPECT_EQ(GearKey(s, 2).name, "") << "an empty key stays empty";
    EXPECT_EQ(GearKey(s, 3).name, "w");
    EXPECT_EQ(GearKey(s, kReverse).name, "Z") << "kept as written, known without regard to case";
    EXPECT_EQ(s.gate.column34Left, 2000);
    EXPECT_EQ(s.gate.column56Left, 2002);
    EXPECT_EQ(s.gate.topRowBottom, -20);

    Write(
        "\xEF\xBB\xBF[keyconfig]\r\nkey2=y\r\nkey2=b\r\n[keyconfig]\r\nkey3=c\r\n[fields]\r\ngbot="
        "9000");
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_TRUE(Load().empty()) << "a read-only file, BOM, CRLF, no final newline";
    EXPECT_EQ(GearKey(s, 1).name, "q") << "gone from the file: the default again";
    EXPECT_EQ(GearKey(s, 2).name, "y") << "the first of duplicate keys counts";
    EXPECT_EQ(GearKey(s, 3).name, "c") << "a repeated section still counts";
    EXPECT_EQ(s.gate.column34Left, 2000);
    EXPECT_EQ(s.gate.bottomRowTop, 9000);
}

TEST_F(LoadSettingsTest, BadValuesKeepTheirDefaultAndTheLoadGoesOn) {
    s.gate.column34Left = 1234;  // a previous load's value must not survive a bad line
    const auto report =
        Load("[keyconfig]\nkey3=foo\n[fields]\ng34l=abc\ng34r=\ng56l=40000\ngbot=5000\n");
    ASSERT_EQ(report.size(), 4u);
    EXPECT_EQ(report[0],
              "config.ini: [keyconfig] key3=foo is not a key name Vantrel knows; gear 3 will send "
              "no key. Pick a key in Config.");
    EXPECT_EQ(report[1],
              "config.ini: [fields] g34l=abc is not a whole number from -32768 to 32767; using "
              "2000");
    EXPECT_NE(report[2].find("g34r= is not"), std::string::npos);
    EXPECT_NE(report[3].find("g56l=40000"), std::string::npos);
    EXPECT_EQ(GearKey(s, 3).name, "foo") << "kept as written";
    EXPECT_EQ(s.gate.column34Left, 2000);
    EXPECT_EQ(s.gate.column34Right, 4000);
    EXPECT_EQ(s.gate.column56Left, 6000);
    EXPECT_EQ(s.gate.bottomRowTop, 5000) << "keys after a bad one still load";
}

}  // namespace
}  // namespace vantrel
