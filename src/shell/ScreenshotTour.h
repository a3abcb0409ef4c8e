#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace orlix::shell {

class MainWindow;

// Renders every page of the running window in each language, and the window's other states
// (menus, the key-combination dialog, the loading window, no mouse), to PNG files. Beside them
// <program>-controls.txt lists, per shot, every named control shown and where, so that two
// runs (two platforms) can be compared control by control.
class ScreenshotTour {
public:
    ScreenshotTour(MainWindow& window, QString folder);

    // False when a file could not be written; written() lists what was.
    bool run();
    const QStringList& written() const { return written_; }
    const QString& error() const { return error_; }

    // The window as it looks on screen: its own top-level pop-ups drawn in, and outside
    // its outline transparent.
    static QImage capture(MainWindow& window);

    // One line per visible named control of the window and its shown pop-ups: "shot name x y
    // width height text|plain", in window coordinates; "text" for controls whose pixels may
    // differ between platforms: those that draw text, and the loading window (its percentage,
    // and its spinner, whose frame depends on when the shot is taken).
    static QStringList controlLines(MainWindow& window, const QString& shot);

private:
    bool tour();
    bool save(const QString& name);

    MainWindow& window_;
    QString folder_;
    QString prefix_;
    QStringList written_;
    QStringList controls_;
    QString error_;
};

} // namespace orlix::shell
