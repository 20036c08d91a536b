#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFile>

#ifndef VANTREL_VERSION
#error "VANTREL_VERSION comes from the project version in CMake"
#endif

namespace vantrel {
namespace {

// Qt names the program "<executable_name>" when no application object exists yet; the usage
// line says "vantrel" however the program was started.
QString HelpText(const QCommandLineParser& parser) {
    QString help = parser.helpText();
    const qsizetype firstLineEnd = help.indexOf(QLatin1Char('\n'));
    help.replace(0, firstLineEnd, QStringLiteral("Usage: vantrel [options]"));
    return help;
}

CommandLine Refuse(const QString& reason, const QCommandLineParser& parser) {
    CommandLine answer;
    answer.err = ("vantrel: " + reason + "\n\n" + HelpText(parser)).toStdString();
    answer.exitNow = kExitUsage;
    return answer;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Turns a game controller into an H-pattern gear lever for driving games: the stick's "
        "field in the gear gate holds that gear's keyboard key down."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show Vantrel's version and end."));
    const QCommandLineOption minimized(
        QStringLiteral("minimized"),
        QStringLiteral("Start hidden in the tray (a minimized window where the desktop has no "
                       "tray) and wait for the controller."));
    const QCommandLineOption config(
        QStringLiteral("config"),
        QStringLiteral("Use FILE as the settings file instead of "
                       "$XDG_CONFIG_HOME/vantrel/config.ini; the dialogs save to it too."),
        QStringLiteral("FILE"));
    const QCommandLineOption autostart(
        QStringLiteral("autostart"),
        QStringLiteral("on: start Vantrel hidden in the tray at every login (with this --config, "
                       "if given). off: no longer. Ends without starting Vantrel."),
        QStringLiteral("on|off"));
    parser.addOptions({help, version, minimized, config, autostart});

    if (!parser.parse(arguments)) return Refuse(parser.errorText(), parser);
    if (!parser.positionalArguments().isEmpty()) {
        return Refuse(
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()),
            parser);
    }

    CommandLine answer;
    if (parser.isSet(help)) {
        answer.out = HelpText(parser).toStdString();
        answer.exitNow = 0;
        return answer;
    }
    if (parser.isSet(version)) {
        answer.out = "vantrel " VANTREL_VERSION "\n";
        answer.exitNow = 0;
        return answer;
    }
    if (parser.isSet(autostart)) {
        const QString value = parser.value(autostart);
        if (value != QLatin1String("on") && value != QLatin1String("off")) {
            return Refuse(QStringLiteral("--autostart takes on or off, not '%1'.").arg(value),
                          parser);
        }
        answer.autostart = value == QLatin1String("on");
    }
    if (parser.isSet(config)) {
        const std::string file = QFile::encodeName(parser.value(config)).toStdString();
        if (file.empty()) return Refuse(QStringLiteral("--config needs a file name."), parser);
        // Kept absolute: an autostart entry or a later dialog runs from another folder.
        std::error_code ec;
        answer.configFile = std::filesystem::absolute(file, ec);
        if (ec) answer.configFile = file;
    }
    answer.minimized = parser.isSet(minimized);
    return answer;
}

}  // namespace vantrel
