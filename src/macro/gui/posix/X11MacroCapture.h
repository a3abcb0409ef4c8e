#pragma once

#include "macro/RecorderEvents.h"

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace orlix::macro::gui {

// Recording on X11 from the whole desktop: XInput2 raw key and button events of every
// master device, selected on the root window over a connection of its own to the display Qt
// uses. Raw events reach any client without extra rights and whichever window has the
// focus; they are read on the GUI thread when the connection's socket has data.
class X11MacroCapture : public QObject {
    Q_OBJECT
public:
    using KeySink = std::function<void(const RecorderKeyEvent&)>;
    using ButtonSink = std::function<void(const RecorderButtonEvent&)>;

    X11MacroCapture(KeySink keys, ButtonSink buttons, QObject* parent = nullptr);
    ~X11MacroCapture() override;

    // False where there is no X server to talk to or it lacks XInput 2.0; nothing is
    // captured then.
    bool start();
    // Closes the connection: events the server has not delivered yet are dropped with it.
    void stop();
    bool active() const { return display_ != nullptr; }

private:
    void readEvents();

    KeySink keys_;
    ButtonSink buttons_;
    void* display_ = nullptr; // Display*, kept out of this header with the rest of Xlib
    int opcode_ = 0;          // XInputExtension's major opcode on that display
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace orlix::macro::gui
