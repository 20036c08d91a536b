#include "windows/design_fonts.h"

namespace vantrel {
namespace {

QFont SansSerif(int points) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(points);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace

QFont WindowFont() { return SansSerif(8); }
QFont HeadingFont() { return SansSerif(18); }

}  // namespace vantrel
