#pragma once

#include "macro/MacroScript.h"
#include "model/KeyTables.h"

#include <cstdint>

namespace orlix {

enum class KeyTransition : std::uint8_t { Down, Up, Repeat };

// One keyboard event as a capture hands it to the recorder.
struct RecorderKeyEvent {
    // The physical key: what the key at this position is on a US keyboard, found from the scan
    // code. It gives the usage the mouse plays back. kh_None when the scan code is unknown.
    TKeyboardHookKey physical = kh_None;
    // The key the current layout names (from the virtual key): it gives the name shown.
    TKeyboardHookKey named = kh_None;
    KeyTransition transition = KeyTransition::Down;
};

// One mouse-button event.
struct RecorderButtonEvent {
    MouseButton button = MouseButton::Left;
    bool pressed = true;
};

} // namespace orlix
