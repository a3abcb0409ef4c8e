#include "appearance/ResourceBundle.h"

#include <stdexcept>

namespace orlix::appearance {

namespace {
char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

ResourceBundle::ResourceBundle(std::span<const StaticEntry> entries) {
    entries_.reserve(entries.size());
    for (const StaticEntry& e : entries) {
        entries_.push_back(Entry{e.name, std::span<const std::uint8_t>(e.data, e.size)});
    }
}

ResourceBundle
ResourceBundle::fromMemory(std::vector<std::pair<std::string, std::vector<std::uint8_t>>> entries) {
    auto storage = std::make_shared<std::vector<std::vector<std::uint8_t>>>();
    storage->reserve(entries.size());
    ResourceBundle bundle;
    for (auto& [name, bytes] : entries) {
        if (name.empty()) throw std::invalid_argument("resource with an empty name");
        if (bundle.contains(name)) {
            throw std::invalid_argument("two resources named \"" + name + "\" (names ignore case)");
        }
        storage->push_back(std::move(bytes));
        const std::vector<std::uint8_t>& stored = storage->back();
        bundle.entries_.push_back(Entry{std::move(name), std::span(stored.data(), stored.size())});
    }
    bundle.owned_ = std::move(storage);
    return bundle;
}

std::optional<std::span<const std::uint8_t>> ResourceBundle::find(std::string_view name) const {
    for (const Entry& e : entries_) {
        if (equalsIgnoringCase(e.name, name)) return e.bytes;
    }
    return std::nullopt;
}

std::optional<std::string_view> ResourceBundle::findText(std::string_view name) const {
    auto bytes = find(name);
    if (!bytes) return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

std::vector<std::string> ResourceBundle::names() const {
    std::vector<std::string> result;
    result.reserve(entries_.size());
    for (const Entry& e : entries_)
        result.push_back(e.name);
    return result;
}

} // namespace orlix::appearance
