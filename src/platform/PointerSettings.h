#pragma once

#include <filesystem>
#include <optional>

namespace orlix::platform {

// The operating system's pointer settings of the current user, as the Advanced page shows and
// changes them. A value the system does not have (or that could not be read) is empty.
struct PointerSettings {
    std::optional<int> pointerSpeed;    // 1..20
    std::optional<int> doubleClickTime; // milliseconds
    std::optional<int> wheelLines;
    std::optional<int> acceleration; // the three acceleration values, kept as read
    std::optional<int> threshold1;
    std::optional<int> threshold2;
    friend bool operator==(const PointerSettings&, const PointerSettings&) = default;
};

// Where the settings live: the registry and the running system on Windows, a small file in
// the user's configuration folder elsewhere.
class PointerSettingsStore {
public:
    virtual ~PointerSettingsStore() = default;
    virtual PointerSettings read() = 0;
    // Writes the values that are set; false when the store could not be written.
    virtual bool write(const PointerSettings& settings) = 0;
};

// "key=value" lines in one file. A missing file reads as no values; a write replaces the file
// as a whole, keeping values it does not set.
class FilePointerSettingsStore : public PointerSettingsStore {
public:
    explicit FilePointerSettingsStore(std::filesystem::path file) : file_(std::move(file)) {}
    PointerSettings read() override;
    bool write(const PointerSettings& settings) override;
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

// $XDG_CONFIG_HOME (or ~/.config) / orlix-editor / pointer-settings; empty when neither is
// known.
std::filesystem::path defaultPointerSettingsFile();

} // namespace orlix::platform
