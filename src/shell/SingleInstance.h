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

    // The socket name for the current user: in $XDG_RUNTIME_DIR when it is set, otherwise in
    // a folder of the temp folder that only this user owns and may enter (created when
    // missing). When no such folder can be had, a name in the temp folder itself; then only the
    // peer check below keeps other users out.
    static QString defaultName();
    // The private folder for the socket under `base`; empty when it cannot be made or when the
    // name is taken by something not this user's own private folder.
    static QString privateFolder(const QString& base);

    enum class Start {
        First,          // listening: later copies will call `raise`
        AlreadyRunning, // another copy answered and raised its window: end this one
        Unguarded,      // no socket could be set up; run anyway
    };
    Start start(std::function<void()> raise);

    // True when another copy of this user answered and raised its window. A socket held by
    // another user is never taken for a running copy, whatever it answers.
    bool raiseRunningCopy(int timeoutMs = 2000);

private:
    bool listen();

    QString name_;
    QLocalServer server_;
    std::function<void()> raise_;
};

} // namespace orlix::shell
