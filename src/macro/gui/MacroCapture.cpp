#include "macro/gui/MacroCapture.h"

#include "macro/ScanCodes.h"
#include "widgets/VirtualKeys.h"

#ifdef ORLIX_X11_CAPTURE
#include "macro/gui/posix/X11MacroCapture.h"
#endif

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <optional>

namespace orlix::macro::gui {

namespace {

std::optional<MouseButton> buttonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    case Qt::BackButton:
        return MouseButton::Backward;
    case Qt::ForwardButton:
        return MouseButton::Forward;
    default:
        return std::nullopt;
    }
}

} // namespace

MacroCapture::MacroCapture(KeySink keys, ButtonSink buttons, QObject* parent)
    : QObject(parent), keys_(std::move(keys)), buttons_(std::move(buttons)) {}

MacroCapture::~MacroCapture() {
    stop();
}

void MacroCapture::start(QWidget* recordButton) {
    recordButton_ = recordButton;
    if (active_) return;
    active_ = true;
    lastSeen_ = {};
    systemWide_ = startSystemWide();
    qApp->installEventFilter(this);
}

bool MacroCapture::startSystemWide() {
#ifdef ORLIX_X11_CAPTURE
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    auto* x11 = qobject_cast<X11MacroCapture*>(systemCapture_);
    if (x11 == nullptr) {
        // The desktop's buttons come without a window: whether the pointer is over the
        // Record/Stop button is asked of the cursor as each one arrives.
        x11 = new X11MacroCapture(
            [this](const RecorderKeyEvent& e) { keys_(e); },
            [this](const RecorderButtonEvent& e) { buttons_(e, overRecordButton(QCursor::pos())); },
            this);
        systemCapture_ = x11;
    }
    return x11->start();
#else
    return false;
#endif
}

void MacroCapture::stop() {
    if (!active_) return;
    active_ = false;
    qApp->removeEventFilter(this);
#ifdef ORLIX_X11_CAPTURE
    if (auto* x11 = qobject_cast<X11MacroCapture*>(systemCapture_)) x11->stop();
#endif
    systemWide_ = false;
}

const char* MacroCapture::scopeNoteId() const {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return "Str114";
    if (systemWide_) return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? nullptr : "Str115";
    return "Str116";
}

TKeyboardHookKey MacroCapture::physicalKeyOf(const QKeyEvent& event) {
    const quint32 scan = event.nativeScanCode();
    if (scan == 0) return kh_None;
#ifdef Q_OS_WIN
    // Qt gives the make code with the E0 flag as bit 8.
    return keyFromSet1ScanCode(static_cast<std::uint16_t>(scan & 0xFF), (scan & 0x100) != 0);
#else
    return keyFromX11Keycode(scan);
#endif
}

TKeyboardHookKey MacroCapture::namedKeyOf(const QKeyEvent& event) {
    return VirtualKeyToKey(pages::virtualKeyOf(event));
}

bool MacroCapture::overRecordButton(QPoint global) const {
    if (recordButton_ == nullptr || !recordButton_->isVisible()) return false;
    return recordButton_->rect().contains(recordButton_->mapFromGlobal(global));
}

bool MacroCapture::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // The desktop-wide capture has these keys already; they are only kept from the
        // controls here.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && !systemWide_) {
            const KeyTransition t =
                event->type() == QEvent::KeyPress ? KeyTransition::Down : KeyTransition::Up;
            keys_({physicalKeyOf(*key), namedKeyOf(*key), t});
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        // A click reaches a window, then its widget, then the widget's parents while none
        // takes it: it is recorded once, at the first widget. It is not swallowed: Stop must
        // stay clickable.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || systemWide_) break;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool pressed = event->type() != QEvent::MouseButtonRelease;
        const Seen seen{pressed, mouse->button(), mouse->timestamp(),
                        mouse->globalPosition().toPoint()};
        if (seen == lastSeen_) break;
        lastSeen_ = seen;
        if (auto b = buttonOf(mouse->button()))
            buttons_({*b, pressed}, overRecordButton(mouse->globalPosition().toPoint()));
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orlix::macro::gui
