#pragma once

#include "model/FileIo.h"
#include "model/MacroStore.h"

#include <filesystem>

namespace orlix {

// Macro export files: one macro (its 32-byte entry and 1024-byte body) or the whole store
// (table, then the 32 bodies). An import takes every file of exactly its size, so that every
// export can be read back: a length of 0 or over 1024 is an empty macro, and decoding never
// passes a macro's length. Any other size is refused and the store stays as it was.
constexpr std::size_t kMacroOneFileSize = kMacroEntrySize + kMacroBodySize;               // 1056
constexpr std::size_t kMacroAllFileSize = kMacroTableSize + kMacroCount * kMacroBodySize; // 33792

// Why a macro file operation failed, so that the window can say it in its own language.
enum class MacroFileError {
    None,
    CannotWrite,  // Str110
    CannotRead,   // Str111
    NotOneMacro,  // Str112: not 1056 bytes
    NotAllMacros, // Str113: not 33792 bytes
    NoSuchMacro,
};
struct MacroFileResult : FileResult {
    MacroFileError kind = MacroFileError::None;
};
// The text id that tells `kind`; null for None and NoSuchMacro (never shown by the window).
const char* macroFileMessageId(MacroFileError kind);

MacroFileResult exportOneMacro(const std::filesystem::path& path, const MacroStore& store,
                               std::size_t n);
MacroFileResult exportAllMacros(const std::filesystem::path& path, const MacroStore& store);

// On failure the store is left unchanged.
MacroFileResult importOneMacro(const std::filesystem::path& path, MacroStore& store, std::size_t n);
MacroFileResult importAllMacros(const std::filesystem::path& path, MacroStore& store);

} // namespace orlix
