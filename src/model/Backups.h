#pragma once

#include "model/FileIo.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace orlix {

// One kept configuration: a whole profile file as it was read from the mouse just before a
// write or reset replaced it.
struct Backup {
    std::filesystem::path path;
    std::string taken; // "2026-12-09 14:03:27", local time, from the file name
};

// The mouse's earlier configurations, newest first, in one folder of the user's data. Every
// write or reset keeps what it replaces, so nothing the user had is ever lost for good; only
// the newest `keep` stay.
class BackupStore {
public:
    static constexpr std::size_t kKeep = 20;

    explicit BackupStore(std::filesystem::path folder, std::size_t keep = kKeep);

    // Saves one profile file named by the time (a second backup in the same second gets
    // "-2", "-3"...), then removes the oldest beyond `keep`. The folder is made private to
    // the user when it is created.
    FileResult save(std::span<const std::uint8_t> profile,
                    std::chrono::system_clock::time_point when = std::chrono::system_clock::now());
    // Newest first; files in the folder that are not backups are left out (and never removed).
    std::vector<Backup> list() const;

    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::size_t keep_;
};

// $XDG_DATA_HOME/orlix-editor/backups, or ~/.local/share/orlix-editor/backups, or on Windows
// %APPDATA%\orlix-editor\backups; empty when none is known.
std::filesystem::path defaultBackupFolder();

} // namespace orlix
