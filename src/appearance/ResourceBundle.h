#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orlix::appearance {

// Named blobs compiled into the program: images, layouts, language tables, the default image.
// A resource is named after its file without the extension ("images/SetS_02.png" is
// "SetS_02"); names are matched without regard to ASCII case, as Windows resource names are.
class ResourceBundle {
public:
    // One entry of a generated table; the bytes live in static storage.
    struct StaticEntry {
        const char* name;
        const unsigned char* data;
        std::size_t size;
    };

    ResourceBundle() = default;

    // Refers to a table with static storage duration; nothing is copied.
    explicit ResourceBundle(std::span<const StaticEntry> entries);

    // Owns copies of the given entries; for tests and tools. Throws std::invalid_argument when
    // two names are equal apart from case or a name is empty.
    static ResourceBundle
    fromMemory(std::vector<std::pair<std::string, std::vector<std::uint8_t>>> entries);

    std::optional<std::span<const std::uint8_t>> find(std::string_view name) const;
    // The same bytes seen as text (layouts and 8-bit tables).
    std::optional<std::string_view> findText(std::string_view name) const;
    bool contains(std::string_view name) const { return find(name).has_value(); }

    std::vector<std::string> names() const;
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

private:
    struct Entry {
        std::string name;
        std::span<const std::uint8_t> bytes;
    };
    std::vector<Entry> entries_;
    std::shared_ptr<const std::vector<std::vector<std::uint8_t>>> owned_;
};

// True when a and b are equal apart from ASCII case.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace orlix::appearance
