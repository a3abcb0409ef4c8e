#include "MacroFiles.h"

#include <algorithm>
#include <vector>

namespace orlix {

namespace {
void copyRegion(const std::vector<std::uint8_t>& data, std::size_t offset,
                std::span<std::uint8_t> target) {
    if (offset >= data.size()) return;
    std::size_t n = std::min(target.size(), data.size() - offset);
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), n, target.begin());
}

FileResult outOfRange() {
    return {false, "There is no such macro."};
}
} // namespace

FileResult exportOneMacro(const std::filesystem::path& path, const MacroStore& store,
                          std::size_t n) {
    if (n >= kMacroCount) return outOfRange();
    std::vector<std::uint8_t> out(store.entry(n).begin(), store.entry(n).end());
    out.insert(out.end(), store.bodies[n].begin(), store.bodies[n].end());
    return writeFileAtomically(path, out);
}

FileResult exportAllMacros(const std::filesystem::path& path, const MacroStore& store) {
    std::vector<std::uint8_t> out(store.table.begin(), store.table.end());
    for (const auto& body : store.bodies)
        out.insert(out.end(), body.begin(), body.end());
    return writeFileAtomically(path, out);
}

FileResult importOneMacro(const std::filesystem::path& path, MacroStore& store, std::size_t n) {
    if (n >= kMacroCount) return outOfRange();
    std::string error;
    auto data = readFilePrefix(path, kMacroOneFileSize, &error);
    if (!data) return {false, error};
    copyRegion(*data, 0, store.entry(n));
    copyRegion(*data, kMacroEntrySize, store.bodies[n]);
    return {};
}

FileResult importAllMacros(const std::filesystem::path& path, MacroStore& store) {
    std::string error;
    auto data = readFilePrefix(path, kMacroAllFileSize, &error);
    if (!data) return {false, error};
    copyRegion(*data, 0, store.table);
    for (std::size_t n = 0; n < kMacroCount; ++n)
        copyRegion(*data, kMacroTableSize + n * kMacroBodySize, store.bodies[n]);
    return {};
}

} // namespace orlix
