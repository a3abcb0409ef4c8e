#include "macro/gui/SystemInputCapture.h"

namespace orlix::macro::gui {

// Here recording sees only the program's own windows, through the Qt filter.
std::unique_ptr<SystemInputCapture> makeSystemInputCapture(SystemInputCapture::KeySink,
                                                           SystemInputCapture::ButtonSink) {
    return nullptr;
}

} // namespace orlix::macro::gui
