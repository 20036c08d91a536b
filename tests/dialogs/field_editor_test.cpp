#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/dialog_fixture.h"
#include "settings/ui/field_editor.h"
#include "support/qt_wait.h"

namespace vantrel {
namespace {

using testing::DialogTest;
using testing::ProblemText;
using testing::SaveScreenshot;

const char* const kDefaults =
    "[fields]\ng12r=100\ng34l=2000\ng34r=4000\ng56l=6000\ng56r=8000\ng78l=9900\ngtop=100\n"
    "gbot=9800\n";

QPushButton* Button(const QWidget& editor, int number) {
    auto* button = editor.findChild<QPushButton*>(QStringLiteral("Command%1").arg(number));
    EXPECT_NE(button, nullptr) << number;
    return button;
}

QString BoxText(const QWidget& editor, int number) {
    auto* box = editor.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(number));
    EXPECT_NE(box, nullptr) << number;
    return box ? box->text() : QString();
}

void Click(const QWidget& editor, int number, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::mouseClick(Button(editor, number), Qt::LeftButton);
}

DIJOYSTATE Stick(int x, int y, bool button1 = false) {
    DIJOYSTATE state;
    state.x = x;
    state.y = y;
    state.buttons[0] = button1 ? 0x80 : 0;
    return state;
}

class FieldEditorTest : public DialogTest {};

TEST_F(FieldEditorTest, LayoutAndTexts) {
    Edit editor(file_);
    EXPECT_EQ(editor.windowTitle(), "Field Editor (By Pimm)");
    EXPECT_EQ(editor.size(), QSize(711, 711));

    struct Control {
        const char* caption;
        int left, top, width, height;  // twips
    };
    const Control buttons[17] = {{">", 330, 9990, 165, 225},      {"<", 105, 9990, 165, 225},
                                 {"<", 1815, 9990, 165, 225},     {">", 2040, 9990, 165, 225},
                                 {"<", 3840, 9990, 165, 225},     {">", 4065, 9990, 165, 225},
                                 {"<", 5835, 9975, 165, 225},     {">", 6060, 9975, 165, 225},
                                 {"<", 7815, 9990, 165, 225},     {">", 8040, 9990, 165, 225},
                                 {"<", 9540, 9975, 165, 225},     {">", 9765, 9975, 165, 225},
                                 {"/\\", 9990, 135, 270, 255},    {"\\/", 9990, 420, 270, 240},
                                 {"\\/", 10005, 10185, 270, 240}, {"/\\", 10005, 9900, 270, 255},
                                 {"Save", 4560, 10320, 1005, 330}};
    for (int i = 0; i < 17; ++i) {
        const Control& c = buttons[i];
        QPushButton* button = Button(editor, i + 1);
        EXPECT_EQ(button->text(), c.caption) << i + 1;
        EXPECT_EQ(button->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15))
            << i + 1;
    }
    const QPoint boxes[8] = {{0, 10320},    {1680, 10320}, {3720, 10320}, {5760, 10320},
                             {7680, 10320}, {9360, 10320}, {9960, 720},   {9960, 9480}};
    for (int i = 0; i < 8; ++i) {
        auto* box = editor.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(i + 1));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->geometry(), QRect(boxes[i].x() / 15, boxes[i].y() / 15, 41, 19));
        EXPECT_TRUE(box->isReadOnly());
    }

    // The fixed extents of the lines, across their values.
    const float extents[8][2] = {{120, 9800}, {120, 9800}, {100, 9800}, {120, 9800},
                                 {120, 9800}, {100, 9800}, {105, 9905}, {100, 9900}};
    for (int i = 0; i < 8; ++i) {
        const ui::BoundaryLine& line = editor.Line(i + 1);
        const bool vertical = i < 6;
        EXPECT_EQ(vertical ? line.y1 : line.x1, extents[i][0]) << i + 1;
        EXPECT_EQ(vertical ? line.y2 : line.x2, extents[i][1]) << i + 1;
        EXPECT_EQ(vertical ? line.x1 : line.y1, vertical ? line.x2 : line.y2) << i + 1;
    }
}

