#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace orlix::test {

// A fresh folder per test under the build tree (or the system's temp folder).
inline std::filesystem::path scratchDir(const std::string& name) {
    const char* base = std::getenv("ORLIX_TEST_SCRATCH");
    std::filesystem::path root =
        base ? base : std::filesystem::temp_directory_path() / "orlix-tests";
    auto dir = root / (name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace orlix::test
