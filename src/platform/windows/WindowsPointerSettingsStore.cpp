#include "platform/windows/WindowsPointerSettingsStore.h"

#include <windows.h>

#include <charconv>
#include <string_view>

namespace orlix::platform {

namespace {

// An open key of the current user's hive, closed when it goes.
class Key {
public:
    Key(const std::string& path, REGSAM access) {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~Key() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    explicit operator bool() const { return key_ != nullptr; }

    // A string value read as a decimal number; a missing, non-string or non-numeric value
    // counts as missing.
    std::optional<int> number(const char* name) const {
        char text[64] = {};
        DWORD type = 0;
        DWORD size = sizeof text - 1;
        if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
                ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        std::string_view s(text, strnlen(text, sizeof text - 1));
        while (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
            s.remove_suffix(1);
        int value = 0;
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
        if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
        return value;
    }

    bool setNumber(const char* name, int value) const {
        const std::string text = std::to_string(value);
        return RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }

private:
    HKEY key_ = nullptr;
};

constexpr const char* kSensitivity = "MouseSensitivity";
constexpr const char* kDoubleClick = "DoubleClickSpeed";
constexpr const char* kWheelLines = "WheelScrollLines";

} // namespace

PointerValues WindowsPointerSettingsStore::read() {
    PointerValues v;
    if (Key mouse(mouseKey_, KEY_QUERY_VALUE); mouse) {
        v.speed = mouse.number(kSensitivity);
        // Missing values keep what an earlier read found.
        if (auto s = mouse.number("MouseSpeed")) acceleration_.speed = s;
        if (auto t = mouse.number("MouseThreshold1")) acceleration_.threshold1 = t;
        if (auto t = mouse.number("MouseThreshold2")) acceleration_.threshold2 = t;
        v.doubleClick = mouse.number(kDoubleClick);
    }
    if (Key desktop(desktopKey_, KEY_QUERY_VALUE); desktop)
        v.wheelLines = desktop.number(kWheelLines);
    return v;
}

PointerResult WindowsPointerSettingsStore::apply(const PointerUpdate& update) {
    PointerResult result;
    auto fail = [&](std::string what) { result.failures.push_back(std::move(what)); };

    // The registry first, so the values outlive this session.
    if (update.write.speed || update.write.doubleClick) {
        Key mouse(mouseKey_, KEY_SET_VALUE);
        if (!mouse) fail("registry key " + mouseKey_ + " not opened");
        if (mouse && update.write.speed && !mouse.setNumber(kSensitivity, *update.write.speed))
            fail(std::string("registry value ") + kSensitivity + " not written");
        if (mouse && update.write.doubleClick &&
            !mouse.setNumber(kDoubleClick, *update.write.doubleClick))
            fail(std::string("registry value ") + kDoubleClick + " not written");
    }
    if (update.write.wheelLines) {
        Key desktop(desktopKey_, KEY_SET_VALUE);
        if (!desktop)
            fail("registry key " + desktopKey_ + " not opened");
        else if (!desktop.setNumber(kWheelLines, *update.write.wheelLines))
            fail(std::string("registry value ") + kWheelLines + " not written");
    }

    // Then the running system, each value only when it was read or chosen.
    auto live = [&](PointerSetting s) {
        return update.write[s] ? update.write[s] : update.reapply[s];
    };
    if (auto speed = live(PointerSetting::Speed)) {
        // Windows takes the speed from pvParam and ignores uiParam; wine reads uiParam. Both
        // carry it.
        if (!SystemParametersInfoA(SPI_SETMOUSESPEED, static_cast<UINT>(*speed),
                                   reinterpret_cast<PVOID>(static_cast<INT_PTR>(*speed)),
                                   SPIF_SENDCHANGE))
            fail("SPI_SETMOUSESPEED failed");
    }
    if (const auto& a = acceleration_; a.speed && a.threshold1 && a.threshold2) {
        int mouse[3] = {*a.threshold1, *a.threshold2, *a.speed};
        if (!SystemParametersInfoA(SPI_SETMOUSE, 0, mouse, SPIF_SENDCHANGE))
            fail("SPI_SETMOUSE failed");
    }
    if (auto time = live(PointerSetting::DoubleClick)) {
        if (!SystemParametersInfoA(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(*time), nullptr,
                                   SPIF_SENDCHANGE))
            fail("SPI_SETDOUBLECLICKTIME failed");
    }
    if (auto lines = live(PointerSetting::WheelLines)) {
        if (!SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(*lines), nullptr,
                                   SPIF_UPDATEINIFILE))
            fail("SPI_SETWHEELSCROLLLINES failed");
    }
    return result;
}

} // namespace orlix::platform
