#include "device/SimulatedMouseStateFile.h"

#include "device/SimulatedMouse.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace orlix::device {

SimulatedMouseStateFile::~SimulatedMouseStateFile() {
    close();
}

std::optional<std::string> SimulatedMouseStateFile::load(SimulatedMouse& mouse) {
    if (fd_ < 0) return "the state file is not open";
    // One byte more than the largest state, so an oversized file shows as such.
    std::vector<std::uint8_t> bytes(SimulatedMouse::kStateSize + 1);
    std::size_t got = 0;
    for (;;) {
        const long n = readAt(bytes.data() + got, bytes.size() - got, got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return "cannot read " + path_.string() + ": " + std::strerror(errno);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
        if (got == bytes.size()) break;
    }
    if (got == 0) return std::nullopt; // a new file: the mouse stays factory-fresh
    bytes.resize(got);
    return mouse.restoreState(bytes, path_.string());
}

std::optional<std::string> SimulatedMouseStateFile::update(const SimulatedMouse& mouse) {
    if (fd_ < 0) return "the state file is not open";
    const std::vector<std::uint8_t> bytes = mouse.stateBytes();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = writeAt(bytes.data() + done, bytes.size() - done, done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return "cannot write " + path_.string() + ": " + std::strerror(errno);
        done += static_cast<std::size_t>(n);
    }
    return std::nullopt;
}

std::optional<std::string> SimulatedMouseStateFile::save(const SimulatedMouse& mouse) {
    if (fd_ < 0) return "the state file is not open";
    return replaceFileContents(path_, mouse.stateBytes());
}

} // namespace orlix::device
