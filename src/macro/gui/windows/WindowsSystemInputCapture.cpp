#include "macro/gui/SystemInputCapture.h"

#include "macro/windows/WindowsMacroCapture.h"

namespace orlix::macro::gui {

namespace {

// Raw input and the mouse hook of macro/windows/: Qt's event dispatcher pumps the messages of
// the capture's message-only window, so no thread of its own is needed.
class WindowsSystemInputCapture : public SystemInputCapture {
public:
    WindowsSystemInputCapture(KeySink keys, ButtonSink buttons)
        : capture_(std::move(keys), std::move(buttons)) {}
    bool start() override { return capture_.start(); }
    void stop() override { capture_.stop(); }

private:
    WindowsMacroCapture capture_;
};

} // namespace

std::unique_ptr<SystemInputCapture> makeSystemInputCapture(SystemInputCapture::KeySink keys,
                                                           SystemInputCapture::ButtonSink buttons) {
    return std::make_unique<WindowsSystemInputCapture>(std::move(keys), std::move(buttons));
}

} // namespace orlix::macro::gui
