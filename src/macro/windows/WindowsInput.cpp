#include "macro/windows/WindowsInput.h"

#include "macro/ScanCodes.h"

namespace orlix {

std::optional<RecorderKeyEvent> translateRawKeyboard(const RawKeyboardFields& raw) {
    // Virtual key 0xFF marks the extra records some keys send (fake Shift, Pause's 45).
    if (raw.virtualKey == 0xFF || raw.virtualKey == 0) return std::nullopt;
    if (raw.makeCode == win::kOverrunMakeCode) return std::nullopt;
    RecorderKeyEvent event;
    event.physical = keyFromSet1ScanCode(raw.makeCode, (raw.flags & win::kRiKeyE0) != 0,
                                         (raw.flags & win::kRiKeyE1) != 0);
    event.named = VirtualKeyToKey(raw.virtualKey);
    const bool up = (raw.flags & win::kRiKeyBreak) != 0 || raw.message == win::kWmKeyUp ||
                    raw.message == win::kWmSysKeyUp;
    event.transition = up ? KeyTransition::Up : KeyTransition::Down;
    if (event.physical == kh_None && event.named == kh_None) return std::nullopt;
    return event;
}

std::optional<RecorderButtonEvent> translateMouseHook(std::uint32_t message,
                                                      std::uint32_t mouseData) {
    switch (message) {
    case win::kWmLButtonDown:
        return RecorderButtonEvent{MouseButton::Left, true};
    case win::kWmLButtonUp:
        return RecorderButtonEvent{MouseButton::Left, false};
    case win::kWmRButtonDown:
        return RecorderButtonEvent{MouseButton::Right, true};
    case win::kWmRButtonUp:
        return RecorderButtonEvent{MouseButton::Right, false};
    case win::kWmMButtonDown:
        return RecorderButtonEvent{MouseButton::Middle, true};
    case win::kWmMButtonUp:
        return RecorderButtonEvent{MouseButton::Middle, false};
    case win::kWmXButtonDown:
    case win::kWmXButtonUp: {
        const bool pressed = message == win::kWmXButtonDown;
        const auto which = static_cast<std::uint16_t>(mouseData >> 16);
        if (which == win::kXButton1) return RecorderButtonEvent{MouseButton::Backward, pressed};
        if (which == win::kXButton2) return RecorderButtonEvent{MouseButton::Forward, pressed};
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

} // namespace orlix
