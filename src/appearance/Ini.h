#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orlix::appearance {

// Drops leading and trailing blanks and control characters (every byte up to 0x20).
std::string_view trimBlanks(std::string_view text);

// Splits at CR LF, LF or CR. A final line break does not add an empty line.
std::vector<std::string_view> splitLines(std::string_view text);

// Lower-cases ASCII letters; other bytes stay as they are.
std::string lowerAscii(std::string_view text);

// One "[name]" section of INI text. Keys are matched without regard to ASCII case; when a key
// occurs twice the first occurrence counts, as in the readers this format comes from.
class IniSection {
public:
    explicit IniSection(std::string name = {}) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    std::optional<std::string_view> value(std::string_view key) const;
    bool contains(std::string_view key) const { return value(key).has_value(); }
    // Entries in the order they were read, repeated keys included.
    const std::vector<std::pair<std::string, std::string>>& entries() const { return entries_; }

    void add(std::string key, std::string value);

private:
    std::string name_;
    std::vector<std::pair<std::string, std::string>> entries_;
    std::map<std::string, std::size_t, std::less<>> index_; // lower-case key -> first entry
};

// INI text: "[name]" opens a section; "key=value" is split at the first "=" and both sides
// are trimmed; lines beginning with ";" or "//" are comments; lines before the first section,
// lines without "=" and lines with an empty key are ignored. Section names ignore case; a
// section that appears twice is read as one.
class IniDocument {
public:
    template <typename Lines> static IniDocument parseLines(const Lines& lines) {
        IniDocument doc;
        for (const auto& line : lines)
            doc.addLine(std::string_view(line));
        return doc;
    }
    // A UTF-8 byte-order mark at the start (left by some editors) is skipped.
    static IniDocument parse(std::string_view text);

    const IniSection* section(std::string_view name) const;
    const std::vector<IniSection>& sections() const { return sections_; }

private:
    void addLine(std::string_view line);

    std::vector<IniSection> sections_;
    std::optional<std::size_t> current_;
};

} // namespace orlix::appearance
