#include "shell/Options.h"

#include <QCommandLineParser>
#include <QStringList>

#include <array>

namespace orlix::shell {

namespace {

// Options QGuiApplication and QApplication take for themselves. They are known here only
// so that a command line carrying them is not refused before Qt has read it.
constexpr std::array kQtValueOptions = {"platform",      "platformpluginpath",
                                        "platformtheme", "plugin",
                                        "qmljsdebugger", "qwindowgeometry",
                                        "qwindowicon",   "qwindowtitle",
                                        "session",       "display",
                                        "geometry",      "style",
                                        "stylesheet",    "name",
                                        "title",         "visual"};
constexpr std::array kQtFlagOptions = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool isKind(const std::string& s) {
    return s == "basic" || s == "macro";
}

} // namespace

Options parseOptions(const std::vector<std::string>& args) {
    Options o;
    // A bare --simulate and one followed by its kind become --simulate=<kind>, so the parser
    // sees one option with one value either way.
    QStringList list{QStringLiteral("program")};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--simulate") {
            const bool kindFollows = i + 1 < args.size() && isKind(args[i + 1]);
            list << QStringLiteral("--simulate=") +
                        QString::fromStdString(kindFollows ? args[++i] : "macro");
        } else {
            list << QString::fromStdString(args[i]);
        }
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption simulate(QStringLiteral("simulate"), {}, QStringLiteral("kind"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), {}, QStringLiteral("dir"));
    parser.addOptions({help, version, simulate, screenshot});
    for (const char* name : kQtValueOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("v")));
    for (const char* name : kQtFlagOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    if (!parser.parse(list)) {
        o.error = parser.errorText().toStdString();
        return o;
    }
    if (!parser.positionalArguments().isEmpty()) {
        o.error = "unknown argument: " + parser.positionalArguments().first().toStdString();
        return o;
    }
    o.help = parser.isSet(help);
    o.version = parser.isSet(version);
    if (parser.isSet(simulate)) {
        const std::string kind = parser.value(simulate).toStdString();
        if (kind == "basic") {
            o.simulate = Options::Simulate::Basic;
        } else if (kind == "macro") {
            o.simulate = Options::Simulate::Macro;
        } else {
            o.error = "unknown kind of simulated mouse: " + kind + " (basic or macro)";
            return o;
        }
    }
    if (parser.isSet(screenshot)) {
        o.screenshotDir = parser.value(screenshot).toStdString();
        if (o.screenshotDir->empty()) o.error = "--screenshot needs a folder";
    }
    return o;
}

std::string usage(std::string_view program) {
    std::string p(program);
    return "Usage: " + p +
           " [--simulate [basic|macro]] [--screenshot DIR] [--help] [--version]\n"
           "\n"
           "  --simulate [basic|macro]  use the built-in simulated mouse instead of a real one\n"
           "                            (macro: with macro memory, the default; basic: without);\n"
           "                            the kind may also be given as --simulate=basic\n"
           "  --screenshot DIR          render every page in every language to PNG files in\n"
           "                            DIR, then end (runs against the simulated mouse when\n"
           "                            --simulate is given)\n"
           "  --help                    show this text and end\n"
           "  --version                 show the program's version and end\n"
           "\n"
           "Qt's own options (-platform NAME, -style NAME, ...) are passed on to Qt.\n";
}

std::string versionText(std::string_view program) {
    return std::string(program) + " " ORLIX_VERSION "\n";
}

} // namespace orlix::shell
