// The tray where the desktop shows icons as StatusNotifierItems over D-Bus (KDE, GNOME with
// AppIndicator, most Wayland panels): the item carries the tip and exports the menu; the host's
// context request opens the menu, its other requests do not; the menu's items work through it.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>

#include "shell/tray/module1.h"
#include "shell/tray/tray.h"
#include "tray/tray_test_support.h"

namespace vantrel {
namespace {

using testing::Child;
using testing::RunToEnd;
using testing::WaitUntil;

const auto* const kRuntimeDir = ::testing::AddGlobalTestEnvironment(new testing::PrivateRuntimeDir);

class SniTray : public ::testing::Test {
  protected:
    // Before Qt first looks for a tray: it decides once per process which protocol to use.
    static void SetUpTestSuite() {
        watcher_ = new Child(FAKE_SNI_WATCHER, {}, QProcessEnvironment::systemEnvironment());
        ASSERT_EQ(watcher_->WaitForLine("ready"), "ready");
    }
    static void TearDownTestSuite() { delete watcher_; }

    void SetUp() override {
        mainWindow.resize(300, 200);
        mainWindow.show();
        hooks.mainWindow = &mainWindow;
        hooks.reloadSettings = [this] { ++reloads; };
        hooks.endProgram = [this] { ++ends; };
        tray = std::make_unique<Tray>(hooks);
        tray->Minimize();
        menu = tray->form2().popmenu;
        ASSERT_NE(TrayIcon(), nullptr);
        QObject::connect(TrayIcon(), &QSystemTrayIcon::activated,
                         [this](QSystemTrayIcon::ActivationReason r) { reasons.push_back(r); });
        // Each test adds one item; the earlier tests' items were registered before it.
        QList<QByteArray> registered;
        ASSERT_TRUE(WaitUntil([&] {
            registered.clear();
            for (const QByteArray& line : watcher_->Output().split('\n')) {
                if (line.startsWith("registered ")) registered << line.mid(11);
            }
            return registered.size() > items;
        })) << "no StatusNotifierItem was registered";
        ++items;
        service = QString::fromUtf8(registered.last());
    }

    // Calls `method` of the item (or of its menu) with dbus-send; its printed reply.
    QString Call(const QString& path, const QString& method, const QStringList& args = {}) {
        return QString::fromUtf8(RunToEnd(
            "dbus-send",
            QStringList{"--session", "--print-reply", "--dest=" + service, path, method} + args));
    }
    QString Property(const QString& name) {
        return Call("/StatusNotifierItem", "org.freedesktop.DBus.Properties.Get",
                    {"string:org.kde.StatusNotifierItem", "string:" + name});
    }
    // The id the exported menu gives the item with `label`.
    int MenuId(const QString& layout, const QString& label) {
        const QRegularExpression item(
            "int32 (\\d+)\\s+array \\[[^\\]]*?string \"label\"\\s+"
            "variant\\s+string \"" +
            QRegularExpression::escape(label) + "\"");
        const QRegularExpressionMatch m = item.match(layout);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }
    void Click(int id) {
        Call("/MenuBar", "com.canonical.dbusmenu.Event",
             {"int32:" + QString::number(id), "string:clicked", "variant:int32:0", "uint32:0"});
    }

    static Child* watcher_;
    static int items;
    QWidget mainWindow;
    TrayHooks hooks;
    std::unique_ptr<Tray> tray;
    QMenu* menu = nullptr;
    QString service;
    std::vector<QSystemTrayIcon::ActivationReason> reasons;
    int reloads = 0;
    int ends = 0;
};

Child* SniTray::watcher_ = nullptr;
int SniTray::items = 0;

TEST_F(SniTray, TheItemCarriesTheTipAndExportsTheMenu) {
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_TRUE(Property("ToolTip").contains("\"vantrel\""));
    EXPECT_TRUE(Property("Menu").contains("/MenuBar"));

    const QString layout = Call("/MenuBar", "com.canonical.dbusmenu.GetLayout",
                                {"int32:0", "int32:-1", "array:string:"});
    for (const char* label : {"_Normal View", "_Start", "_Stop", "_Reload", "_Close"}) {
        EXPECT_GE(MenuId(layout, label), 0) << label << "\n" << layout.toStdString();
    }
    EXPECT_EQ(layout.count(QRegularExpression("string \"enabled\"\\s+variant\\s+boolean false")),
              2);
}

TEST_F(SniTray, OnlyTheContextRequestOpensTheMenu) {
    Call("/StatusNotifierItem", "org.kde.StatusNotifierItem.Activate", {"int32:5", "int32:5"});
    Call("/StatusNotifierItem", "org.kde.StatusNotifierItem.SecondaryActivate",
         {"int32:5", "int32:5"});
    EXPECT_EQ(reasons, (std::vector{QSystemTrayIcon::Trigger, QSystemTrayIcon::MiddleClick}));
    EXPECT_FALSE(menu->isVisible());

    Call("/StatusNotifierItem", "org.kde.StatusNotifierItem.ContextMenu", {"int32:5", "int32:5"});
    EXPECT_TRUE(WaitUntil([&] { return menu->isVisible(); }));
    WaitUntil([] { return false; }, 300);
    const QString shot = QString(VANTREL_BINARY_DIR) + "/tests/tray/tray-menu-sni.png";
    EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(shot));
}

TEST_F(SniTray, TheExportedItemsWork) {
    const QString layout = Call("/MenuBar", "com.canonical.dbusmenu.GetLayout",
                                {"int32:0", "int32:-1", "array:string:"});
    Click(MenuId(layout, "_Reload"));
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(ends, 0);
    Click(MenuId(layout, "_Close"));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(TrayIcon(), nullptr);
    EXPECT_TRUE(WaitUntil(
        [&] { return !QDBusConnection::sessionBus().interface()->isServiceRegistered(service); }));
}

}  // namespace
}  // namespace vantrel
