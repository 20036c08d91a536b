#include "windows/about_window.h"

#include <QGroupBox>
#include <QLabel>

#include "windows/app_icon.h"
#include "windows/design_fonts.h"
#include "windows/label_fit.h"
#include "windows/twips.h"

namespace vantrel {
namespace {

using ui::Px;
using ui::TwipsRect;
using ui::TwipsSize;

void Line(QWidget* frame, const char* name, const char* text, QRect place) {
    auto* label = new QLabel(QString::fromUtf8(text), frame);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    WidenToFitText(label, frame->width() - Px(120));
}

}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(QStringLiteral("About"));
    setWindowIcon(ApplicationIcon());
    setFixedSize(TwipsSize(4680, 3135));
    setFont(WindowFont());
    // Closing unloads it; the next "About" builds it again.
    setAttribute(Qt::WA_DeleteOnClose);

    auto* frame = new QGroupBox(QStringLiteral("Credits:"), this);
    frame->setObjectName(QStringLiteral("credits"));
    frame->setGeometry(TwipsRect(120, 120, 4335, 2895));
    Line(frame, "credit1", "Main programming: Orlend", TwipsRect(240, 360, 2295, 255));
    Line(frame, "credit2", "Special thanks to: ", TwipsRect(120, 720, 1455, 255));
    Line(frame, "credit3", "Pimm, for the fields editor.", TwipsRect(240, 1080, 2175, 255));
    Line(frame, "credit4", "Everybody who reported bugs & suggestions",
         TwipsRect(240, 1440, 3135, 255));
    Line(frame, "credit5", "ALL the users :)", TwipsRect(240, 1800, 3135, 255));
}

}  // namespace vantrel
