#include "macro/gui/posix/X11MacroCapture.h"

#include "macro/posix/X11Input.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <cstdlib>
#include <string>

// Xlib last: its macros (None, Bool, KeyPress ...) would clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace orlix::macro::gui {

static_assert(x11::kRawKeyPress == XI_RawKeyPress && x11::kRawKeyRelease == XI_RawKeyRelease &&
              x11::kRawButtonPress == XI_RawButtonPress &&
              x11::kRawButtonRelease == XI_RawButtonRelease);

namespace {

Display* displayOf(void* d) {
    return static_cast<Display*>(d);
}

// The display Qt itself talks to (-display may override $DISPLAY).
std::string qtDisplayName() {
    if (auto* x11 = qGuiApp != nullptr
                        ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                        : nullptr) {
        if (Display* d = x11->display()) return DisplayString(d);
    }
    const char* env = std::getenv("DISPLAY");
    return env != nullptr ? env : "";
}

} // namespace

X11MacroCapture::X11MacroCapture(KeySink keys, ButtonSink buttons, QObject* parent)
    : QObject(parent), keys_(std::move(keys)), buttons_(std::move(buttons)) {}

X11MacroCapture::~X11MacroCapture() {
    stop();
}

bool X11MacroCapture::start() {
    if (display_ != nullptr) return true;
    const std::string name = qtDisplayName();
    if (name.empty()) return false;
    Display* d = XOpenDisplay(name.c_str());
    if (d == nullptr) return false;
    int event = 0;
    int error = 0;
    // Announcing 2.1 or later matters: from 2.1 on raw events reach every client that asked
    // for them even while another client grabs the device (a button held over its window).
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(d, "XInputExtension", &opcode_, &event, &error) ||
        XIQueryVersion(d, &major, &minor) != Success || major < 2) {
        XCloseDisplay(d);
        return false;
    }
    unsigned char mask[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(mask, XI_RawKeyPress);
    XISetMask(mask, XI_RawKeyRelease);
    XISetMask(mask, XI_RawButtonPress);
    XISetMask(mask, XI_RawButtonRelease);
    XIEventMask events{XIAllMasterDevices, static_cast<int>(sizeof mask), mask};
    XISelectEvents(d, DefaultRootWindow(d), &events, 1);
    XSync(d, False);
    display_ = d;
    notifier_ = new QSocketNotifier(ConnectionNumber(d), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &X11MacroCapture::readEvents);
    return true;
}

void X11MacroCapture::stop() {
    if (display_ == nullptr) return;
    // It may be stopped from a sink, inside the notifier's own signal.
    notifier_->setEnabled(false);
    notifier_->deleteLater();
    notifier_ = nullptr;
    XCloseDisplay(displayOf(display_));
    display_ = nullptr;
}

void X11MacroCapture::readEvents() {
    // A sink may stop the recording (and close the connection) from inside the loop.
    while (display_ != nullptr && XPending(displayOf(display_)) > 0) {
        Display* d = displayOf(display_);
        XEvent e;
        XNextEvent(d, &e);
        XGenericEventCookie* cookie = &e.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != opcode_ ||
            !XGetEventData(d, cookie))
            continue;
        const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
        const int type = raw->evtype;
        const auto detail = static_cast<unsigned>(raw->detail);
        const bool repeat = (raw->flags & XIKeyRepeat) != 0;
        std::uint32_t keysym = 0;
        if (type == x11::kRawKeyPress || type == x11::kRawKeyRelease) {
            XkbStateRec state{};
            XkbGetState(d, XkbUseCoreKbd, &state);
            keysym = static_cast<std::uint32_t>(
                XkbKeycodeToKeysym(d, static_cast<KeyCode>(detail), state.group, 0));
        }
        XFreeEventData(d, cookie);

        switch (type) {
        case x11::kRawKeyPress:
        case x11::kRawKeyRelease:
            if (repeat) break;
            if (auto k = translateX11RawKey(detail, keysym, type == x11::kRawKeyPress)) keys_(*k);
            break;
        case x11::kRawButtonPress:
        case x11::kRawButtonRelease:
            if (auto b = translateX11RawButton(detail, type == x11::kRawButtonPress)) buttons_(*b);
            break;
        default:
            break;
        }
    }
}

} // namespace orlix::macro::gui
