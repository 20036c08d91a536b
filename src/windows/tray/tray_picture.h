#pragma once
// The tray host's picture: it shows the application icon, gives the tray icon its
// picture, and receives the icon's activations.

#include <QIcon>
#include <QLabel>
#include <QSystemTrayIcon>
#include <functional>

namespace vantrel {

class TrayPicture : public QLabel {
  public:
    explicit TrayPicture(QWidget* parent);

    void SetIcon(const QIcon& icon);
    const QIcon& Icon() const { return icon_; }

    // Run for every activation of the tray icon.
    std::function<void(QSystemTrayIcon::ActivationReason)> onActivated;

  private:
    QIcon icon_;
};

}  // namespace vantrel
