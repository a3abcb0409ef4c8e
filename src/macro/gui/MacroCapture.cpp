#include "macro/gui/MacroCapture.h"

#include "macro/ScanCodes.h"
#include "macro/gui/SystemInputCapture.h"
#include "widgets/VirtualKeys.h"

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
    if (!system_) {
        // The hook's events are handled moments after the click: the pointer is still there.
        system_ = makeSystemInputCapture(keys_, [this](const RecorderButtonEvent& e) {
            buttons_(e, overRecordButton(QCursor::pos()));
        });
    }
    systemWide_ = system_ && system_->start();
    qApp->installEventFilter(this);
}

void MacroCapture::stop() {
    if (!active_) return;
    active_ = false;
    if (systemWide_) system_->stop();
    systemWide_ = false;
    qApp->removeEventFilter(this);
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
