// orlix-capturecheck: the Windows capture's smoke test. It starts the capture, feeds it real
// input through SendInput (the mouse hook and raw input see injected input like a device's),
// and checks that the recorder events arrive in the order they were sent. It also posts
// button messages straight to the capture window to check their packing. Exit status 0 when
// every step behaved.

#include "macro/MacroRecorder.h"
#include "macro/windows/WindowsMacroCapture.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace orlix;

namespace {

std::vector<std::string> received;
int failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok) ++failures;
}

// Lets the thread take its messages for a while, sleeping while the queue is empty.
void pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    }
}

INPUT mouseInput(DWORD flags, DWORD data = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    return in;
}

INPUT keyInput(WORD scan, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = 0;
    in.ki.wScan = scan;
    in.ki.dwFlags = KEYEVENTF_SCANCODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

} // namespace

int main() {
    std::uint32_t now = 0;
    MacroRecorder recorder([&now] { return now; });
    WindowsMacroCapture capture(
        [&](const RecorderKeyEvent& e) {
            received.push_back(std::string("key ") + std::string(KeyDisplayName(e.physical)) +
                               (e.transition == KeyTransition::Up ? " up" : " down"));
            recorder.key(e);
        },
        [&](const RecorderButtonEvent& e) {
            received.push_back("button " + std::to_string(static_cast<int>(e.button)) +
                               (e.pressed ? " down" : " up"));
            recorder.mouseButton(e);
        });
    check(capture.start(), "capture starts (window and keyboard raw input)");
    check(capture.hookInstalled(), "the low-level mouse hook is installed");
    recorder.startNormal({DelayMode::NoDelay, 50});

    // Posted hook messages reach the handler in order.
    auto* window = static_cast<HWND>(capture.window());
    PostMessageW(window, WindowsMacroCapture::kButtonMessage,
                 WindowsMacroCapture::packButton({MouseButton::Middle, true}), 0);
    PostMessageW(window, WindowsMacroCapture::kButtonMessage,
                 WindowsMacroCapture::packButton({MouseButton::Middle, false}), 0);
    pump(100);
    check(received == std::vector<std::string>{"button 4 down", "button 4 up"},
          "posted button messages arrive in order");

    // Real input through the system's input path.
    received.clear();
    std::vector<INPUT> inputs{
        mouseInput(MOUSEEVENTF_RIGHTDOWN),
        mouseInput(MOUSEEVENTF_RIGHTUP),
        mouseInput(MOUSEEVENTF_XDOWN, XBUTTON1),
        mouseInput(MOUSEEVENTF_XUP, XBUTTON1),
        mouseInput(MOUSEEVENTF_MOVE),
        keyInput(0x1E, false),
        keyInput(0x1E, true),
    };
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    check(sent == inputs.size(), "SendInput took every input");
    pump(500);
    for (const auto& r : received)
        std::printf("  received %s\n", r.c_str());
    std::vector<std::string> buttons;
    for (const auto& r : received)
        if (r.starts_with("button")) buttons.push_back(r);
    check(buttons == std::vector<std::string>{"button 2 down", "button 2 up", "button 16 down",
                                              "button 16 up"},
          "hook events arrive in order, moves left out");
    const bool keysSeen =
        std::find(received.begin(), received.end(), "key A down") != received.end();
    std::printf("%s: keyboard raw input of injected keys\n", keysSeen ? "ok" : "not delivered");

    capture.stop();
    check(!capture.active() && !capture.hookInstalled(), "stop removes the hook");
    received.clear();
    SendInput(2, inputs.data(), sizeof(INPUT));
    pump(200);
    check(received.empty(), "nothing arrives after stop");

    recorder.stop();
    const auto& events = recorder.script().events;
    check(events.size() >= 4 && events[0] == "1 MiddleKey CODE:00A4" &&
              events[2] == "1 RightKey CODE:00A2",
          "the recorder received the events");
    return failures == 0 ? 0 : 1;
}
