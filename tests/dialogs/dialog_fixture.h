#pragma once
// A scratch folder with a settings file for each test, and helpers for the windows.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFontInfo>
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vantrel::testing {

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-ui-XXXXXX");
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        file_ = folder_ / "config.ini";
    }
    void TearDown() override {
        ::chmod(folder_.c_str(), 0755);
        if (std::filesystem::exists(file_)) ::chmod(file_.c_str(), 0644);
        std::filesystem::remove_all(folder_);
    }

    void WriteFile(const std::string& bytes) const {
        std::ofstream out(file_, std::ios::binary);
        out << bytes;
    }
    std::string ReadFile() const {
        std::ifstream in(file_, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::filesystem::path folder_;
    std::filesystem::path file_;
};

// The text of the problem box a window opened, empty when there is none.
inline QString ProblemText(const QWidget& window) {
    const auto* box = window.findChild<QMessageBox*>();
    return box ? box->text() + "\n" + box->informativeText() : QString();
}

// Saves a picture of the window into the build tree, for a person to look at.
inline void SaveScreenshot(QWidget& window, const char* name) {
    const QString path = QStringLiteral(VANTREL_BINARY_DIR "/tests/dialogs/") + name;
    EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
    // Without a usable font Qt draws empty boxes and says nothing.
    EXPECT_FALSE(QFontInfo(window.font()).family().isEmpty());
}

}  // namespace vantrel::testing
