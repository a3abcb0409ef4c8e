#pragma once

#include "macro/RecorderEvents.h"

#include <functional>
#include <memory>

namespace orlix::macro::gui {

// Keys and mouse buttons from the whole desktop while a recording runs, where the platform
// lets a program see them (on Windows raw input and the low-level mouse hook). Events arrive
// on the GUI thread.
class SystemInputCapture {
public:
    using KeySink = std::function<void(const RecorderKeyEvent&)>;
    using ButtonSink = std::function<void(const RecorderButtonEvent&)>;

    virtual ~SystemInputCapture() = default;
    // False when the platform refused; nothing is captured then.
    virtual bool start() = 0;
    virtual void stop() = 0;
};

// The platform's capture; nullptr where only the program's own windows can be watched.
std::unique_ptr<SystemInputCapture> makeSystemInputCapture(SystemInputCapture::KeySink keys,
                                                           SystemInputCapture::ButtonSink buttons);

} // namespace orlix::macro::gui
