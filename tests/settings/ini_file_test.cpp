#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include "settings/config_path.h"
#include "support/temp_dir.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// Each test has a folder of its own: `path`, `Write` and `Read`.
struct IniFileTest : ::testing::Test, testing::TempDir {};

TEST_F(IniFileTest, ReadsMatchNamesWithoutCaseAndTrimBlanks) {
    const fs::path p = Write("k=outside\n[KeyConfig]\n  KEY1 =  x \nkey2=\n[fields]\ng12r=1\n");
    EXPECT_EQ(IniRead(p, "keyconfig", "key1", "q"), "x");
    EXPECT_EQ(IniRead(p, "keyconfig", "key2", "a"), "") << "present but empty stays empty";
    EXPECT_EQ(IniRead(p, "fields", "key1", "q"), "q") << "keys belong to their section";
    EXPECT_EQ(IniRead(p, "keyconfig", "k", "d"), "d") << "nor do lines above the first section";
    EXPECT_EQ(IniRead(path / "missing.ini", "keyconfig", "key1", "q"), "q");
    EXPECT_TRUE(EqualsNoCase("AZ[@`]az", "az[@`]AZ"));
    EXPECT_FALSE(EqualsNoCase("@[", "`{"));
}

// A comment is a line whose first non-blank is ';' or '#', in a section or above the first one;
// elsewhere in a line they are text.
TEST_F(IniFileTest, CommentLinesStartWithASemicolonOrHashAfterBlanks) {
    const fs::path p =
        Write(";a=0\n#[s]\n[s] ; note\n;a=1\n#b=2\n  ;c=3\n\t#d=4\n; [t]\ne=5 ; five\nf=;\ng=#\n");
    for (const char* key : {";a", "#b", ";c", "#d"})
        EXPECT_EQ(IniRead(p, "s", key, "-"), "-") << key;
    EXPECT_EQ(IniRead(p, "s", "e", "-"), "5 ; five");
    EXPECT_EQ(IniRead(p, "s", "f", "-"), ";");
    EXPECT_EQ(IniRead(p, "s", "g", "-"), "#");
}

TEST_F(IniFileTest, WriteChangesOnlyItsLineAndKeepsEverythingElse) {
    const fs::path p = Write(
        "\xEF\xBB\xBF; mine\r\n[keyconfig]\r\nkey1 = q\r\nextra=1\r\n\r\n[fields]\r\ng12r=100");
    fs::permissions(p, fs::perms(0644));  // the temporary file starts as 0600
    ASSERT_TRUE(IniWrite(p, "KEYCONFIG", "Key1", "x").ok);
    EXPECT_EQ(
        Read(p),
        "\xEF\xBB\xBF; mine\r\n[keyconfig]\r\nkey1 =x\r\nextra=1\r\n\r\n[fields]\r\ng12r=100");
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, fs::perms(0644));

    ASSERT_TRUE(IniWrite(p, "keyconfig", "key2", "a").ok);
    EXPECT_EQ(Read(p),
              "\xEF\xBB\xBF; mine\r\n[keyconfig]\r\nkey1 =x\r\nextra=1\r\nkey2=a\r\n\r\n"
              "[fields]\r\ng12r=100")
        << "a new key goes after the section's last line, in the file's line ending";

    ASSERT_TRUE(IniWrite(p, "fields", "gbot", "9800").ok);
    ASSERT_TRUE(IniWrite(p, "new", "k", "v").ok);
    EXPECT_EQ(IniRead(p, "fields", "g12r", ""), "100");
    EXPECT_EQ(IniRead(p, "fields", "gbot", ""), "9800");
    EXPECT_EQ(IniRead(p, "new", "k", ""), "v");

    // A last line ending in two CRs keeps the one its value has when a line comes below it.
    const fs::path cr = Write("[keyconfig]\nkey1=q\r\r");
    ASSERT_TRUE(IniWrite(cr, "fields", "g34l", "2020").ok);
    EXPECT_EQ(IniRead(cr, "keyconfig", "key1", ""), "q\r");
    EXPECT_EQ(IniRead(cr, "fields", "g34l", ""), "2020");
}

TEST_F(IniFileTest, WriteCreatesFolderAndFileAndKeepsOrder) {
    const fs::path p = path / "a" / "b" / "config.ini";
    ASSERT_TRUE(IniWriteAll(p, "keyconfig", {{"key1", "q"}, {"key2", ""}, {"keyr", "Space"}}).ok);
    EXPECT_EQ(Read(p), "[keyconfig]\nkey1=q\nkey2=\nkeyr=Space\n");
}

TEST_F(IniFileTest, FailedSavesSayWhyAndLeaveTheOldFileWhole) {
    const fs::path p = Write("[keyconfig]\nkey1=q\n");
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read);
    IniWriteResult r = IniWrite(p, "keyconfig", "key1", "x");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("read-only"), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(p.string()), std::string::npos) << r.error;
    EXPECT_EQ(Read(p), "[keyconfig]\nkey1=q\n");

    fs::permissions(p, fs::perms::owner_all);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_exec);
    r = IniWrite(p, "keyconfig", "key1", "x");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("folder is read-only"), std::string::npos) << r.error;
    fs::permissions(path, fs::perms::owner_all);

    r = IniWrite(p, "keyconfig", "key1", "x\n[evil]");
    EXPECT_FALSE(r.ok) << "a line break would inject lines into the file";
    EXPECT_EQ(Read(p), "[keyconfig]\nkey1=q\n");

    // No temporary files are left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(path)) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(SettingsPath, FollowsAnAbsoluteXdgConfigHomeElseHome) {
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(SettingsFilePath(), fs::path("/cfg/vantrel/config.ini"));
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(SettingsFilePath(), fs::path("/home/u/.config/vantrel/config.ini"));
}

}  // namespace
}  // namespace vantrel
