#pragma once

#include "macro/RecorderEvents.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QKeyEvent;
class QWidget;

namespace orlix::macro::gui {

// Recording: on X11 the keys and buttons of the whole desktop (X11MacroCapture); on any other
// Qt platform (Wayland, where no program may read another's input, and the rest) an
// application event filter that turns the keys and mouse buttons this program's windows
// receive into recorder events. The filter is installed only while a recording runs, and on
// every platform it swallows the keys, so Space, Enter and Tab do not act on the controls.
// Auto-repeat is dropped; a left click on the running Record/Stop button is not recorded.
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
    // The running capture sees keys and clicks made in other programs' windows too.
    bool systemWide() const { return systemWide_; }
    // The text that tells what the running capture cannot see, or nullptr when it sees
    // everything: Str114 on Wayland, Str115 for an X11 display inside a Wayland session
    // (Wayland programs are out of reach), Str116 where only this window is seen.
    const char* scopeNoteId() const;

    // The physical key of a key event, from its native scan code: an XKB keycode on X11 and
    // Wayland, a set-1 scan code on Windows. kh_None when the platform gives none.
    static TKeyboardHookKey physicalKeyOf(const QKeyEvent& event);
    static TKeyboardHookKey namedKeyOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool overRecordButton(QPoint global) const;
    bool startSystemWide();

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
    bool active_ = false;
    bool systemWide_ = false;
    QObject* systemCapture_ = nullptr; // the platform's desktop-wide capture, made on first use
};

} // namespace orlix::macro::gui
