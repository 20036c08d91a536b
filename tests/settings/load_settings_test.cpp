#include "settings/load_settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "services/keys/key_names.h"
#include "settings/boundary_value.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

TEST(ParseBoundary, RoundsHalfToEvenAndChecksTheRange) {
    EXPECT_EQ(ParseBoundary("2000.5"), 2000);
    EXPECT_EQ(ParseBoundary("2001.5"), 2002);
    EXPECT_EQ(ParseBoundary("2000.50001"), 2001);
    EXPECT_EQ(ParseBoundary("2000.49999"), 2000);
    EXPECT_EQ(ParseBoundary("-20"), -20);
    EXPECT_EQ(ParseBoundary("-2.5"), -2);
    EXPECT_EQ(ParseBoundary(" \t0100 "), 100);
    EXPECT_EQ(ParseBoundary("+7."), 7);
    EXPECT_EQ(ParseBoundary(".5"), 0);
    EXPECT_EQ(ParseBoundary("32767.4"), 32767);
    EXPECT_EQ(ParseBoundary("-32768"), -32768);
    for (const char* bad : {"", " ", "abc", "12a", "1 2", "-", ".", "1e3", "32767.5", "-32769",
                            "99999999999999999999", "1,5"}) {
        EXPECT_EQ(ParseBoundary(bad), std::nullopt) << bad;
    }
}

class LoadSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vantrel-load-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        file_ = dir_ / "config.ini";
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Write(const std::string& text) { std::ofstream(file_, std::ios::binary) << text; }
    fs::path dir_;
    fs::path file_;
    MainState s;
};

TEST_F(LoadSettingsTest, MissingFileGivesEveryDefaultSilently) {
    EXPECT_TRUE(LoadSettings(s, file_, IsKnownKeyName).empty());
    EXPECT_EQ(s.key1 + s.key2 + s.key3 + s.key4 + s.key5 + s.key6 + s.key7 + s.key8 + s.keyr,
              "qawsedrfz");
    EXPECT_EQ(s.gear12r, 100);
    EXPECT_EQ(s.gear34l, 2000);
    EXPECT_EQ(s.gear34r, 4000);
    EXPECT_EQ(s.gear56l, 6000);
    EXPECT_EQ(s.gear56r, 8000);
    EXPECT_EQ(s.gear78l, 9900);
    EXPECT_EQ(s.geartop, 100);
    EXPECT_EQ(s.gearbot, 9800);
}

TEST_F(LoadSettingsTest, FileValuesWinAndEmptyKeyStaysEmpty) {
    Write("[KEYCONFIG]\nkey1=x\nkey2=\nkeyr=Z\n[fields]\ng34l=2000.5\ng56l=2001.5\ngtop=-20\n");
    EXPECT_TRUE(LoadSettings(s, file_, IsKnownKeyName).empty());
    EXPECT_EQ(s.key1, "x");
    EXPECT_EQ(s.key2, "");
    EXPECT_EQ(s.key3, "w");
    EXPECT_EQ(s.keyr, "Z") << "kept as written, known without regard to case";
    EXPECT_EQ(s.gear34l, 2000);
    EXPECT_EQ(s.gear56l, 2002);
    EXPECT_EQ(s.geartop, -20);
}

TEST_F(LoadSettingsTest, BadValuesKeepTheirDefaultAndTheLoadGoesOn) {
    Write("[keyconfig]\nkey3=foo\n[fields]\ng34l=abc\ng34r=\ng56l=40000\ngbot=5000\n");
    s.gear34l = 1234;  // a previous load's value must not survive a bad line
    const auto report = LoadSettings(s, file_, IsKnownKeyName);
    ASSERT_EQ(report.size(), 4u);
    EXPECT_EQ(report[0],
              "config.ini: [keyconfig] key3=foo is not a key name Vantrel knows; gear 3 will send "
              "no key. Pick a key in Config.");
    EXPECT_EQ(report[1],
              "config.ini: [fields] g34l=abc is not a whole number from -32768 to 32767; using "
              "2000");
    EXPECT_NE(report[2].find("g34r= is not"), std::string::npos);
    EXPECT_NE(report[3].find("g56l=40000"), std::string::npos);
    EXPECT_EQ(s.key3, "foo") << "kept as written";
    EXPECT_EQ(s.gear34l, 2000);
    EXPECT_EQ(s.gear34r, 4000);
    EXPECT_EQ(s.gear56l, 6000);
    EXPECT_EQ(s.gearbot, 5000) << "keys after a bad one still load";
}

TEST_F(LoadSettingsTest, ReloadFallsBackForRemovedKeysAndReportsUnreadableFiles) {
    Write("[keyconfig]\nkey1=x\n");
    LoadSettings(s, file_);
    Write("[keyconfig]\n");
    LoadSettings(s, file_);
    EXPECT_EQ(s.key1, "q");

    fs::remove(file_);
    fs::create_directories(file_);
    const auto report = LoadSettings(s, file_);
    ASSERT_EQ(report.size(), 1u);
    EXPECT_NE(report[0].find("cannot be read"), std::string::npos) << report[0];
    EXPECT_EQ(s.key1, "q");
}

}  // namespace
}  // namespace vantrel
