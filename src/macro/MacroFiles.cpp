#include "MacroFiles.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace orlix {

namespace {

MacroFileResult failed(MacroFileError kind, std::string error) {
    MacroFileResult r;
    r.ok = false;
    r.error = std::move(error);
    r.kind = kind;
    return r;
}

MacroFileResult written(FileResult result) {
    if (result) return {};
    return failed(MacroFileError::CannotWrite, std::move(result.error));
}

// Reads the whole file, refusing any size but the expected one.
std::optional<std::vector<std::uint8_t>> readExactly(const std::filesystem::path& path,
                                                     std::size_t size, MacroFileError wrongSize,
                                                     const char* what, MacroFileResult& result) {
    std::string error;
    auto data = readFilePrefix(path, size + 1, &error);
    if (!data) {
        result = failed(MacroFileError::CannotRead, error);
        return std::nullopt;
    }
    if (data->size() != size) {
        result = failed(wrongSize, path.string() + " is not " + what + ": it holds " +
                                       (data->size() > size ? "more than " + std::to_string(size)
                                                            : std::to_string(data->size())) +
                                       " bytes instead of " + std::to_string(size) + ".");
        return std::nullopt;
    }
    return data;
}

} // namespace

const char* macroFileMessageId(MacroFileError kind) {
    switch (kind) {
    case MacroFileError::CannotWrite:
        return "Str110";
    case MacroFileError::CannotRead:
        return "Str111";
    case MacroFileError::NotOneMacro:
        return "Str112";
    case MacroFileError::NotAllMacros:
        return "Str113";
    case MacroFileError::None:
    case MacroFileError::NoSuchMacro:
        break;
    }
    return nullptr;
}

MacroFileResult exportOneMacro(const std::filesystem::path& path, const MacroStore& store,
                               std::size_t n) {
    if (n >= kMacroCount) return failed(MacroFileError::NoSuchMacro, "There is no such macro.");
    std::vector<std::uint8_t> out(store.entry(n).begin(), store.entry(n).end());
    out.insert(out.end(), store.bodies[n].begin(), store.bodies[n].end());
    return written(writeFileAtomically(path, out));
}

MacroFileResult exportAllMacros(const std::filesystem::path& path, const MacroStore& store) {
    std::vector<std::uint8_t> out(store.table.begin(), store.table.end());
    for (const auto& body : store.bodies)
        out.insert(out.end(), body.begin(), body.end());
    return written(writeFileAtomically(path, out));
}

MacroFileResult importOneMacro(const std::filesystem::path& path, MacroStore& store,
                               std::size_t n) {
    if (n >= kMacroCount) return failed(MacroFileError::NoSuchMacro, "There is no such macro.");
    MacroFileResult result;
    auto data = readExactly(path, kMacroOneFileSize, MacroFileError::NotOneMacro,
                            "a file of one macro", result);
    if (!data) return result;
    std::copy_n(data->begin(), kMacroEntrySize, store.entry(n).begin());
    std::copy_n(data->begin() + static_cast<std::ptrdiff_t>(kMacroEntrySize), kMacroBodySize,
                store.bodies[n].begin());
    return result;
}

MacroFileResult importAllMacros(const std::filesystem::path& path, MacroStore& store) {
    MacroFileResult result;
    auto data = readExactly(path, kMacroAllFileSize, MacroFileError::NotAllMacros,
                            "a file of all macros", result);
    if (!data) return result;
    std::copy_n(data->begin(), kMacroTableSize, store.table.begin());
    for (std::size_t n = 0; n < kMacroCount; ++n)
        std::copy_n(data->begin() +
                        static_cast<std::ptrdiff_t>(kMacroTableSize + n * kMacroBodySize),
                    kMacroBodySize, store.bodies[n].begin());
    return result;
}

} // namespace orlix