TEST_F(FieldEditorTest, TabOrderRunsThroughTheButtonsThenTheBoxes) {
    Edit editor(file_);
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    Button(editor, 1)->setFocus();
    QStringList order;
    for (int i = 0; i < 26; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QStringList expected;
    for (int i = 1; i <= 17; ++i) expected << QStringLiteral("Command%1").arg(i);
    for (int i = 1; i <= 8; ++i) expected << QStringLiteral("Text%1").arg(i);
    expected << "Command1";
    EXPECT_EQ(order, expected);
}

TEST_F(FieldEditorTest, LoadShowsTheFileAndDefaultsForWhatIsMissingOrNoNumber) {
    WriteFile("[Fields]\ng12r= 0100 \ng34l=2000.5\ng34r=abc\ng56l=\ngtop=-20\ngbot=1e3\n");
    Edit editor(file_);
    const float expected[8] = {100, 2000.5f, 4000, 6000, 8000, 9900, -20, 1000};
    const char* texts[8] = {"100", "2000.5", "4000", "6000", "8000", "9900", "-20", "1000"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(editor.LineValue(i + 1), expected[i]) << i + 1;
        EXPECT_EQ(BoxText(editor, i + 1), texts[i]) << i + 1;
    }
}

TEST_F(FieldEditorTest, StepsSaveAndKeepTheRestOfTheFile) {
    WriteFile(
        "; gate\n[keyconfig]\nkey1=q\n[fields]\ng12r=0100\ng34l=2000\ng34r=4000\n"
        "g56l=6000\ng56r=8000\ng78l=9900\ngtop=0\nmine=1\n");
    Edit editor(file_);
    QSignalSpy saved(&editor, &Edit::saved);
    editor.show();

    Click(editor, 1, 5);  // ">" on g12r
    EXPECT_EQ(editor.LineValue(1), 200);
    EXPECT_EQ(BoxText(editor, 1), "200");
    EXPECT_EQ(editor.Line(1).x2, 200);
    Click(editor, 13);  // "/\" on gtop
    EXPECT_EQ(BoxText(editor, 7), "-20");
    Click(editor, 3, 2);  // "<" on g34l
    Click(editor, 6);     // ">" on g34r
    Click(editor, 7);     // "<" on g56l
    Click(editor, 10);    // ">" on g56r
    Click(editor, 11);    // "<" on g78l
    Click(editor, 15);    // "\/" on gbot, a key the file lacks
    Click(editor, 2);     // "<" on g12r
    EXPECT_EQ(BoxText(editor, 1), "180");

    Click(editor, 17);
    EXPECT_EQ(ReadFile(),
              "; gate\n[keyconfig]\nkey1=q\n[fields]\ng12r=180\ng34l=1960\ng34r=4020\n"
              "g56l=5980\ng56r=8020\ng78l=9880\ngtop=-20\nmine=1\ngbot=9820\n");
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(saved.count(), 1);
}

TEST_F(FieldEditorTest, SaveWithoutMovesRewritesAllEight) {
    WriteFile("[fields]\ng12r=0100\ng34l=+2000\n");
    Edit editor(file_);
    editor.show();
    Click(editor, 17);
    EXPECT_EQ(ReadFile(), kDefaults);
}

TEST_F(FieldEditorTest, FailedSaveSaysWhyAndStaysOpen) {
    WriteFile(kDefaults);
    ::chmod(file_.c_str(), 0444);
    Edit editor(file_);
    QSignalSpy saved(&editor, &Edit::saved);
    editor.show();
    Click(editor, 1);
    Click(editor, 17);

    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(saved.count(), 0);
    const QString text = ProblemText(editor);
    EXPECT_TRUE(text.contains(QString::fromStdString(file_.string()))) << text.toStdString();
    EXPECT_TRUE(text.contains("read-only")) << text.toStdString();
    EXPECT_EQ(editor.LineValue(1), 120);
    EXPECT_EQ(ReadFile(), kDefaults);
}

TEST_F(FieldEditorTest, AnUnreadableFileIsReportedWhenShown) {
    std::filesystem::create_directory(file_);  // a folder where the file should be
    Edit editor(file_);
    EXPECT_EQ(editor.LineValue(8), 9800);
    EXPECT_TRUE(ProblemText(editor).isEmpty());
    editor.show();
    const QString text = ProblemText(editor);
    EXPECT_TRUE(text.contains(QString::fromStdString(file_.string()))) << text.toStdString();
    EXPECT_TRUE(text.contains("folder")) << text.toStdString();
}

TEST_F(FieldEditorTest, HiddenKeepsTheLinesClosedDiscardsThem) {
    WriteFile(kDefaults);
    QPointer<Edit> editor = new Edit(file_);
    editor->show();
    Click(*editor, 1);
    Click(*editor, 17);
    ASSERT_FALSE(editor->isVisible());

    WriteFile("[fields]\ng12r=500\n");  // changed behind the hidden editor
    editor->show();
    EXPECT_EQ(editor->LineValue(1), 120);

    Click(*editor, 1);  // 140, never saved
    editor->close();
    EXPECT_TRUE(testing::WaitUntil([&] { return editor.isNull(); }));
    Edit fresh(file_);
    EXPECT_EQ(fresh.LineValue(1), 500);
}

TEST_F(FieldEditorTest, DraggedLinesSnapToTheStepAndStayInTheTravel) {
    WriteFile(kDefaults);
    Edit editor(file_);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));

    // g12r at 100 twips, about 6.7 px; 7 px more are 105 twips, snapped to 200.
    QTest::mousePress(&editor, Qt::LeftButton, {}, QPoint(7, 300));
    QTest::mouseMove(&editor, QPoint(14, 300));
    EXPECT_EQ(editor.LineValue(1), 200);
    EXPECT_EQ(BoxText(editor, 1), "200");
    QTest::mouseRelease(&editor, Qt::LeftButton, {}, QPoint(14, 300));

    // gbot at 9800 twips (653.3 px), 13 px up: 9605, snapped to 9600.
    QTest::mousePress(&editor, Qt::LeftButton, {}, QPoint(300, 653));
    QTest::mouseMove(&editor, QPoint(300, 640));
    EXPECT_EQ(BoxText(editor, 8), "9600");
    QTest::mouseMove(&editor, QPoint(300, 705));  // below the travel
    EXPECT_EQ(BoxText(editor, 8), "10000");
    QTest::mouseRelease(&editor, Qt::LeftButton, {}, QPoint(300, 705));

    // Away from every line a press moves nothing.
    QTest::mousePress(&editor, Qt::LeftButton, {}, QPoint(60, 300));
    QTest::mouseMove(&editor, QPoint(200, 300));
    QTest::mouseRelease(&editor, Qt::LeftButton, {}, QPoint(200, 300));
    EXPECT_EQ(editor.LineValue(1), 200);
    EXPECT_EQ(editor.LineValue(2), 2000);
}

