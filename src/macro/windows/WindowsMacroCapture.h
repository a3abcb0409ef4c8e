#pragma once

#include "macro/RecorderEvents.h"

#include <cstdint>
#include <functional>

namespace orlix {

// Recording capture on Windows: raw input for the keyboard (also while another program has
// the focus) and a low-level mouse hook for the buttons. Both are received on the thread that
// calls start(), which must pump window messages (the GUI thread). The hook does nothing but
// post its event to a message-only window, so keys and buttons reach the handlers in the order
// the thread takes them from its queue; no second thread is involved.
class WindowsMacroCapture {
public:
    using KeyHandler = std::function<void(const RecorderKeyEvent&)>;
    using ButtonHandler = std::function<void(const RecorderButtonEvent&)>;

    WindowsMacroCapture(KeyHandler onKey, ButtonHandler onButton);
    ~WindowsMacroCapture();
    WindowsMacroCapture(const WindowsMacroCapture&) = delete;
    WindowsMacroCapture& operator=(const WindowsMacroCapture&) = delete;

    // Creates the message window, registers for keyboard raw input and installs the mouse
    // hook. False when the window or the keyboard registration fails; a hook that cannot be
    // installed only means buttons are not recorded (hookInstalled() tells).
    bool start();
    // Removes the hook first, then stops keyboard input. Events still queued are dropped.
    void stop();

    bool active() const { return active_; }
    bool hookInstalled() const { return hook_ != nullptr; }
    // The message-only window (an HWND), for tests that post to it.
    void* window() const { return window_; }

    // Handles one message of the capture window; public for the window procedure only.
    std::intptr_t handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // The private message that carries a hook event to the window.
    static constexpr unsigned kButtonMessage = 0x8000 + 0x31; // WM_APP + 0x31
    // Packs a button event into the message's wParam and back.
    static std::uintptr_t packButton(const RecorderButtonEvent& event);
    static RecorderButtonEvent unpackButton(std::uintptr_t packed);

private:
    bool createWindow();
    void onRawInput(std::intptr_t handle);

    KeyHandler onKey_;
    ButtonHandler onButton_;
    void* window_ = nullptr;
    void* hook_ = nullptr;
    bool active_ = false;
};

} // namespace orlix
