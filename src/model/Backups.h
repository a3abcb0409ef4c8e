#pragma once

#include "model/FileIo.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orlix {

// One kept configuration: a whole profile file as it was read from the mouse just before a
// write or reset replaced it.
struct Backup {
    std::filesystem::path path;
    std::string taken;         // "2026-12-09 14:03:27", local time, from the file name
    std::uint64_t sequence{0}; // grows with every backup; 0 for the names of older versions
};

// The mouse's earlier configurations, newest first, in one private folder of the user's data.
// Every write or reset keeps what it replaces, so nothing the user had is ever lost for good;
// only the newest `keep` stay.
//
// A backup is named "<sequence>_<local time>.bin". The sequence is one more than the highest
// in the folder and the name is taken exclusively, so two runs at once never share a name,
// and the order of backups does not depend on the clock (daylight saving time, travel).
class BackupStore {
public:
    static constexpr std::size_t kKeep = 20;

    explicit BackupStore(std::filesystem::path folder, std::size_t keep = kKeep);

    // Saves one profile file under a new name (its path in `savedAs`), then removes the
    // oldest beyond `keep`, never the one just saved and never a file this store did not
    // write. The folder is created private to the user (0700, tightened when it was wider),
    // the file is 0600, and temporary files of runs that were killed are removed.
    FileResult save(std::span<const std::uint8_t> profile,
                    std::chrono::system_clock::time_point when = std::chrono::system_clock::now(),
                    std::filesystem::path* savedAs = nullptr);
    // Newest first; files in the folder that are not backups are left out (and never removed).
    std::vector<Backup> list() const;
    // The newest backup whose image does not look half-written (the run that restores a
    // half-written mouse backs that up first, and it is not the one to go back to).
    // `layout`: the data type the images are read with.
    std::optional<Backup> newestSound(std::uint8_t layout) const;

    const std::filesystem::path& folder() const { return folder_; }

private:
    FileResult prepareFolder() const;
    void removeStaleTemporaries() const;

    std::filesystem::path folder_;
    std::size_t keep_;
};

// Whose configurations a folder keeps: the mice's, or the simulated mouse's of --simulate runs.
// These are kept apart, so that trying the program out never rotates a real mouse's backup
// away, nor offers the demo's configuration to a real mouse.
enum class BackupsOf { Mouse, SimulatedMouse };

// $XDG_DATA_HOME/orlix-editor/backups, or ~/.local/share/orlix-editor/backups, or on Windows
// %APPDATA%\orlix-editor\backups; "simulated-mouse-backups" beside it for the simulated
// mouse. Empty when none is known.
std::filesystem::path defaultBackupFolder(BackupsOf whose = BackupsOf::Mouse);

} // namespace orlix