TEST_F(FieldEditorTest, LiveStickFollowsReadingsAndTheLinesBeingEdited) {
    WriteFile(kDefaults);
    Edit editor(file_);
    editor.show();
    EXPECT_FALSE(editor.StickPosition());

    editor.ShowStick(Stick(3000, 50));
    EXPECT_EQ(editor.StickPosition(), QPointF(3000, 50));
    EXPECT_EQ(editor.StickGear(), 3);
    editor.ShowStick(Stick(3000, 9900));
    EXPECT_EQ(editor.StickGear(), 4);
    editor.ShowStick(Stick(50, 50, true));
    EXPECT_EQ(editor.StickGear(), 9);  // reverse: field 1 with button 1
    editor.ShowStick(Stick(9950, 50, true));
    EXPECT_EQ(editor.StickGear(), 7);  // button 1 elsewhere changes nothing
    editor.ShowStick(Stick(5000, 50));
    EXPECT_EQ(editor.StickGear(), 0);

    // Just right of g34r: neutral until the line is stepped past it, with no new reading.
    editor.ShowStick(Stick(4010, 50));
    EXPECT_EQ(editor.StickGear(), 0);
    Click(editor, 6);
    EXPECT_EQ(editor.StickGear(), 3);

    editor.ShowStick(Stick(3000, 40));
    SaveScreenshot(editor, "field_editor.png");

    editor.ClearStick();
    EXPECT_FALSE(editor.StickPosition());
    EXPECT_EQ(editor.StickGear(), 0);
}

}  // namespace
}  // namespace vantrel
