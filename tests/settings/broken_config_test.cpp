// Damaged or unusual settings files: every one loads without a crash, with defaults where the
// file gives nothing usable, and says what it did.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <random>

#include "services/keys/key_names.h"
#include "settings/load_settings.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

class BrokenConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vantrel-broken-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        file_ = dir_ / "config.ini";
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::vector<std::string> Load(const std::string& bytes) {
        std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes;
        return LoadSettings(s, file_, IsKnownKeyName);
    }
    void ExpectDefaults() {
        EXPECT_EQ(s.key1, "q");
        EXPECT_EQ(s.keyr, "z");
        EXPECT_EQ(s.gear34l, 2000);
        EXPECT_EQ(s.gearbot, 9800);
    }
    fs::path dir_, file_;
    MainState s;
};

TEST_F(BrokenConfigTest, BinaryGarbageGivesDefaults) {
    std::mt19937 random(7);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    Load(garbage);
    ExpectDefaults();
}

TEST_F(BrokenConfigTest, AHugeLineIsReportedNotFatal) {
    const auto report = Load("[fields]\ng34l=" + std::string(10 * 1024 * 1024, '7') + "\n");
    ExpectDefaults();
    ASSERT_EQ(report.size(), 1u);
    EXPECT_NE(report[0].find("g34l="), std::string::npos);
}

TEST_F(BrokenConfigTest, DuplicatesCrlfBomAndNoFinalNewline) {
    EXPECT_TRUE(Load("\xEF\xBB\xBF[keyconfig]\r\nkey1=x\r\nkey1=y\r\n[keyconfig]\r\nkey2=b\r\n"
                     "[fields]\r\ngbot=9000")
                    .empty());
    EXPECT_EQ(s.key1, "x") << "the first of duplicate keys counts";
    EXPECT_EQ(s.key2, "b") << "a repeated section still counts";
    EXPECT_EQ(s.gearbot, 9000);
}

TEST_F(BrokenConfigTest, ReadOnlyFileStillLoads) {
    std::ofstream(file_) << "[keyconfig]\nkey1=x\n";
    fs::permissions(file_, fs::perms::owner_read);
    EXPECT_TRUE(LoadSettings(s, file_, IsKnownKeyName).empty());
    EXPECT_EQ(s.key1, "x");
}

TEST_F(BrokenConfigTest, FolderInPlaceOfTheFileGivesDefaultsAndAReport) {
    fs::create_directories(file_);
    const auto report = LoadSettings(s, file_, IsKnownKeyName);
    ExpectDefaults();
    ASSERT_EQ(report.size(), 1u);
    EXPECT_NE(report[0].find("folder"), std::string::npos) << report[0];
}

}  // namespace
}  // namespace vantrel
