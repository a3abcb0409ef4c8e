#pragma once

#include "macro/RecorderEvents.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>

class QKeyEvent;
class QWidget;

namespace orlix::macro::gui {

class SystemInputCapture;

// Recording on any Qt platform (X11, Wayland, others): an application event filter, installed
// only while a recording runs, that turns the keys and mouse buttons the window receives into
// recorder events. Keys are swallowed, so Space, Enter and Tab do not act on the controls;
// auto-repeat is dropped; a left click on the running Record/Stop button is not recorded.
// Where the platform captures the whole desktop (SystemInputCapture), that capture reports
// the keys and buttons instead and the filter only swallows keys.
class MacroCapture : public QObject {
    Q_OBJECT
public:
    using KeySink = std::function<void(const RecorderKeyEvent&)>;
    // The event, and whether the pointer is over the Record/Stop button of the running kind.
    using ButtonSink = std::function<void(const RecorderButtonEvent&, bool overRecordButton)>;

    MacroCapture(KeySink keys, ButtonSink buttons, QObject* parent = nullptr);
    ~MacroCapture() override;

    void start(QWidget* recordButton);
    void stop();
    bool active() const { return active_; }
    // Whether the running recording sees the whole desktop.
    bool systemWide() const { return systemWide_; }

    // The physical key of a key event, from its native scan code: an XKB keycode on X11 and
    // Wayland, a set-1 scan code on Windows. kh_None when the platform gives none.
    static TKeyboardHookKey physicalKeyOf(const QKeyEvent& event);
    static TKeyboardHookKey namedKeyOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool overRecordButton(QPoint global) const;

    // The last button event taken, to know it again as it is handed from widget to parent.
    struct Seen {
        bool pressed = false;
        Qt::MouseButton button = Qt::NoButton;
        quint64 timestamp = 0;
        QPoint global;
        friend bool operator==(const Seen&, const Seen&) = default;
    };

    KeySink keys_;
    ButtonSink buttons_;
    QPointer<QWidget> recordButton_;
    Seen lastSeen_;
    std::unique_ptr<SystemInputCapture> system_;
    bool active_ = false;
    bool systemWide_ = false;
};

} // namespace orlix::macro::gui
