// The main window's controls and the about window, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "shell/app_icon.h"
#include "shell/design_fonts.h"
#include "shell/frm_main.h"
#include "support/qt_wait.h"

namespace vantrel {
namespace {

struct Expected {
    const char* name;
    const char* text;
    QRect pixels;
};

// The designed places in twips, divided by 15.
const Expected kControls[] = {
    {"lblJoy", "Joysticks", {8, 8, 97, 25}},
    {"reload", "Reload INI", {160, 8, 73, 25}},
    {"editor", "Editor", {240, 8, 73, 25}},
    {"Config", "Config", {320, 8, 73, 25}},
    {"min_btn", "Minimize", {240, 40, 73, 25}},
    {"about", "About", {320, 40, 73, 25}},
    {"lstJoySticks", "", {16, 72, 369, 95}},
    {"lblAxis", "Axes", {16, 184, 89, 33}},
    {"lblButtons", "Buttons", {144, 184, 105, 25}},
    {"lblHats", "Gear's", {272, 184, 89, 25}},
    {"lstJoyAxis", "lstJoyAxis", {16, 216, 113, 186}},
    {"lstButton", "lstButton", {144, 216, 113, 186}},
    {"lstGear", "lstGear", {272, 216, 113, 186}},
};

QString TextOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    auto* list = qobject_cast<QListWidget*>(w);
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines.join('\n');
}

TEST(MainWindow, EveryControlHasItsNameTextAndPlace) {
    frmMain frm;
    EXPECT_EQ(frm.objectName(), "frmMain");
    EXPECT_EQ(frm.windowTitle(), "Vantrel");
    EXPECT_EQ(frm.geometry(), QRect(129, 114, 405, 416));
    EXPECT_EQ(frm.minimumSize(), frm.maximumSize());
    for (const Expected& c : kControls) {
        SCOPED_TRACE(c.name);
        auto* w = frm.findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), &frm);
        EXPECT_EQ(TextOf(w), c.text);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            // A heading keeps its place and grows only as far as its text needs.
            EXPECT_EQ(w->geometry().topLeft(), c.pixels.topLeft());
            EXPECT_EQ(w->height(), c.pixels.height());
            EXPECT_GE(w->width(), c.pixels.width());
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), w->width());
        } else {
            EXPECT_EQ(w->geometry(), c.pixels);
        }
    }
    EXPECT_EQ(frm.controls().lstJoySticks->currentRow(), -1);

    const QIcon icon = frm.windowIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
    // Drawn, not blank: the slots are light on a dark ground.
    const QImage small = ApplicationIconPixmap(16).toImage();
    EXPECT_NE(small.pixelColor(3, 10), small.pixelColor(1, 10));
    ApplicationIconPixmap(32).save(VANTREL_BINARY_DIR "/tests/shell/icon-32.png");
}

TEST(MainWindow, HeadingsUseTheHeadingFontAndAFontResolved) {
    ASSERT_FALSE(QFontDatabase::families().isEmpty()) << "no font installed: text would not draw";
    frmMain frm;
    for (const char* name : {"lblJoy", "lblAxis", "lblButtons", "lblHats"}) {
        SCOPED_TRACE(name);
        auto* label = frm.findChild<QLabel*>(name);
        const QFont font = label->font();
        EXPECT_EQ(font.family(), "MS Sans Serif");
        EXPECT_EQ(font.pointSize(), 18);
        EXPECT_EQ(font.weight(), QFont::Normal);
        EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
        const QFontInfo resolved(font);
        EXPECT_FALSE(resolved.family().isEmpty());
        EXPECT_TRUE(QFontMetrics(font).inFontUcs4('J'));
        EXPECT_GT(QFontMetrics(font).horizontalAdvance(label->text()), 0);
    }
    // Every other control uses the window's default font, the one the layout was designed for.
    EXPECT_EQ(frm.font(), WindowFont());
    EXPECT_EQ(frm.findChild<QPushButton*>("reload")->font(), WindowFont());
    EXPECT_EQ(frm.findChild<QListWidget*>("lstGear")->font(), WindowFont());

    // For a look at the fresh window: headings, buttons and placeholders.
    frm.show();
    EXPECT_TRUE(frm.grab().save(VANTREL_BINARY_DIR "/tests/shell/main-window-start.png"));
}

TEST(MainWindow, TabOrderFollowsTheDesign) {
    frmMain frm;
    QStringList order;
    QWidget* w = frm.controls().lstJoySticks;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && frm.isAncestorOf(w)) {
            order << w->objectName();
        }
        w = w->nextInFocusChain();
    } while (w != frm.controls().lstJoySticks);
    // Labels take no focus; lists and buttons in the designed order.
    EXPECT_EQ(order, (QStringList{"lstJoySticks", "lstJoyAxis", "lstButton", "lstGear", "Config",
                                  "editor", "about", "min_btn", "reload"}));
}

QList<QWidget*> AboutWindows() {
    QList<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "Form_About" && w->isVisible()) found << w;
    }
    return found;
}

TEST(AboutWindow, OneInstanceWithItsTextsModelessAndUnloadedOnClose) {
    frmMain frm;
    frm.show();
    frm.controls().about->click();
    frm.controls().about->click();
    ASSERT_EQ(AboutWindows().size(), 1);
    QWidget* about = AboutWindows().front();
    EXPECT_EQ(about->windowTitle(), "About");
    EXPECT_EQ(about->size(), QSize(312, 209));
    EXPECT_EQ(about->parentWidget(), nullptr);
    EXPECT_EQ(about->windowModality(), Qt::NonModal);
    EXPECT_EQ(about->windowIcon().availableSizes().size(), 2);

    auto* frame = about->findChild<QGroupBox*>("Frame1");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Credits:");
    EXPECT_EQ(frame->geometry(), QRect(8, 8, 289, 193));
    const std::pair<const char*, const char*> lines[] = {
        {"Label1", "Main programming: Orlend"},
        {"Label2", "Special thanks to: "},
        {"Label3", "Pimm, for the fields editor."},
        {"Label4", "Everybody who reported bugs & suggestions"},
        {"Label5", "ALL the users :)"}};
    for (const auto& [name, text] : lines) {
        auto* label = frame->findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), text);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << name;
    }
    EXPECT_EQ(frame->findChild<QLabel*>("Label2")->pos(), QPoint(8, 48));
    EXPECT_EQ(frame->findChild<QLabel*>("Label4")->pos(), QPoint(16, 96));
    EXPECT_EQ(frame->findChild<QLabel*>("Label4")->height(), 17);
    about->grab().save(VANTREL_BINARY_DIR "/tests/shell/about-window.png");

    QPointer<QWidget> first = about;
    about->close();
    ASSERT_TRUE(testing::WaitUntil([&] { return first.isNull(); }));
    frm.controls().about->click();
    ASSERT_EQ(AboutWindows().size(), 1);
    EXPECT_EQ(AboutWindows().front()->findChild<QLabel*>("Label5")->text(), "ALL the users :)");
}

}  // namespace
}  // namespace vantrel
