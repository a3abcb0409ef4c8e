#pragma once

// What the POSIX and Windows halves of FileIo share: the messages and the temporary names.

#include "FileIo.h"

#include <filesystem>
#include <string>

namespace orlix::fileio {

// "Cannot write file "<path>": <the system's reason>".
std::string describe(const std::filesystem::path& path, const std::string& what, int err);
FileResult failure(const std::filesystem::path& path, const std::string& what, int err);

// A name beside the target for the temporary file that replaces it; `attempt` varies it after
// a clash.
std::string temporaryNameFor(const std::filesystem::path& target, unsigned attempt);

} // namespace orlix::fileio
