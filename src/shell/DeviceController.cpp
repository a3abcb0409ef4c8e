#include "shell/DeviceController.h"

#include "model/Backups.h"
#include "model/ProfileFile.h"

#include "shell/LoadingWindow.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace orlix::shell {

using device::IdentifyResult;
using device::Progress;
using device::ProgressFn;
using device::TransferOutcome;

DeviceController::DeviceController(device::HidBackend& backend, Configuration& config,
                                   const TextSource& texts, QObject* parent)
    : QObject(parent), link_(backend), config_(config), texts_(texts), session_(link_, config) {
    devTimer_.setObjectName(QStringLiteral("DevTimer"));
    devTimer_.setInterval(kPollInterval);
    connect(&devTimer_, &QTimer::timeout, this, &DeviceController::poll);
    devTimer_.start();
}

DeviceController::~DeviceController() {
    link_.dropLink();
}

void DeviceController::setLoadingWindow(LoadingWindow* loading, QWidget* mainWindow) {
    loading_ = loading;
    mainWindow_ = mainWindow;
}

void DeviceController::dropLink() {
    link_.dropLink();
}

void DeviceController::shutDown() {
    shutDown_ = true;
    devTimer_.stop();
    link_.dropLink();
}

void DeviceController::pump() {
    QCoreApplication::processEvents();
    sincePump_.restart();
}

void DeviceController::poll() {
    if (shutDown_) return;
    device::PollHooks hooks;
    hooks.wait = [this](std::chrono::milliseconds ms) {
        const auto wait = std::min(ms, reopenDelay_);
        if (wait.count() <= 0) return;
        // The window stays alive during the pause; the poll's busy flag keeps ticks out.
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(wait.count()), &loop, &QEventLoop::quit);
        loop.exec();
    };
    hooks.showNoDevice = [this] {
        if (shutDown_) return;
        session_.forgetDevice();
        cannotOpen_ = mouseListed();
        emit noDevice();
    };
    hooks.identify = [this] {
        cannotOpen_ = false;
        identifyAndRead();
    };
    const device::PollResult result = link_.poll(hooks);
    if (result != device::PollResult::Unchanged || shutDown_) return;
    // A read that did not complete is tried again; the next complete one clears the state.
    if (session_.needsRead()) {
        identifyAndRead();
    } else if (cannotOpen_) {
        // Access may be granted without the number of interfaces changing.
        retryOpen();
    }
}

bool DeviceController::mouseListed() {
    for (const device::HidInterfaceInfo& info : link_.backend().enumerate()) {
        for (const device::TargetId& target : link_.targets()) {
            if (!target.empty() && info.vendorId == target.vendorId &&
                info.productId == target.productId &&
                info.featureReportLength == device::protocol::kReportSize) {
                return true;
            }
        }
    }
    return false;
}

void DeviceController::retryOpen() {
    for (const device::TargetId& target : link_.targets()) {
        if (target.empty()) continue;
        if (link_.openDevice(target.vendorId, target.productId)) {
            cannotOpen_ = false;
            identifyAndRead();
            return;
        }
    }
    // Still closed; when its interfaces went away, the status says so.
    if (!mouseListed()) {
        cannotOpen_ = false;
        emit noDevice();
    }
}

void DeviceController::identifyAndRead() {
    if (shutDown_) return;
    const device::Identification id = session_.identify();
    switch (id.result) {
    case IdentifyResult::Accepted:
        break;
    case IdentifyResult::DataTypeError:
    case IdentifyResult::IdentityError:
        emit rejected(id.result);
        return;
    case IdentifyResult::Silent:
        return;
    }
    emit readStarting();
    runLocked([this](const ProgressFn& progress) { return session_.readAll(texts_, progress); },
              [this](const TransferOutcome& outcome) {
                  if (outcome) {
                      rememberMouseContents();
                      emit deviceRead();
                  } else if (session_.needsRead())
                      emit readFailed();
              });
}

TransferOutcome DeviceController::writeAll(const std::function<void()>& beforeWrite) {
    const TransferOutcome outcome = runLocked([&](const ProgressFn& progress) {
        return session_.writeAll(texts_, progress, beforeWrite);
    });
    if (outcome) rememberMouseContents();
    return outcome;
}

TransferOutcome DeviceController::resetToDefaults(std::span<const std::uint8_t> defaultResource) {
    const TransferOutcome outcome = runLocked([&](const ProgressFn& progress) {
        return session_.resetToDefaults(defaultResource, texts_, progress);
    });
    if (outcome) rememberMouseContents();
    return outcome;
}

void DeviceController::rememberMouseContents() {
    MacroStore macros = config_.macros;
    if (!config_.macroDevice) macros.fill(0xFF); // as a saved profile of such a mouse says
    mouseContents_ = profileBytes(config_.working, macros);
}

bool DeviceController::keepBackup() {
    backupError_.clear();
    if (mouseContents_.empty()) {
        backupError_ = "the mouse was not read completely";
        return false;
    }
    const std::filesystem::path folder = backupFolder();
    if (folder.empty()) {
        backupError_ = "no folder for backups (neither XDG_DATA_HOME nor HOME is set)";
        return false;
    }
    if (const FileResult saved = BackupStore(folder).save(mouseContents_); !saved) {
        backupError_ = saved.error;
        return false;
    }
    return true;
}

TransferOutcome
DeviceController::runLocked(const std::function<TransferOutcome(const ProgressFn&)>& body,
                            const std::function<void(const TransferOutcome&)>& afterUnlock) {
    devTimer_.stop();
    transferring_ = true;
    emit lockChanged(true);
    if (loading_) loading_->showOver(mainWindow_);
    // The first pump comes with the first reports: a transfer that ends before it never
    // makes the loading window flash up.
    sincePump_.start();

    int shownPercent = -1;
    int sinceClock = 0;
    const ProgressFn progress = [&](const Progress& p) {
        const int percent = p.percent();
        if (percent != shownPercent) {
            shownPercent = percent;
            if (loading_) loading_->setPercent(percent);
            emit progressed(percent);
        }
        if (pumpEveryReport_) {
            pump();
        } else if (++sinceClock >= kReportsPerClockLook) {
            sinceClock = 0;
            if (sincePump_.elapsed() >= kPumpIntervalMs) pump();
        }
    };
    const TransferOutcome outcome = body(progress);

    if (loading_) loading_->hide();
    transferring_ = false;
    emit lockChanged(false);
    if (afterUnlock) afterUnlock(outcome);
    devTimer_.start();
    return outcome;
}

} // namespace orlix::shell
