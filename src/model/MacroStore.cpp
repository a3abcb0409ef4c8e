#include "MacroStore.h"

#include "Hex.h"
#include "TextCodec.h"

#include <algorithm>

namespace orlix {

std::span<std::uint8_t, kMacroEntrySize> MacroStore::entry(std::size_t n) {
    return std::span<std::uint8_t, kMacroEntrySize>(table.data() + kMacroEntrySize * n,
                                                    kMacroEntrySize);
}

std::span<const std::uint8_t, kMacroEntrySize> MacroStore::entry(std::size_t n) const {
    return std::span<const std::uint8_t, kMacroEntrySize>(table.data() + kMacroEntrySize * n,
                                                          kMacroEntrySize);
}

std::uint16_t MacroStore::bodyLength(std::size_t n) const {
    auto e = entry(n);
    return static_cast<std::uint16_t>(e[kMacroEntryBodyLength] << 8 | e[kMacroEntryBodyLength + 1]);
}

void MacroStore::setBodyLength(std::size_t n, std::uint16_t length) {
    auto e = entry(n);
    e[kMacroEntryBodyLength] = static_cast<std::uint8_t>(length >> 8);
    e[kMacroEntryBodyLength + 1] = static_cast<std::uint8_t>(length & 0xFF);
}

std::size_t MacroStore::usableBodyLength(std::size_t n) const {
    std::size_t len = bodyLength(n);
    return len > kMacroBodySize ? 0 : len;
}

std::size_t MacroStore::nameLength(std::size_t n) const {
    return std::min<std::size_t>(entry(n)[kMacroEntryNameLength], kMacroNameBytes);
}

std::string MacroStore::name(std::size_t n) const {
    auto e = entry(n);
    std::size_t len = nameLength(n);
    // Code units are rebuilt from the end of the name towards its start, so a leading odd
    // byte is the one that is dropped.
    std::u16string units;
    for (std::size_t end = len; end >= 2; end -= 2) {
        auto unit =
            static_cast<char16_t>(e[kMacroEntryName + end - 2] << 8 | e[kMacroEntryName + end - 1]);
        units.insert(units.begin(), unit);
    }
    // NUL and U+FFFF are never characters of a name: they are erased flash or padding.
    std::erase_if(units, [](char16_t c) { return c == 0 || c == 0xFFFF; });
    return utf16ToUtf8(units);
}

void MacroStore::setName(std::size_t n, std::string_view utf8Name) {
    // Names come from the macro list as UTF-8; a damaged one is stored as no name.
    std::u16string units = utf8ToUtf16(utf8Name).value_or(std::u16string());
    if (units.size() > kMacroNameMaxChars) {
        units.resize(kMacroNameMaxChars);
        // Never leave half of a surrogate pair at the end.
        if (units.back() >= 0xD800 && units.back() <= 0xDBFF) units.pop_back();
    }
    auto e = entry(n);
    e[kMacroEntryZero] = 0x00;
    e[kMacroEntryNameLength] = static_cast<std::uint8_t>(units.size() * 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        e[kMacroEntryName + 2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
        e[kMacroEntryName + 2 * i + 1] = static_cast<std::uint8_t>(units[i] & 0xFF);
    }
}

void MacroStore::clear(std::size_t n) {
    setBodyLength(n, 0);
    bodies[n].fill(0xFF);
}

void MacroStore::fill(std::uint8_t value) {
    table.fill(value);
    for (auto& body : bodies)
        body.fill(value);
}

MacroNames RefreshMacroName(const MacroStore& store) {
    MacroNames names;
    for (std::size_t n = 0; n < kMacroCount; ++n)
        names[n] = store.name(n);
    return names;
}

void UIToMacroName(MacroStore& store, const MacroNames& names) {
    for (std::size_t n = 0; n < kMacroCount; ++n)
        store.setName(n, names[n]);
}

std::string macroAssignmentCode(std::size_t n) {
    if (n >= kMacroCount) return {};
    const std::uint16_t address = macroBodyAddress(n);
    return "10" + hexByte(static_cast<std::uint8_t>(address >> 8)) +
           hexByte(static_cast<std::uint8_t>(address & 0xFF)) + "00";
}

std::optional<std::size_t> macroIndexOfCode(std::string_view code) {
    auto bytes = fromHex(code);
    if (!bytes || bytes->size() != 4 || (*bytes)[0] != 0x10) return std::nullopt;
    const unsigned address = static_cast<unsigned>((*bytes)[1] << 8 | (*bytes)[2]);
    for (std::size_t n = 0; n < kMacroCount; ++n)
        if (address == macroBodyAddress(n)) return n;
    return std::nullopt;
}

} // namespace orlix
