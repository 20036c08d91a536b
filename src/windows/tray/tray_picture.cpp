#include "windows/tray/tray_picture.h"

namespace vantrel {

// 615 twips square at the window's top left corner.
TrayPicture::TrayPicture(QWidget* parent) : QLabel(parent) {
    setObjectName("iconTarget");
    setGeometry(0, 0, 41, 41);
}

void TrayPicture::SetIcon(const QIcon& icon) {
    icon_ = icon;
    setPixmap(icon.pixmap(32, 32));
}

}  // namespace vantrel
