#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/dialog_fixture.h"
#include "settings/ui/key_config_dialog.h"
#include "support/qt_wait.h"

namespace vantrel {
namespace {

using testing::DialogTest;
using testing::ProblemText;
using testing::SaveScreenshot;

const char* const kBoxes[9] = {"key1", "key2", "key3", "key4", "key5",
                               "key6", "key7", "key8", "keyr"};

MainState KeysInUse() {
    MainState s;
    s.key1 = "q";
    s.key2 = "a";
    s.key3 = "w";
    s.key4 = "s";
    s.key5 = "e";
    s.key6 = "d";
    s.key7 = "r";
    s.key8 = "f";
    s.keyr = "z";
    return s;
}

QComboBox* Box(const QWidget& dialog, const char* name) {
    auto* box = dialog.findChild<QComboBox*>(name);
    EXPECT_NE(box, nullptr) << name;
    return box;
}

bool MarkedUnknown(const QComboBox* box) {
    for (const QAction* action : box->lineEdit()->actions()) {
        if (action->isVisible()) return true;
    }
    return false;
}

// Replaces the box's text the way a user does: select all, type, Enter.
void Type(QComboBox* box, const QString& text) {
    box->setFocus();
    box->lineEdit()->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
    } else {
        QTest::keyClicks(box->lineEdit(), text);
    }
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
}

class KeyConfigDialogTest : public DialogTest {};

TEST_F(KeyConfigDialogTest, LayoutTextsAndItems) {
    form_Config dialog(KeysInUse(), file_);
    EXPECT_EQ(dialog.windowTitle(), "Config");
    EXPECT_EQ(dialog.size(), QSize(2595 / 15, 3945 / 15));

    const char* captions[9] = {"gear 1", "gear 2", "gear3", "gear4", "gear5",
                               "gear6",  "gear7",  "gear8", "GearR"};
    const char* keys[9] = {"q", "a", "w", "s", "e", "d", "r", "f", "z"};
    QStringList items;
    for (const char* item : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l",
                             "m", "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x",
                             "y", "z", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}) {
        items << item;
    }
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(kBoxes[i]);
        const int top = (120 + 360 * i) / 15;
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label%1").arg(i + 1));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), captions[i]);
        EXPECT_EQ(label->geometry(), QRect(8, top, 41, 17));

        QComboBox* box = Box(dialog, kBoxes[i]);
        EXPECT_EQ(box->geometry(), QRect(72, top, 97, 21));
        EXPECT_TRUE(box->isEditable());
        QStringList held;
        for (int k = 0; k < box->count(); ++k) held << box->itemText(k);
        EXPECT_EQ(held, items);
        EXPECT_EQ(box->currentIndex(), -1);
        EXPECT_EQ(box->currentText(), keys[i]);
    }
    auto* save = dialog.findChild<QPushButton*>("save");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->text(), "save settings");
    EXPECT_EQ(save->geometry(), QRect(80, 232, 81, 25));
}

