#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orlix::platform {

// The three pointer settings of the current user that the Advanced page adjusts.
enum class PointerSetting { Speed, DoubleClick, WheelLines };
inline constexpr std::array<PointerSetting, 3> kPointerSettings{
    PointerSetting::Speed, PointerSetting::DoubleClick, PointerSetting::WheelLines};

// One value per setting, in the units of the Windows settings: pointer speed 1..20,
// double-click time in milliseconds, wheel lines per notch. Empty: not known / not set.
struct PointerValues {
    std::optional<int> speed;
    std::optional<int> doubleClick;
    std::optional<int> wheelLines;
    // The system holds a value between the ones above can tell (a GNOME pointer speed between
    // two tenths): the number is only the nearest, so the value is on no step of the page
    // and an untouched page never writes it.
    std::array<bool, 3> betweenValues{};

    std::optional<int>& operator[](PointerSetting s);
    const std::optional<int>& operator[](PointerSetting s) const;
    friend bool operator==(const PointerValues&, const PointerValues&) = default;
};

// What an apply should do: `write` is stored in the user's settings and applied to the
// running system; `reapply` is only applied to the running system, as it was read.
struct PointerUpdate {
    PointerValues write;
    PointerValues reapply;
    bool empty() const { return write == PointerValues{} && reapply == PointerValues{}; }
};

// What went wrong during an apply, one line per failed step ("registry value
// DoubleClickSpeed not written"). Empty when everything asked for was done.
struct PointerResult {
    std::vector<std::string> failures;
    bool ok() const { return failures.empty(); }
};

// Where the pointer settings live: the registry and the running system on Windows, the
// desktop's settings on GNOME, a file for tests and demo runs. A store says which settings it
// has; the page shows the others disabled.
class PointerSettingsStore {
public:
    virtual ~PointerSettingsStore() = default;
    virtual bool supports(PointerSetting setting) const = 0;
    // The values as the system has them now; a value that is missing, unreadable or not
    // supported is empty.
    virtual PointerValues read() = 0;
    // Writes and applies what `update` holds; unsupported settings are ignored.
    virtual PointerResult apply(const PointerUpdate& update) = 0;
};

// A platform without pointer settings of its own: nothing is supported, nothing is written.
class UnsupportedPointerSettingsStore : public PointerSettingsStore {
public:
    bool supports(PointerSetting) const override { return false; }
    PointerValues read() override { return {}; }
    PointerResult apply(const PointerUpdate&) override { return {}; }
};

// "key=value" lines in one file, for tests and the demo mode: all three settings are
// supported. A missing file reads as `whileMissing` (no values unless given); an apply
// replaces the file as a whole, keeping values it does not set.
class FilePointerSettingsStore : public PointerSettingsStore {
public:
    explicit FilePointerSettingsStore(std::filesystem::path file, PointerValues whileMissing = {})
        : file_(std::move(file)), whileMissing_(whileMissing) {}
    bool supports(PointerSetting) const override { return true; }
    PointerValues read() override;
    PointerResult apply(const PointerUpdate& update) override;
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
    PointerValues whileMissing_;
};

// $XDG_CONFIG_HOME (or ~/.config) / orlix-editor / pointer-settings; empty when neither is
// known. Only the demo mode uses it.
std::filesystem::path defaultPointerSettingsFile();

// The store of the system the program runs on: the registry on Windows, GNOME's settings
// under a GNOME desktop, otherwise a store that supports nothing.
std::unique_ptr<PointerSettingsStore> systemPointerSettingsStore();

} // namespace orlix::platform
