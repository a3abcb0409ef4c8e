#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>

namespace orlix::shell {

// One running copy per user: the first copy listens on a local socket named after the main
// window's caption; a second copy asks it to bring its window to the front and ends. Both
// editions share the name, as they would share the mouse.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);

    // The socket name for the current user: in $XDG_RUNTIME_DIR when it is set.
    static QString defaultName();

    enum class Start {
        First,          // listening: later copies will call `raise`
        AlreadyRunning, // another copy answered and raised its window: end this one
        Unguarded,      // no socket could be set up; run anyway
    };
    Start start(std::function<void()> raise);

    // True when another copy answered and raised its window.
    bool raiseRunningCopy(int timeoutMs = 2000);

private:
    bool listen();

    QString name_;
    QLocalServer server_;
    std::function<void()> raise_;
};

} // namespace orlix::shell
