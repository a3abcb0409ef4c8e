#pragma once

#include "model/FileIo.h"
#include "model/MacroStore.h"

#include <filesystem>

namespace orlix {

// Macro export files: one macro (its 32-byte entry and 1024-byte body) or the whole store
// (table, then the 32 bodies). An import takes a file only when it has exactly its size and
// every macro in it has length 0, or 1..1024 with the end code as its last byte; anything else
// is refused with a message and the store stays as it was.
constexpr std::size_t kMacroOneFileSize = kMacroEntrySize + kMacroBodySize;               // 1056
constexpr std::size_t kMacroAllFileSize = kMacroTableSize + kMacroCount * kMacroBodySize; // 33792

FileResult exportOneMacro(const std::filesystem::path& path, const MacroStore& store,
                          std::size_t n);
FileResult exportAllMacros(const std::filesystem::path& path, const MacroStore& store);
// True when a body length and the body's bytes make a macro a file may carry.
bool isPlausibleMacro(std::uint16_t bodyLength, std::span<const std::uint8_t> body);

// On failure the store is left unchanged.
FileResult importOneMacro(const std::filesystem::path& path, MacroStore& store, std::size_t n);
FileResult importAllMacros(const std::filesystem::path& path, MacroStore& store);

} // namespace orlix
