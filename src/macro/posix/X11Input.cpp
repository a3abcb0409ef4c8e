#include "macro/posix/X11Input.h"

#include "macro/ScanCodes.h"

namespace orlix {

namespace {

// Latin-1 keysyms equal their character: 0x30..0x39 digits, 0x41..0x5A and 0x61..0x7A
// letters. Virtual keys name letters by their capital and digits by the digit.
TKeyboardHookKey namedKeyOf(std::uint32_t keysym) {
    if (keysym >= 'a' && keysym <= 'z') return VirtualKeyToKey(keysym - 'a' + 'A');
    if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= '0' && keysym <= '9'))
        return VirtualKeyToKey(keysym);
    return kh_None;
}

} // namespace

std::optional<RecorderKeyEvent> translateX11RawKey(unsigned keycode, std::uint32_t keysym,
                                                   bool pressed) {
    RecorderKeyEvent event;
    event.physical = keyFromX11Keycode(keycode);
    if (event.physical == kh_None) return std::nullopt;
    event.named = namedKeyOf(keysym);
    event.transition = pressed ? KeyTransition::Down : KeyTransition::Up;
    return event;
}

std::optional<RecorderButtonEvent> translateX11RawButton(unsigned button, bool pressed) {
    switch (button) {
    case x11::kButtonLeft:
        return RecorderButtonEvent{MouseButton::Left, pressed};
    case x11::kButtonMiddle:
        return RecorderButtonEvent{MouseButton::Middle, pressed};
    case x11::kButtonRight:
        return RecorderButtonEvent{MouseButton::Right, pressed};
    case x11::kButtonBack:
        return RecorderButtonEvent{MouseButton::Backward, pressed};
    case x11::kButtonForward:
        return RecorderButtonEvent{MouseButton::Forward, pressed};
    default:
        return std::nullopt;
    }
}

} // namespace orlix
