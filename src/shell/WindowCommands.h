#pragma once

#include <QObject>
#include <QString>

#include <string_view>

namespace orlix::device {
struct TransferOutcome;
}

namespace orlix::shell {

class MainWindow;

// The buttons of the main window outside the pages: Confirm, Apply, Reset and Exit, the
// profile file buttons, the language and page buttons and the web button.
class WindowCommands : public QObject {
    Q_OBJECT
public:
    static constexpr int kPressSteps = 11; // the pressed look stays 11 x 10 ms
    static constexpr int kPressStepMs = 10;

    explicit WindowCommands(MainWindow& window);

    void buttonClicked(const QString& buttonName);

    void confirm();
    void apply();
    void reset();
    void exit();
    void save();
    void load();
    void openWebPage();
    // After a read that found the mouse half-written: says so, and offers to restore the
    // newest sound backup or to reset the mouse to the defaults.
    void offerRepair();

private:
    // The pressed look, the short pause with events running, then the device test.
    bool pressForDevice(const QString& buttonName);
    void pause();
    void report(const device::TransferOutcome& outcome);
    void message(std::string_view textId);
    QString text(std::string_view textId) const;
    // The mouse's contents are kept as a backup, or the user agreed to write without one.
    bool backupOrAsk();
    // Refuses (with Str109) a configuration in which a profile has no Left Key.
    bool canClick();

    MainWindow& window_;
    bool busy_ = false; // a command is running: a second click during its pause is ignored
};

} // namespace orlix::shell
