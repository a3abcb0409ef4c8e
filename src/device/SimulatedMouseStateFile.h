#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace orlix::device {

class SimulatedMouse;

// One header, two halves: posix/ and windows/ hold replaceFileContents, open, close and the
// reads; the shared part is SimulatedMouseStateFile.cpp.

// Replaces a file's contents atomically: the bytes go to a new file made with exclusive
// creation in the same folder (never a fixed name, never through a link), which is then
// renamed over `file`. An existing file keeps its permission bits. Error text on failure, with
// `file` unchanged.
std::optional<std::string> replaceFileContents(const std::filesystem::path& file,
                                               std::span<const std::uint8_t> bytes);

// The simulated mouse's state file for the length of one run. It is locked from open() until
// the object goes, so two runs on one file take turns: the second sees the first one's
// update, never a half-written or empty file. A link is followed to the file it names.
class SimulatedMouseStateFile {
public:
    SimulatedMouseStateFile() = default;
    ~SimulatedMouseStateFile();
    SimulatedMouseStateFile(const SimulatedMouseStateFile&) = delete;
    SimulatedMouseStateFile& operator=(const SimulatedMouseStateFile&) = delete;

    // Opens the file (created empty when missing) and waits for its lock.
    std::optional<std::string> open(const std::filesystem::path& file);
    // Takes the state into the mouse; an empty (new) file leaves the mouse as made.
    std::optional<std::string> load(SimulatedMouse& mouse);
    std::optional<std::string> save(const SimulatedMouse& mouse);
    // Brings the file up to date in place while the run goes on (the lock stays with it), so
    // a run killed between two updates leaves the memory as the mouse held it then. No
    // flush to the disk: surviving the process is what counts, and it happens per block.
    std::optional<std::string> update(const SimulatedMouse& mouse);
    void close();

    const std::filesystem::path& path() const { return path_; }
    bool isOpen() const { return fd_ >= 0; }

private:
    // Reads up to n bytes at `offset` of the open file; -1 with errno set on failure.
    long readAt(std::uint8_t* data, std::size_t n, std::size_t offset) const;
    long writeAt(const std::uint8_t* data, std::size_t n, std::size_t offset);

    std::filesystem::path path_;
    int fd_ = -1;
};

} // namespace orlix::device
