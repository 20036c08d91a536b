// The key dialog and the field editor: what they show and what a save writes and keeps.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "doubles/default_settings.h"
#include "doubles/fake_controller.h"
#include "doubles/key_outputs.h"
#include "doubles/live_views.h"
#include "support/qt_wait.h"
#include "support/temp_dir.h"
#include "support/window_checks.h"
#include "windows/dialogs/gate_editor.h"
#include "windows/dialogs/gate_painter.h"
#include "windows/dialogs/key_assignment_dialog.h"

namespace vantrel {
namespace {

// What the field editor shows and saves for a missing file.
const char* const kFields =
    "[fields]\ng12r=100\ng34l=2000\ng34r=4000\ng56l=6000\ng56r=8000\ng78l=9900\ngtop=100\n"
    "gbot=9800\n";

template <typename T = QWidget>
T* Find(const QWidget& window, const QString& name) {
    T* child = window.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

void Click(const QWidget& window, const QString& button) {
    QTest::mouseClick(Find<QPushButton>(window, button), Qt::LeftButton);
}

QString Box(const GateEditor& editor, int number) {
    return Find<QLineEdit>(editor, QStringLiteral("value%1").arg(number))->text();
}

// Replaces the box's text the way a user does: select all, type, Enter.
void Type(QComboBox* box, const QString& text) {
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(box->lineEdit(), text);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
}

struct DialogsTest : ::testing::Test, testing::TempDir {
    std::string Read() const { return TempDir::Read(file); }
    const std::filesystem::path file = path / "config.ini";
};

TEST_F(DialogsTest, TitlesSizesTextsKeyItemsAndTabOrder) {
    KeyAssignmentDialog keys(testing::DefaultSettings(), file);
    GateEditor editor(kStraightFieldMap, file);
    for (QWidget* window : {static_cast<QWidget*>(&keys), static_cast<QWidget*>(&editor)}) {
        window->show();
        EXPECT_EQ(testing::CutOff(*window), QStringList{}) << window->windowTitle().toStdString();
    }
    EXPECT_EQ(keys.windowTitle(), "Config");
    EXPECT_EQ(keys.size(), QSize(173, 263));
    EXPECT_EQ(editor.windowTitle(), "Field Editor (By Pimm)");
    EXPECT_EQ(editor.size(), QSize(711, 711));
    EXPECT_EQ(Find<QPushButton>(keys, "save")->text(), "save settings");
    EXPECT_EQ(Find<QPushButton>(editor, "save")->text(), "Save");

    const QStringList captions =
        QString("gear 1,gear 2,gear3,gear4,gear5,gear6,gear7,gear8,GearR").split(',');
    const QStringList items =
        QString("abcdefghijklmnopqrstuvwxyz1234567890").split("", Qt::SkipEmptyParts);
    for (int i = 0; i < 9; ++i) {
        const QString name = i < 8 ? QStringLiteral("key%1").arg(i + 1) : "keyr";
        EXPECT_EQ(Find<QLabel>(keys, name + "Caption")->text(), captions[i]);
        auto* box = Find<QComboBox>(keys, name);
        QStringList held;
        for (int k = 0; k < box->count(); ++k) held << box->itemText(k);
        EXPECT_EQ(held, items) << name.toStdString();
        EXPECT_EQ(box->currentText(), QString("qawsedrfz"[i])) << name.toStdString();
    }
    EXPECT_EQ(testing::TabOrder(Find(keys, "key1")),
              "key1 key2 key3 key4 key5 key6 key7 key8 save keyr");
    EXPECT_EQ(testing::TabOrder(Find(editor, "step1")),
              "step1 step2 step3 step4 step5 step6 step7 step8 step9 step10 step11 step12 step13 "
              "step14 step15 step16 save value1 value2 value3 value4 value5 value6 value7 value8");
}

// Unknown names are marked but kept: empty is a valid, silent gear; names match without regard to
// case, and blanks around them go, as when the file is read.
TEST_F(DialogsTest, KeySaveWritesTheBoxesAsTheyAreMarkedKeepsTheFileAndTheDialogUntilClosed) {
    Write("; mine\r\n[keyconfig]\r\nkey1=q\r\nextra=kept\r\n\r\n[fields]\r\ng12r=0100\r\n");
    ShiftState keys = testing::DefaultSettings();
    keys.gearKeys[4] = AssignKey("F1");  // not an item: shown and written back as it is
    keys.gearKeys[6] = AssignKey("qq");
    QPointer<KeyAssignmentDialog> dialog = new KeyAssignmentDialog(keys, file);
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    const auto box = [&](const char* name) { return Find<QComboBox>(*dialog, name); };

    box("key1")->setCurrentIndex(23);  // "x" picked from the list
    Type(box("key2"), "Q");
    Type(box("key3"), "Space Bar");
    Type(box("key4"), "");
    Type(box("key6"), " W ");
    box("keyr")->setFocus();              // leaving a box must not turn "Q" into "q"
    EXPECT_EQ(box("key3")->count(), 36);  // typed text is no new item
    QStringList marked;
    for (const char* name : {"key1", "key2", "key3", "key4", "key5", "key6", "key7"}) {
        const QList<QAction*> marks = box(name)->lineEdit()->actions();
        const bool shown =
            std::any_of(marks.begin(), marks.end(), [](QAction* a) { return a->isVisible(); });
        const bool tip = box(name)->toolTip() == "Unknown key name: no key will be sent";
        if (shown || tip) marked << QString(name) + (shown && tip ? "" : "?");
    }
    EXPECT_EQ(marked, (QStringList{"key3", "key7"}));
    Click(*dialog, "save");
    const std::string saved =
        "; mine\r\n[keyconfig]\r\nkey1=x\r\nextra=kept\r\nkey2=Q\r\nkey3=Space Bar\r\nkey4=\r\n"
        "key5=F1\r\nkey6= W \r\nkey7=qq\r\nkey8=f\r\nkeyr=z\r\n\r\n[fields]\r\ng12r=0100\r\n";
    EXPECT_EQ(Read(), saved);
    EXPECT_FALSE(dialog->isVisible());

    dialog->show();  // holds what was saved; closed, it forgets what was typed since
    EXPECT_EQ(box("key1")->currentText(), "x");
    Type(box("key1"), "y");
    dialog->close();
    EXPECT_TRUE(testing::WaitUntil([&] { return dialog.isNull(); }));
    EXPECT_EQ(Read(), saved);
}

TEST_F(DialogsTest, AFailedSaveSaysWhyAndKeepsTheWindowOpen) {
    Write(kFields);
    ::chmod(file.c_str(), 0444);
    KeyAssignmentDialog keys(testing::DefaultSettings(), file);
    GateEditor editor(kStraightFieldMap, file);
    for (QWidget* window : {static_cast<QWidget*>(&keys), static_cast<QWidget*>(&editor)}) {
        window->show();
        Click(*window, "save");
        EXPECT_TRUE(window->isVisible());
        const auto* box = window->findChild<QMessageBox*>();
        ASSERT_NE(box, nullptr) << window->windowTitle().toStdString();
        const QString why = box->text() + "\n" + box->informativeText();
        EXPECT_TRUE(why.contains(file.c_str())) << why.toStdString();
        EXPECT_TRUE(why.contains("read-only")) << why.toStdString();
    }
    EXPECT_EQ(Read(), kFields);
}

TEST_F(DialogsTest, StepButtonsMoveTheirLinesSaveWritesAllEightAndHidesAndCloseDiscards) {
    Write("; gate\n[keyconfig]\nkey1=q\n[fields]\ng12r=0100\ng34l=abc\ngtop=0\nmine=1\n");
    QPointer<GateEditor> editor = new GateEditor(kStraightFieldMap, file);
    editor->show();
    // step1..16 in pairs, one pair per line: ">" and "\/" add 20, "<" and "/\" take 20.
    const char* captions[16] = {">", "<", "<", ">", "<",   ">",   "<",   ">",
                                "<", ">", "<", ">", "/\\", "\\/", "\\/", "/\\"};
    for (int i = 0; i < 16; ++i) {
        const QString name = QStringLiteral("step%1").arg(i + 1);
        const QString caption = Find<QPushButton>(*editor, name)->text();
        EXPECT_EQ(caption, captions[i]);
        const float before = editor->LineValue(i / 2 + 1);
        Click(*editor, name);
        const float step = caption == ">" || caption == "\\/" ? 20 : -20;
        EXPECT_EQ(editor->LineValue(i / 2 + 1), before + step) << i + 1;
    }
    Click(*editor, "step13");
    EXPECT_EQ(Box(*editor, 7), "-20");
    Click(*editor, "save");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(Read(),  // "0100" was 100, and a value that is no number the default
              "; gate\n[keyconfig]\nkey1=q\n[fields]\ng12r=100\ng34l=2000\ngtop=-20\nmine=1\n"
              "g34r=4000\ng56l=6000\ng56r=8000\ng78l=9900\ngbot=9800\n");

    Write("[fields]\ng12r=500\n");  // changed behind the hidden editor, which keeps its lines
    editor->show();
    EXPECT_EQ(editor->LineValue(1), 100);
    Click(*editor, "step1");  // never saved
    editor->close();
    EXPECT_TRUE(testing::WaitUntil([&] { return editor.isNull(); }));
    EXPECT_EQ(GateEditor(kStraightFieldMap, file).LineValue(1), 500);
}

TEST_F(DialogsTest, LiveStickFollowsTheEditedLinesAndDraggedLinesSnapWithinTheTravel) {
    GateEditor editor(kStraightFieldMap, file);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    // x, y, button 1, gear (9 is "R": button 1 in field 1).
    const std::tuple<int, int, bool, int> readings[] = {
        {3000, 9900, false, 4}, {50, 50, true, 9}, {5000, 50, false, 0}, {4010, 50, false, 0}};
    for (const auto& [x, y, button1, gear] : readings) {
        editor.ShowStick(button1 ? testing::StickAt(x, y, {1}) : testing::StickAt(x, y));
        EXPECT_EQ(editor.StickGear(), gear) << x << "," << y;
    }
    EXPECT_EQ(editor.StickPosition(), QPointF(4010, 50));
    Click(editor, "step6");  // g34r stepped past the stick: field 3, with no new reading
    EXPECT_EQ(editor.StickGear(), 3);
    editor.ClearStick();
    EXPECT_FALSE(editor.StickPosition());
    EXPECT_EQ(editor.StickGear(), 0);
    // g12r at 100 twips (6.7 px): 7 px more are 105 twips, snapped to 200. gbot at 9800 twips
    // (653.3 px), dragged below the travel, stops at its end.
    const std::tuple<QPoint, QPoint, int, const char*> drags[] = {
        {{7, 300}, {14, 300}, 1, "200"}, {{300, 653}, {300, 705}, 8, "10000"}};
    for (const auto& [from, to, line, value] : drags) {
        QTest::mousePress(&editor, Qt::LeftButton, {}, from);
        QTest::mouseMove(&editor, to);
        QTest::mouseRelease(&editor, Qt::LeftButton, {}, to);
        EXPECT_EQ(Box(editor, line), value);
    }
}

TEST(GateLabels, EachFieldShowsTheGearItsMapEntryEngages) {
    const FieldMap dogLeg{kReverse, 1, 2, 3, 4, 5, kNeutral, kNeutral};
    QStringList labels;
    for (int field = 1; field <= 8; ++field) labels << ui::FieldLabel(dogLeg, field);
    EXPECT_EQ(labels.join(','), "R,1,2,3,4,5,-,-");
}

}  // namespace
}  // namespace vantrel