TEST_F(KeyConfigDialogTest, TabOrderAndScreenshot) {
    form_Config dialog(KeysInUse(), file_);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    Box(dialog, "key1")->setFocus();
    QStringList order;
    for (int i = 0; i < 11; ++i) {
        QWidget* focus = QApplication::focusWidget();
        while (focus && focus->objectName().isEmpty()) focus = focus->parentWidget();
        order << (focus ? focus->objectName() : QString("none"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order.join(' '), "key1 key2 key3 key4 key5 key6 key7 key8 save keyr key1");

    SaveScreenshot(dialog, "key_config_dialog.png");
}

TEST_F(KeyConfigDialogTest, SaveWritesTheBoxesAsTypedAndKeepsTheRestOfTheFile) {
    WriteFile(
        "; my settings\r\n[keyconfig]\r\nkey1=q\r\nextra=kept\r\n\r\n[fields]\r\ng12r=0100\r\n");
    MainState keys = KeysInUse();
    keys.key5 = "F1";  // not a list item: shown and written back as it is
    form_Config dialog(keys, file_);
    QSignalSpy saved(&dialog, &form_Config::saved);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    Box(dialog, "key1")->setCurrentIndex(23);  // "x" picked from the list
    Type(Box(dialog, "key2"), "Q");
    Type(Box(dialog, "key3"), "Space Bar");
    Type(Box(dialog, "key4"), "");
    Box(dialog, "keyr")->setFocus();  // leaving a box must not turn "Q" into the item "q"
    EXPECT_EQ(Box(dialog, "key2")->currentText(), "Q");
    EXPECT_EQ(Box(dialog, "key3")->count(), 36);  // typed text is not added to the list

    QTest::mouseClick(dialog.findChild<QPushButton*>("save"), Qt::LeftButton);

    EXPECT_EQ(ReadFile(),
              "; my settings\r\n[keyconfig]\r\nkey1=x\r\nextra=kept\r\nkey2=Q\r\n"
              "key3=Space Bar\r\nkey4=\r\nkey5=F1\r\nkey6=d\r\nkey7=r\r\nkey8=f\r\nkeyr=z\r\n"
              "\r\n[fields]\r\ng12r=0100\r\n");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(saved.count(), 1);

    // Shown again, it holds what was saved.
    dialog.show();
    EXPECT_EQ(Box(dialog, "key1")->currentText(), "x");
    EXPECT_EQ(Box(dialog, "key4")->currentText(), "");
}

TEST_F(KeyConfigDialogTest, FailedSaveSaysWhyAndStaysOpen) {
    for (const bool readOnlyFolder : {false, true}) {
        SCOPED_TRACE(readOnlyFolder ? "read-only folder" : "read-only file");
        const std::string before = "[keyconfig]\nkey1=q\n";
        if (readOnlyFolder) {
            std::filesystem::remove(file_);
            ::chmod(folder_.c_str(), 0555);
        } else {
            WriteFile(before);
            ::chmod(file_.c_str(), 0444);
        }
        form_Config dialog(KeysInUse(), file_);
        QSignalSpy saved(&dialog, &form_Config::saved);
        dialog.show();
        Type(Box(dialog, "key1"), "x");
        QTest::mouseClick(dialog.findChild<QPushButton*>("save"), Qt::LeftButton);

        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(saved.count(), 0);
        const QString text = ProblemText(dialog);
        EXPECT_TRUE(text.contains(QString::fromStdString(file_.string()))) << text.toStdString();
        EXPECT_TRUE(text.contains("read-only")) << text.toStdString();
        EXPECT_EQ(Box(dialog, "key1")->currentText(), "x");
        if (readOnlyFolder) {
            EXPECT_FALSE(std::filesystem::exists(file_));
        } else {
            EXPECT_EQ(ReadFile(), before);
        }
        ::chmod(folder_.c_str(), 0755);
        ::chmod(file_.c_str(), 0644);
    }
}

TEST_F(KeyConfigDialogTest, UnknownKeyNamesAreMarkedButSaved) {
    MainState keys = KeysInUse();
    keys.key1 = "qq";
    keys.key2 = "";
    keys.key3 = "W";
    form_Config dialog(keys, file_);
    dialog.show();

    QComboBox* key1 = Box(dialog, "key1");
    EXPECT_TRUE(MarkedUnknown(key1));
    EXPECT_EQ(key1->toolTip(), "Unknown key name: no key will be sent");
    EXPECT_FALSE(MarkedUnknown(Box(dialog, "key2")));  // empty: a valid, silent gear
    EXPECT_FALSE(MarkedUnknown(Box(dialog, "key3")));  // names match without regard to case
    EXPECT_TRUE(Box(dialog, "key3")->toolTip().isEmpty());

    Type(key1, "q");
    EXPECT_FALSE(MarkedUnknown(key1));
    Type(key1, "q#");
    EXPECT_TRUE(MarkedUnknown(key1));

    QTest::mouseClick(dialog.findChild<QPushButton*>("save"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_NE(ReadFile().find("key1=q#\n"), std::string::npos);
}

TEST_F(KeyConfigDialogTest, ClosingWithoutSavingDestroysTheDialog) {
    QPointer<form_Config> dialog = new form_Config(KeysInUse(), file_);
    dialog->show();
    Type(Box(*dialog, "key1"), "x");
    dialog->close();
    EXPECT_TRUE(testing::WaitUntil([&] { return dialog.isNull(); }));
    EXPECT_FALSE(std::filesystem::exists(file_));
}

}  // namespace
}  // namespace vantrel
