#include "macro/windows/WindowsMacroCapture.h"

#include "macro/windows/WindowsInput.h"

#include <windows.h>

#include <atomic>
#include <vector>

namespace orlix {

namespace {

constexpr wchar_t kClassName[] = L"OrlixMacroCapture";

// The capture the hook reports to. Only one recording runs at a time.
std::atomic<WindowsMacroCapture*> gHookOwner{nullptr};
std::atomic<HWND> gHookWindow{nullptr};

LRESULT CALLBACK mouseHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* data = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        HWND target = gHookWindow.load();
        if (target != nullptr) {
            if (auto event = translateMouseHook(static_cast<std::uint32_t>(wParam),
                                                static_cast<std::uint32_t>(data->mouseData)))
                PostMessageW(target, WindowsMacroCapture::kButtonMessage,
                             WindowsMacroCapture::packButton(*event), 0);
        }
    }
    // The click goes on to the program under the pointer: nothing is swallowed.
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WindowsMacroCapture*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        const std::intptr_t result = self->handleMessage(message, wParam, lParam);
        if (result >= 0) return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

WindowsMacroCapture::WindowsMacroCapture(KeyHandler onKey, ButtonHandler onButton)
    : onKey_(std::move(onKey)), onButton_(std::move(onButton)) {}

WindowsMacroCapture::~WindowsMacroCapture() {
    stop();
    if (window_ != nullptr) DestroyWindow(static_cast<HWND>(window_));
}

std::uintptr_t WindowsMacroCapture::packButton(const RecorderButtonEvent& event) {
    return static_cast<std::uintptr_t>(event.button) | (event.pressed ? 0x100u : 0u);
}

RecorderButtonEvent WindowsMacroCapture::unpackButton(std::uintptr_t packed) {
    return {static_cast<MouseButton>(packed & 0xFF), (packed & 0x100u) != 0};
}

bool WindowsMacroCapture::createWindow() {
    if (window_ != nullptr) return true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    // A second capture finds the class registered already.
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    HWND window = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance, nullptr);
    if (window == nullptr) return false;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = window;
    return true;
}

bool WindowsMacroCapture::start() {
    if (active_) return true;
    if (!createWindow()) return false;
    HWND window = static_cast<HWND>(window_);
    RAWINPUTDEVICE device{};
    device.usUsagePage = 0x01; // generic desktop
    device.usUsage = 0x06;     // keyboard
    device.dwFlags = RIDEV_INPUTSINK;
    device.hwndTarget = window;
    if (!RegisterRawInputDevices(&device, 1, sizeof(device))) return false;

    WindowsMacroCapture* expected = nullptr;
    if (gHookOwner.compare_exchange_strong(expected, this)) {
        gHookWindow = window;
        hook_ = SetWindowsHookExW(WH_MOUSE_LL, mouseHook, GetModuleHandleW(nullptr), 0);
        if (hook_ == nullptr) {
            gHookWindow = nullptr;
            gHookOwner = nullptr;
        }
    }
    active_ = true;
    return true;
}

void WindowsMacroCapture::stop() {
    if (!active_) return;
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(static_cast<HHOOK>(hook_));
        hook_ = nullptr;
        gHookWindow = nullptr;
        gHookOwner = nullptr;
    }
    RAWINPUTDEVICE device{};
    device.usUsagePage = 0x01;
    device.usUsage = 0x06;
    device.dwFlags = RIDEV_REMOVE;
    device.hwndTarget = nullptr;
    RegisterRawInputDevices(&device, 1, sizeof(device));
    active_ = false;
}

void WindowsMacroCapture::onRawInput(std::intptr_t handle) {
    auto input = reinterpret_cast<HRAWINPUT>(handle);
    UINT size = 0;
    if (GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 ||
        size < sizeof(RAWINPUTHEADER))
        return;
    std::vector<std::uint8_t> buffer(size);
    if (GetRawInputData(input, RID_INPUT, buffer.data(), &size, sizeof(RAWINPUTHEADER)) != size)
        return;
    const auto* raw = reinterpret_cast<const RAWINPUT*>(buffer.data());
    if (raw->header.dwType != RIM_TYPEKEYBOARD ||
        size < sizeof(RAWINPUTHEADER) + sizeof(RAWKEYBOARD))
        return;
    const RAWKEYBOARD& kb = raw->data.keyboard;
    auto event = translateRawKeyboard({kb.MakeCode, kb.Flags, kb.VKey, kb.Message});
    if (event && onKey_) onKey_(*event);
}

std::intptr_t WindowsMacroCapture::handleMessage(unsigned message, std::uintptr_t wParam,
                                                 std::intptr_t lParam) {
    if (message == WM_INPUT) {
        if (active_) onRawInput(lParam);
        return -1; // DefWindowProc frees the input
    }
    if (message == kButtonMessage) {
        if (active_ && onButton_) onButton_(unpackButton(wParam));
        return 0;
    }
    return -1;
}

} // namespace orlix
