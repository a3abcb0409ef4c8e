// orlix-pointercheck: the Windows pointer settings through the real registry and
// SystemParametersInfoA (run under wine by the test command). It sets a known starting state,
// reads it through the page's scales, applies chosen and unchosen steps and checks what the
// registry and the running system hold afterwards. Exit status 0 when every check held.

#include "platform/windows/WindowsPointerSettingsStore.h"
#include "rules/PointerScales.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

using namespace orlix;
using pages::PointerScales;
using platform::PointerSetting;

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%-64s %s\n", what.c_str(), ok ? "ok" : "FAILED");
    if (!ok) ++failures;
}

template <typename T> void expect(const T& got, const T& want, const std::string& what) {
    check(got == want, what);
}

std::optional<std::string> registryText(const char* key, const char* name) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return std::nullopt;
    char text[64] = {};
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    const LONG rc = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::string(text);
}

bool setRegistryText(const char* key, const char* name, const std::string& value) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return false;
    const LONG rc = RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

bool keyExists(const char* key) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

int liveSpeed() {
    int v = -1;
    SystemParametersInfoA(SPI_GETMOUSESPEED, 0, &v, 0);
    return v;
}

int liveWheelLines() {
    UINT v = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &v, 0);
    return static_cast<int>(v);
}

constexpr const char* kMouse = "Control Panel\\Mouse";
constexpr const char* kDesktop = "Control Panel\\Desktop";

// The values of a fresh prefix, in the registry and the running system.
void startingState() {
    setRegistryText(kMouse, "MouseSensitivity", "10");
    setRegistryText(kMouse, "MouseSpeed", "1");
    setRegistryText(kMouse, "MouseThreshold1", "6");
    setRegistryText(kMouse, "MouseThreshold2", "10");
    setRegistryText(kMouse, "DoubleClickSpeed", "500");
    setRegistryText(kDesktop, "WheelScrollLines", "3");
    SystemParametersInfoA(SPI_SETMOUSESPEED, 10, reinterpret_cast<PVOID>(INT_PTR{10}), 0);
    SystemParametersInfoA(SPI_SETDOUBLECLICKTIME, 500, nullptr, 0);
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
}

} // namespace

int main() {
    startingState();
    platform::WindowsPointerSettingsStore store;
    PointerScales scales(&store);

    scales.read();
    expect(scales.pointerSpeedStep(), 6, "pointer speed 10 shows step 6");
    expect(scales.doubleClickStep(), 0, "double click 500 ms (not in the table) shows step 0");
    expect(scales.scrollLinesStep(), 3, "three wheel lines show step 3");
    expect(store.acceleration().threshold2, std::optional<int>(10), "acceleration values read");

    scales.click(PointerSetting::Speed, 9);
    check(scales.apply().ok(), "apply after clicking speed step 9 succeeds");
    expect(registryText(kMouse, "MouseSensitivity"), std::optional<std::string>("16"),
           "MouseSensitivity written as \"16\"");
    expect(liveSpeed(), 16, "running pointer speed is 16");
    expect(registryText(kMouse, "DoubleClickSpeed"), std::optional<std::string>("500"),
           "untouched double click keeps the user's 500 in the registry");
    expect(static_cast<int>(GetDoubleClickTime()), 500, "running double click time stays 500");
    expect(liveWheelLines(), 3, "running wheel lines stay 3");
    int mouse[3] = {};
    SystemParametersInfoA(SPI_GETMOUSE, 0, mouse, 0);
    check(mouse[0] == 6 && mouse[1] == 10 && mouse[2] == 1, "acceleration re-applied as read");

    scales.click(PointerSetting::DoubleClick, 10);
    scales.click(PointerSetting::WheelLines, 7);
    check(scales.apply().ok(), "apply after clicking double click 10 and wheel 7");
    expect(registryText(kMouse, "DoubleClickSpeed"), std::optional<std::string>("270"),
           "DoubleClickSpeed written as \"270\"");
    expect(static_cast<int>(GetDoubleClickTime()), 270, "running double click time is 270");
    expect(registryText(kDesktop, "WheelScrollLines"), std::optional<std::string>("7"),
           "WheelScrollLines written as \"7\"");
    expect(liveWheelLines(), 7, "running wheel lines are 7");

    // The user sets values of their own elsewhere; the next read takes them in.
    setRegistryText(kMouse, "DoubleClickSpeed", "505");
    setRegistryText(kMouse, "MouseSensitivity", "fast");
    scales.read();
    expect(scales.doubleClickStep(), 0, "a double click of 505 ms sets the step to 0");
    expect(scales.pointerSpeedStep(), 9, "a non-numeric speed is treated as missing");
    check(scales.apply().ok(), "apply with the double-click step at 0");
    expect(registryText(kMouse, "DoubleClickSpeed"), std::optional<std::string>("505"),
           "the user's 505 stays in the registry");
    expect(static_cast<int>(GetDoubleClickTime()), 505, "505 ms re-applied as read");

    // A key that is not there is not created, and the failure is reported.
    const char* missingMouse = "Software\\OrlixPointerCheck\\Mouse";
    platform::WindowsPointerSettingsStore missing(missingMouse,
                                                  "Software\\OrlixPointerCheck\\Desktop");
    check(missing.read() == platform::PointerValues{}, "a missing key reads as no values");
    platform::PointerUpdate update;
    update.write.speed = 16;
    update.write.wheelLines = 7;
    expect(missing.apply(update).failures.size(), std::size_t{2},
           "writes to missing keys are reported");
    check(!keyExists(missingMouse), "the missing key was not created");

    startingState();
    std::printf("%s\n", failures == 0 ? "pointer settings: all checks passed"
                                      : "pointer settings: some checks FAILED");
    return failures == 0 ? 0 : 1;
}
