#pragma once

#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "model/Backups.h"
#include "model/Configuration.h"

#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <span>

namespace orlix::shell {

class LoadingWindow;

// The main window's side of the device link: the hot-plug poll on DevTimer, identification
// and the full read of a new mouse, and the write and reset sequences. Every transfer runs
// with the window locked, DevTimer off and the loading window showing the percentage; the
// window learns about the outcome through the signals.
class DeviceController : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollInterval = 3500;
    // Pending events run every kPumpIntervalMs during a transfer. The clock is looked at every
    // kReportsPerClockLook reports, so a report costs the window next to nothing; a real
    // mouse takes about a millisecond per report.
    static constexpr int kPumpIntervalMs = 10;
    static constexpr int kReportsPerClockLook = 8;

    DeviceController(device::HidBackend& backend, Configuration& config, const TextSource& texts,
                     QObject* parent);
    ~DeviceController() override;

    device::DeviceLink& link() { return link_; }
    device::DeviceSession& session() { return session_; }
    QTimer* devTimer() { return &devTimer_; }

    void setLoadingWindow(LoadingWindow* loading, QWidget* mainWindow);
    // The pause before a re-open; tests and the screenshot run use none.
    void setReopenDelay(std::chrono::milliseconds delay) { reopenDelay_ = delay; }
    // Pump events on every report instead of every kPumpIntervalMs.
    void setPumpEveryReport(bool on) { pumpEveryReport_ = on; }

    bool linkOpen() const { return link_.isOpen(); }
    bool canTransfer() const { return session_.canTransfer(); }
    // Identified, but the last read did not complete: nothing may be written (Str025).
    bool needsRead() const { return session_.needsRead(); }
    bool macroDevice() const { return session_.kind() == device::DeviceKind::Macro; }
    bool transferring() const { return transferring_; }
    // The last poll found the mouse's interfaces but could open none of them (on Linux: no
    // access to its hidraw nodes). Every tick tries again until it opens or goes away.
    bool mouseCannotBeOpened() const { return cannotOpen_; }

    // DevTimerTimer. While the mouse is open but not read completely, a tick that finds
    // nothing else to do identifies and reads it again.
    void poll();
    // APCheckID_OnClick: identifies the mouse just opened and, if it is accepted, reads it.
    void identifyAndRead();
    // The write and reset keep no backup themselves: the window's commands call keepBackup
    // first and ask the user when it fails.
    device::TransferOutcome writeAll(const std::function<void()>& beforeWrite);
    // The window is closing: the link goes, and a poll still waiting to re-open the mouse
    // does nothing more.
    void shutDown();
    device::TransferOutcome resetToDefaults(std::span<const std::uint8_t> defaultResource);
    void dropLink();
    // The mouse's contents as last read or written in full into the user's backup folder,
    // before a write or reset replaces them. False when they could not be kept (why:
    // backupError()).
    bool keepBackup();
    // Where keepBackup() keeps them: the simulated mouse of the demo mode has a folder of its
    // own.
    void setBackupsOf(BackupsOf whose) { backupsOf_ = whose; }
    std::filesystem::path backupFolder() const { return defaultBackupFolder(backupsOf_); }
    // Why the last backup before a write or reset could not be kept; empty when it was.
    const std::string& backupError() const { return backupError_; }

signals:
    void lockChanged(bool locked);
    void noDevice();                           // ShowNoDevice
    void rejected(device::IdentifyResult why); // error label, then RefreshErrorAP
    void readStarting();                       // the status labels go
    void deviceRead();                         // the image is in: refresh, show pages
    void readFailed();                         // identified, but not read completely
    void progressed(int percent);

private:
    void rememberMouseContents();
    device::TransferOutcome
    runLocked(const std::function<device::TransferOutcome(const device::ProgressFn&)>& body,
              const std::function<void(const device::TransferOutcome&)>& afterUnlock = {});
    void pump();
    // An interface with a target's ids and 8-byte feature reports is present.
    bool mouseListed();
    void retryOpen();

    device::DeviceLink link_;
    Configuration& config_;
    // The mouse's contents as last read or written in full: what a backup keeps before the
    // next write or reset replaces them.
    std::vector<std::uint8_t> mouseContents_;
    std::string backupError_;
    BackupsOf backupsOf_ = BackupsOf::Mouse;
    const TextSource& texts_;
    device::DeviceSession session_;
    QTimer devTimer_;
    QPointer<LoadingWindow> loading_;
    QPointer<QWidget> mainWindow_;
    std::chrono::milliseconds reopenDelay_{device::DeviceLink::kReopenDelay};
    bool pumpEveryReport_ = false;
    bool transferring_ = false;
    bool shutDown_ = false;
    bool cannotOpen_ = false;
    QElapsedTimer sincePump_;
};

} // namespace orlix::shell
