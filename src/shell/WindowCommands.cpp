#include "shell/WindowCommands.h"

#include "macro/gui/MacroPage.h"
#include "model/Backups.h"
#include "model/FileIo.h"
#include "model/HalfWritten.h"
#include "rules/AssignmentEditor.h"
#include "rules/PageRules.h"
#include "shell/DeviceController.h"
#include "shell/MainWindow.h"
#include "shell/Prompts.h"
#include "shell/WindowControls.h"
#include "widgets/FilePath.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>

#include <filesystem>

namespace orlix::shell {

using pages::toPath;

namespace {

// Qt's form of the file dialogs' filters.
const QString kSaveFilter = QStringLiteral("SaveFile (*.bin)");
const QString kLoadFilter = QStringLiteral("LoadFile (*.bin)");

// Runs `body` unless another command is running; a command's pauses let clicks through.
template <typename F> void once(bool& busy, F&& body) {
    if (busy) return;
    busy = true;
    body();
    busy = false;
}

} // namespace

WindowCommands::WindowCommands(MainWindow& window) : QObject(&window), window_(window) {}

void WindowCommands::buttonClicked(const QString& name) {
    // A recording ends before any command of the window, page or language switch.
    if (name != QLatin1String("Btn_Web")) window_.macroPage().stopRecording();
    if (name == QLatin1String("Btn_Confirm")) return confirm();
    if (name == QLatin1String("Btn_Apply")) return apply();
    if (name == QLatin1String("Btn_Reset")) return reset();
    if (name == QLatin1String("Btn_Exit")) return exit();
    if (name == QLatin1String("Btn_Save")) return save();
    if (name == QLatin1String("Btn_Load")) return load();
    if (name == QLatin1String("Btn_Web")) return openWebPage();
    if (name.startsWith(QLatin1String("Btn_Lang")))
        return window_.applyLanguage(name.right(1).toInt());
    if (auto page = pages::pageForButton(name.toStdString())) window_.pageButtonClicked(*page);
}

void WindowCommands::message(std::string_view textId) {
    window_.prompts().message(&window_, QString::fromStdString(window_.languages().text(textId)));
}

void WindowCommands::pause() {
    for (int i = 0; i < kPressSteps; ++i) {
        QThread::msleep(kPressStepMs);
        QCoreApplication::processEvents();
    }
}

bool WindowCommands::pressForDevice(const QString& buttonName) {
    window_.controls().showPressed(buttonName);
    pause();
    // A mouse that was not read completely would be written with contents it never held.
    if (window_.device().needsRead()) {
        message("Str025");
        return false;
    }
    // An open link whose mouse was never identified has no way to be written either.
    if (!window_.device().canTransfer()) {
        message("Str022");
        return false;
    }
    return true;
}

void WindowCommands::report(const device::TransferOutcome& outcome) {
    switch (outcome.result) {
    case device::TransferResult::Done:
        break;
    case device::TransferResult::NoDevice:
        message(outcome.notRead ? "Str025" : "Str022");
        break;
    case device::TransferResult::Refused:
    case device::TransferResult::Interrupted:
        // Refused: nothing was written. Interrupted: the mouse may hold part of the new
        // settings. Either way it may have gone; then the poll shows the no-device state now
        // rather than a tick later.
        message(outcome.result == device::TransferResult::Refused ? "Str023" : "Str024");
        window_.device().poll();
        break;
    case device::TransferResult::Busy:
        // Another sequence is running; the covers make this unreachable from the window.
        break;
    }
}

QString WindowCommands::text(std::string_view textId) const {
    return QString::fromStdString(window_.languages().text(textId));
}

bool WindowCommands::backupOrAsk() {
    if (window_.device().keepBackup()) return true;
    return window_.prompts().confirm(
        &window_, text("Str106").replace(QLatin1String("%1"),
                                         QString::fromStdString(window_.device().backupError())));
}

bool WindowCommands::canClick() {
    const auto clickless = pages::profilesWithoutLeftKey(window_.configuration().assignments);
    if (clickless.empty()) return true;
    static constexpr std::string_view kProfileNames[] = {"Str004", "Str005", "Str006"};
    window_.prompts().message(
        &window_, text("Str109")
                      .replace(QLatin1String("%1"),
                               text(kProfileNames[static_cast<std::size_t>(clickless.front())]))
                      .replace(QLatin1String("%2"), text("Str210")));
    return false;
}

void WindowCommands::offerRepair() {
    Configuration& config = window_.configuration();
    const HalfWrittenSign sign =
        halfWrittenSign(config.working, config.readLayout,
                        window_.device().macroDevice() ? &config.macros.table : nullptr);
    if (sign == HalfWrittenSign::None || !window_.device().canTransfer()) return;
    once(busy_, [&] {
        const std::filesystem::path folder = window_.device().backupFolder();
        std::optional<Backup> newest;
        if (!folder.empty()) newest = BackupStore(folder).newestSound(config.readLayout);
        QStringList answers;
        if (newest) answers << text("Str108");
        answers << text("Str002");
        const int chosen = window_.prompts().choose(&window_, text("Str107"), answers);
        if (chosen < 0) return;
        // The half-written contents are kept too: nothing the mouse held is thrown away.
        if (!backupOrAsk()) return;
        if (newest && chosen == 0) {
            const FileResult loaded = config.loadProfile(newest->path, window_.languages());
            if (!loaded) {
                window_.prompts().message(&window_, QString::fromStdString(loaded.error));
                return;
            }
            window_.refreshUI();
            report(window_.device().writeAll([this] { window_.writePointerSettings(); }));
            return;
        }
        const auto outcome = window_.device().resetToDefaults(window_.defaultResource());
        if (outcome.result != device::TransferResult::NoDevice) window_.refreshUI();
        report(outcome);
    });
}

void WindowCommands::confirm() {
    once(busy_, [this] {
        if (!pressForDevice(QStringLiteral("Btn_Confirm"))) return;
        if (!canClick() || !backupOrAsk()) return;
        const auto outcome = window_.device().writeAll([this] { window_.writePointerSettings(); });
        report(outcome);
        // Only a write that reached the mouse ends the program.
        if (!outcome) return;
        pause();
        window_.close();
    });
}

void WindowCommands::apply() {
    once(busy_, [this] {
        if (!pressForDevice(QStringLiteral("Btn_Apply"))) return;
        if (!canClick() || !backupOrAsk()) return;
        report(window_.device().writeAll([this] { window_.writePointerSettings(); }));
    });
}

void WindowCommands::reset() {
    once(busy_, [this] {
        if (!pressForDevice(QStringLiteral("Btn_Reset"))) return;
        if (!backupOrAsk()) return;
        const auto outcome = window_.device().resetToDefaults(window_.defaultResource());
        // The defaults were taken into the window before the write began.
        if (outcome.result != device::TransferResult::NoDevice) window_.refreshUI();
        report(outcome);
    });
}

void WindowCommands::exit() {
    window_.close();
}

void WindowCommands::save() {
    once(busy_, [this] {
        window_.hideAllMenus();
        window_.controls().showPressed(QStringLiteral("Btn_Save"));
        if (!window_.device().linkOpen()) {
            message("Str022");
            return;
        }
        const QString chosen = window_.prompts().saveFileName(&window_, kSaveFilter);
        if (chosen.isEmpty()) return;
        // ".bin" is added only when the name lacks it, so the file the dialog asked about
        // replacing is the one written.
        const auto target = withBinExtension(toPath(chosen));
        const FileResult result = window_.configuration().saveProfile(target, window_.languages());
        if (!result) window_.prompts().message(&window_, QString::fromStdString(result.error));
    });
}

void WindowCommands::load() {
    once(busy_, [this] {
        window_.hideAllMenus();
        window_.controls().showPressed(QStringLiteral("Btn_Load"));
        if (!window_.device().linkOpen()) {
            message("Str022");
            return;
        }
        const QString chosen = window_.prompts().openFileName(&window_, kLoadFilter);
        if (chosen.isEmpty()) return;
        const FileResult result =
            window_.configuration().loadProfile(toPath(chosen), window_.languages());
        if (!result) {
            window_.prompts().message(&window_, QString::fromStdString(result.error));
            return;
        }
        window_.refreshUI();
    });
}

void WindowCommands::openWebPage() {
    window_.controls().showPressed(QStringLiteral("Btn_Web"));
    const std::string& address = window_.skin().layout().webAddress();
    if (!address.empty()) window_.prompts().openUrl(QUrl(QString::fromStdString(address)));
}

} // namespace orlix::shell
