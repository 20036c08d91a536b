#include "windows/main_window/messages.h"

#include <QMessageBox>
#include <cstdio>

namespace vantrel {
namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

void ShowCycleErrorBox(QWidget* parent, const std::string& message) {
    // An empty title: the platform shows the program's name.
    QMessageBox box(QMessageBox::NoIcon, QString(), Text(message), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("cycleError"));
    box.exec();
}

void ShowNotice(QWidget* parent, const std::string& text, const std::string& advice) {
    QMessageBox box(QMessageBox::Information, QString(), Text(text), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("notice"));
    box.setInformativeText(Text(advice));
    box.exec();
}

QWidget* ShowPassingNotice(QWidget* parent, const std::string& text, const std::string& advice) {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Vantrel"), Text(text),
                                QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("passingNotice"));
    box->setInformativeText(Text(advice));
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    return box;
}

void ShowStartUpFailure(const std::string& text) {
    // Also for a start from a terminal, an autostart's log, or a session whose box nobody sees.
    std::fprintf(stderr, "vantrel: %s\n", text.c_str());
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vantrel"), Text(text), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("startUpFailure"));
    box.setInformativeText(QStringLiteral("Vantrel cannot run and ends now."));
    box.exec();
}

QWidget* ShowNote(QWidget* parent, const std::string& text) {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Vantrel"), Text(text),
                                QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("note"));
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    return box;
}

QWidget* ShowSettingsReport(QWidget* parent, const std::vector<std::string>& lines) {
    QString details;
    for (const std::string& line : lines) {
        if (!details.isEmpty()) details += QLatin1Char('\n');
        details += Text(line);
    }
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Vantrel settings"),
                                QStringLiteral("Some settings could not be used as written:"),
                                QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("settingsReport"));
    box->setInformativeText(details);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    return box;
}

}  // namespace vantrel
