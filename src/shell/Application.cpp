#include "shell/Application.h"

#include "appearance/Languages.h"
#include "device/HidBackend.h"
#include "platform/PointerSettings.h"
#include "shell/AppIcon.h"
#include "shell/DemoMouse.h"
#include "shell/DeviceController.h"
#include "shell/MainWindow.h"
#include "shell/Options.h"
#include "shell/Prompts.h"
#include "shell/ScreenshotTour.h"
#include "shell/SingleInstance.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace orlix::shell {

namespace {

// A screenshot run must not wait for anyone: messages go to the error stream.
class LoggingPrompts : public Prompts {
public:
    void message(QWidget*, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", text.toLocal8Bit().constData());
    }
    QString saveFileName(QWidget*, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&) override { return {}; }
    void openUrl(const QUrl&) override {}
};

std::unique_ptr<device::HidBackend> makeBackend(const Options& options, Edition edition,
                                                const appearance::ResourceBundle& resources) {
    if (options.simulate != Options::Simulate::Off) {
        const auto defaults = resources.find("OrlixData").value_or(std::span<const std::uint8_t>{});
        auto languages = appearance::Languages::load(resources, traitsOf(edition)).languages;
        return makeDemoMouse(edition, defaults, options.simulate == Options::Simulate::Macro,
                             languages);
    }
    return device::makeSystemHidBackend();
}

// The system's pointer settings; the demo mode changes a file of its own instead, which
// starts in the middle of each scale until the first Apply writes it.
std::unique_ptr<platform::PointerSettingsStore> makePointerStore(const Options& options) {
    if (options.simulate == Options::Simulate::Off) return platform::systemPointerSettingsStore();
    return std::make_unique<platform::FilePointerSettingsStore>(
        platform::defaultPointerSettingsFile(), platform::PointerValues{10, 550, 3});
}

} // namespace

int runEditor(int argc, char** argv, Edition edition, const appearance::ResourceBundle& resources) {
    // The command line is read before anything needs a display: --help, --version and a
    // refused line work on a machine without one.
    const auto& traits = traitsOf(edition);
    const std::string program(traits.programName);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    const Options options = parseOptions(args);
    if (options.help) {
        std::fputs(usage(program).c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(versionText(program).c_str(), stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s: %s\n%s", program.c_str(), options.error.c_str(),
                     usage(program).c_str());
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(
        traits.programName.data(), static_cast<qsizetype>(traits.programName.size())));
    QApplication::setApplicationDisplayName(QStringLiteral("Gaming Mouse"));
    QApplication::setWindowIcon(applicationIcon(edition));

    // A second copy brings the first one's window to the front and ends; a screenshot run
    // stays out of the way of a copy the user has open.
    MainWindow* shown = nullptr;
    SingleInstance instance;
    if (!options.screenshotDir) {
        const auto start = instance.start([&shown] {
            if (shown == nullptr) return;
            shown->showNormal();
            shown->raise();
            shown->activateWindow();
        });
        if (start == SingleInstance::Start::AlreadyRunning) {
            std::printf("%s: already running; its window was brought to the front.\n",
                        program.c_str());
            return 0;
        }
    }

    auto backend = makeBackend(options, edition, resources);
    Prompts standardPrompts;
    LoggingPrompts loggingPrompts;
    Prompts& prompts = options.screenshotDir ? loggingPrompts : standardPrompts;
    const auto pointerSettings = makePointerStore(options);
    MainWindow window(edition, resources, *backend, prompts, pointerSettings.get());
    if (options.simulate != Options::Simulate::Off)
        window.device().setBackupsOf(BackupsOf::SimulatedMouse);
    window.show();
    shown = &window;

    if (options.screenshotDir) {
        int rc = 0;
        QTimer::singleShot(0, &window, [&] {
            ScreenshotTour tour(window, QString::fromStdString(*options.screenshotDir));
            const bool ok = tour.run();
            for (const QString& file : tour.written())
                std::printf("%s\n", file.toLocal8Bit().constData());
            if (!ok) std::fprintf(stderr, "%s\n", tour.error().toLocal8Bit().constData());
            rc = ok ? 0 : 1;
            window.close();
            QApplication::exit(rc);
        });
        const int loop = QApplication::exec();
        return rc != 0 ? rc : loop;
    }
    return QApplication::exec();
}

} // namespace orlix::shell
