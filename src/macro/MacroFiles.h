#pragma once

#include "model/FileIo.h"
#include "model/MacroStore.h"

#include <filesystem>

namespace orlix {

// Macro export files: one macro (its 32-byte entry and 1024-byte body) or the whole store
// (table, then the 32 bodies). Imports take what the file covers; the rest stays as it was.
constexpr std::size_t kMacroOneFileSize = kMacroEntrySize + kMacroBodySize;               // 1056
constexpr std::size_t kMacroAllFileSize = kMacroTableSize + kMacroCount * kMacroBodySize; // 33792

FileResult exportOneMacro(const std::filesystem::path& path, const MacroStore& store,
                          std::size_t n);
FileResult exportAllMacros(const std::filesystem::path& path, const MacroStore& store);
// On failure the store is left unchanged.
FileResult importOneMacro(const std::filesystem::path& path, MacroStore& store, std::size_t n);
FileResult importAllMacros(const std::filesystem::path& path, MacroStore& store);

} // namespace orlix
