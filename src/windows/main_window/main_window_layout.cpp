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

// `placeholder`: the line a live list shows until a controller is chosen; null for the list of
// controllers.
QListWidget* List(QWidget& window, const char* name, QRect place, const char* placeholder) {
    auto* list = placeholder ? new QListWidget(&window) : new ControllerList(&window);
    list->setObjectName(QString::fromUtf8(name));
    list->setGeometry(place);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    if (placeholder) list->addItem(QString::fromUtf8(placeholder));
    return list;
}

}  // namespace

MainWindowControls BuildMainWindowControls(QWidget& window) {
    window.setFixedSize(TwipsSize(6075, 6240));
    window.setFont(WindowFont());

    MainWindowControls c{};
    c.controllersHeading =
        Heading(window, "controllersHeading", "Joysticks", TwipsRect(120, 120, 1455, 375));
    c.reloadButton = Button(window, "reloadButton", "Reload INI", TwipsRect(2400, 120, 1095, 375));
    c.editorButton = Button(window, "editorButton", "Editor", TwipsRect(3600, 120, 1095, 375));
    c.keysButton = Button(window, "keysButton", "Config", TwipsRect(4800, 120, 1095, 375));
    c.minimizeButton =
        Button(window, "minimizeButton", "Minimize", TwipsRect(3600, 600, 1095, 375));
    c.aboutButton = Button(window, "aboutButton", "About", TwipsRect(4800, 600, 1095, 375));
    c.controllerList = List(window, "controllerList", TwipsRect(240, 1080, 5535, 1425), nullptr);
    c.axesHeading = Heading(window, "axesHeading", "Axes", TwipsRect(240, 2760, 1335, 495));
    c.buttonsHeading =
        Heading(window, "buttonsHeading", "Buttons", TwipsRect(2160, 2760, 1575, 375));
    c.gearsHeading = Heading(window, "gearsHeading", "Gear's", TwipsRect(4080, 2760, 1335, 375));
    c.axisList = List(window, "axisList", TwipsRect(240, 3240, 1695, 2790), "lstJoyAxis");
    c.buttonList = List(window, "buttonList", TwipsRect(2160, 3240, 1695, 2790), "lstButton");
    c.gearList = List(window, "gearList", TwipsRect(4080, 3240, 1695, 2790), "lstGear");

    // Each heading may use the free room up to the next control on its right.
    WidenToFitText(c.controllersHeading, c.reloadButton->x());
    WidenToFitText(c.axesHeading, c.buttonsHeading->x());
    WidenToFitText(c.buttonsHeading, c.gearsHeading->x());
    WidenToFitText(c.gearsHeading, window.width());

    // Labels take no focus; the rest follow the designed tab order.
    QWidget* order[] = {c.controllerList, c.axisList,       c.buttonList,
                        c.gearList,       c.keysButton,     c.editorButton,
                        c.aboutButton,    c.minimizeButton, c.reloadButton};
    for (size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    return c;
}

}  // namespace vantrel
