#include "windows/main_window/main_window_layout.h"

#include "windows/design_fonts.h"
#include "windows/label_fit.h"
#include "windows/twips.h"

namespace vantrel {
namespace {

using ui::TwipsRect;
using ui::TwipsSize;

// The list of controllers. Vantrel's own gear keys reach it whenever its window has the focus:
// typed letters must not jump to another line.
class ControllerList : public QListWidget {
  public:
    using QListWidget::QListWidget;
    void keyboardSearch(const QString&) override {}
};

QLabel* Heading(QWidget& window, const char* name, const char* text, QRect place) {
    auto* label = new QLabel(QString::fromUtf8(text), &window);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(place);
    label->setFont(HeadingFont());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* Button(QWidget& window, const char* name, const char* text, QRect place) {
    auto* button = new QPushButton(QString::fromUtf8(text), &window);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

QListWidget* List(QWidget& window, const char* name, QRect place, bool placeholder) {
    auto* list = placeholder ? new QListWidget(&window) : new ControllerList(&window);
    list->setObjectName(QString::fromUtf8(name));
    list->setGeometry(place);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // The live lists start with their own name as a placeholder line until a controller is chosen.
    if (placeholder) list->addItem(QString::fromUtf8(name));
    return list;
}

}  // namespace

MainWindowControls BuildMainWindowControls(QWidget& window) {
    window.setFixedSize(TwipsSize(6075, 6240));
    window.setFont(WindowFont());

    MainWindowControls c{};
    c.lblJoy = Heading(window, "lblJoy", "Joysticks", TwipsRect(120, 120, 1455, 375));
    c.reload = Button(window, "reload", "Reload INI", TwipsRect(2400, 120, 1095, 375));
    c.editor = Button(window, "editor", "Editor", TwipsRect(3600, 120, 1095, 375));
    c.Config = Button(window, "Config", "Config", TwipsRect(4800, 120, 1095, 375));
    c.min_btn = Button(window, "min_btn", "Minimize", TwipsRect(3600, 600, 1095, 375));
    c.about = Button(window, "about", "About", TwipsRect(4800, 600, 1095, 375));
    c.lstJoySticks = List(window, "lstJoySticks", TwipsRect(240, 1080, 5535, 1425), false);
    c.lblAxis = Heading(window, "lblAxis", "Axes", TwipsRect(240, 2760, 1335, 495));
    c.lblButtons = Heading(window, "lblButtons", "Buttons", TwipsRect(2160, 2760, 1575, 375));
    c.lblHats = Heading(window, "lblHats", "Gear's", TwipsRect(4080, 2760, 1335, 375));
    c.lstJoyAxis = List(window, "lstJoyAxis", TwipsRect(240, 3240, 1695, 2790), true);
    c.lstButton = List(window, "lstButton", TwipsRect(2160, 3240, 1695, 2790), true);
    c.lstGear = List(window, "lstGear", TwipsRect(4080, 3240, 1695, 2790), true);

    // Each heading may use the free room up to the next control on its right.
    WidenToFitText(c.lblJoy, c.reload->x());
    WidenToFitText(c.lblAxis, c.lblButtons->x());
    WidenToFitText(c.lblButtons, c.lblHats->x());
    WidenToFitText(c.lblHats, window.width());

    // Labels take no focus; the rest follow the designed tab order.
    QWidget* order[] = {c.lstJoySticks, c.lstJoyAxis, c.lstButton, c.lstGear, c.Config,
                        c.editor,       c.about,      c.min_btn,   c.reload};
    for (size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    return c;
}

}  // namespace vantrel
