// orlix-pointercheck: the Windows pointer settings through the real registry and
// SystemParametersInfoA (run under wine by the test command). It sets a known starting state,
// reads it through the page's scales, applies chosen and unchosen steps and checks what the
// registry and the running system hold afterwards. Exit status 0 when every check held.
// The running system starts from values other than the registry's, so that a value the store
// fails to set shows. wine takes the pointer speed from uiParam, Windows from pvParam: what the
// store passes is seen through the program's own import of SystemParametersInfoA.

#include "platform/windows/WindowsPointerSettingsStore.h"
#include "rules/PointerScales.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

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

// The speed arguments of every SPI_SETMOUSESPEED call while `recording` is set.
struct SpeedCall {
    UINT uiParam;
    INT_PTR pvParam;
    bool operator==(const SpeedCall&) const = default;
};
std::vector<SpeedCall> speedCalls;
bool recording = false;

using SystemParametersFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
SystemParametersFn systemParameters = nullptr;

BOOL WINAPI recordingSystemParameters(UINT action, UINT uiParam, PVOID pvParam, UINT flags) {
    if (recording && action == SPI_SETMOUSESPEED)
        speedCalls.push_back({uiParam, reinterpret_cast<INT_PTR>(pvParam)});
    return systemParameters(action, uiParam, pvParam, flags);
}

// Points this program's import of `function` from `dll` at `replacement`; the imported
// address goes to `*original`. False when the program has no such import.
bool redirectImport(const char* dll, const char* function, void* replacement, void** original) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name != 0; ++d) {
        if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
        const DWORD lookup = d->OriginalFirstThunk != 0 ? d->OriginalFirstThunk : d->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + lookup);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD protection = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                                &protection))
                return false;
            *original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
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

int liveDoubleClick() {
    return static_cast<int>(GetDoubleClickTime());
}

struct Acceleration {
    int threshold1, threshold2, speed;
    bool operator==(const Acceleration&) const = default;
};

Acceleration liveAcceleration() {
    int mouse[3] = {-1, -1, -1};
    SystemParametersInfoA(SPI_GETMOUSE, 0, mouse, 0);
    return {mouse[0], mouse[1], mouse[2]};
}

void setLive(int speed, Acceleration a, int doubleClick, int wheelLines) {
    SystemParametersInfoA(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                          reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)), 0);
    int mouse[3] = {a.threshold1, a.threshold2, a.speed};
    SystemParametersInfoA(SPI_SETMOUSE, 0, mouse, 0);
    SystemParametersInfoA(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(doubleClick), nullptr, 0);
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(wheelLines), nullptr, 0);
}

// The values of a fresh prefix, in the registry and the running system.
constexpr int kFreshSpeed = 10;
constexpr Acceleration kFreshAcceleration{6, 10, 1};
constexpr int kFreshDoubleClick = 500;
constexpr int kFreshWheelLines = 3;

void freshRegistry() {
    setRegistryText(kMouse, "MouseSensitivity", "10");
    setRegistryText(kMouse, "MouseSpeed", "1");
    setRegistryText(kMouse, "MouseThreshold1", "6");
    setRegistryText(kMouse, "MouseThreshold2", "10");
    setRegistryText(kMouse, "DoubleClickSpeed", "500");
    setRegistryText(kDesktop, "WheelScrollLines", "3");
}

// The registry as a fresh prefix holds it, while the running system holds other values, none
// of them equal to a fresh prefix's or to what an apply is expected to leave: a value the
// store fails to set then shows.
void startingState() {
    freshRegistry();
    setLive(4, {2, 4, 0}, 640, 9);
}

// A fresh prefix's values everywhere, for whatever runs in the prefix next.
void restoreFreshState() {
    freshRegistry();
    setLive(kFreshSpeed, kFreshAcceleration, kFreshDoubleClick, kFreshWheelLines);
}

} // namespace

int main() {
    void* original = nullptr;
    check(redirectImport("user32.dll", "SystemParametersInfoA",
                         reinterpret_cast<void*>(&recordingSystemParameters), &original),
          "SystemParametersInfoA calls are seen");
    if (original == nullptr) return 1;
    systemParameters = reinterpret_cast<SystemParametersFn>(original);

    startingState();
    check(liveSpeed() == 4 && liveAcceleration() == Acceleration{2, 4, 0} &&
              liveDoubleClick() == 640 && liveWheelLines() == 9,
          "the running system starts apart from the registry");
    platform::WindowsPointerSettingsStore store;
    PointerScales scales(&store);

    scales.read();
    expect(scales.pointerSpeedStep(), 6, "pointer speed 10 shows step 6");
    expect(scales.doubleClickStep(), 0, "double click 500 ms (not in the table) shows step 0");
    expect(scales.scrollLinesStep(), 3, "three wheel lines show step 3");
    expect(store.acceleration().threshold2, std::optional<int>(10), "acceleration values read");

    scales.click(PointerSetting::Speed, 9);
    recording = true;
    check(scales.apply().ok(), "apply after clicking speed step 9 succeeds");
    recording = false;
    check(speedCalls == std::vector<SpeedCall>{{16, 16}},
          "speed 16 passed in uiParam (wine) and pvParam (Windows)");
    expect(registryText(kMouse, "MouseSensitivity"), std::optional<std::string>("16"),
           "MouseSensitivity written as \"16\"");
    expect(liveSpeed(), 16, "running pointer speed is 16");
    expect(registryText(kMouse, "DoubleClickSpeed"), std::optional<std::string>("500"),
           "untouched double click keeps the user's 500 in the registry");
    expect(liveDoubleClick(), 500, "untouched double click re-applied as read (500 ms)");
    expect(liveWheelLines(), 3, "untouched wheel lines re-applied as read (3)");
    check(liveAcceleration() == kFreshAcceleration, "acceleration re-applied as read (6, 10, 1)");

    scales.click(PointerSetting::DoubleClick, 10);
    scales.click(PointerSetting::WheelLines, 7);
    check(scales.apply().ok(), "apply after clicking double click 10 and wheel 7");
    expect(registryText(kMouse, "DoubleClickSpeed"), std::optional<std::string>("270"),
           "DoubleClickSpeed written as \"270\"");
    expect(liveDoubleClick(), 270, "running double click time is 270");
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
    expect(liveDoubleClick(), 505, "505 ms re-applied as read");

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

    restoreFreshState();
    std::printf("%s\n", failures == 0 ? "pointer settings: all checks passed"
                                      : "pointer settings: some checks FAILED");
    return failures == 0 ? 0 : 1;
}
