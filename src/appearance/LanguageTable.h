#pragma once

#include "appearance/Ini.h"
#include "model/Edition.h"
#include "model/TextSource.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::appearance {

// The texts of one language: the section of a language resource named like the resource
// ("[lang2]" in "LANG2"). Ids ("Title", "Str210") ignore case; texts are UTF-8; a missing id
// gives the empty text.
class LanguageTable : public TextSource {
public:
    LanguageTable() = default;
    explicit LanguageTable(IniSection section) : section_(std::move(section)) {}

    std::string text(std::string_view id) const override;
    std::optional<std::string_view> find(std::string_view id) const { return section_.value(id); }
    bool empty() const { return section_.entries().empty(); }
    // Every entry, also the text-size and colour keys that some tables carry.
    const IniSection& section() const { return section_; }

private:
    IniSection section_;
};

// A table as read from its resource, with what was wrong with the bytes. Reading never fails:
// whatever could be read is in the table.
struct TableRead {
    LanguageTable table;
    std::vector<std::string> problems;
};

// Splits the text of a quoted table into items: items are separated by runs of blanks and
// control characters; an item that begins with a double quote runs to the matching closing
// quote, may hold blanks, and a doubled quote inside it stands for one quote.
std::vector<std::string> splitQuotedItems(std::string_view text, bool* unterminated = nullptr);

// UTF-16LE text after the byte-order mark FF FE, one quoted item per INI line.
TableRead readQuotedUtf16Table(std::span<const std::uint8_t> bytes, std::string_view resource);

// 8-bit lines in code page 936 (plain ASCII is a subset of it).
TableRead readCodePage936Table(std::span<const std::uint8_t> bytes, std::string_view resource);

TableRead readLanguageTable(std::span<const std::uint8_t> bytes, std::string_view resource,
                            TableEncoding encoding);

// The other way round, for the table generator: readable UTF-8 INI text to resource bytes.
// In the quoted form every entry and comment line is put in quotes (inner quotes doubled),
// section lines stay bare, lines end with CR LF, and the text starts with FF FE. nullopt with
// *error set when the source cannot be encoded.
std::optional<std::vector<std::uint8_t>> writeQuotedUtf16Table(std::string_view utf8Source,
                                                               std::string* error = nullptr);
std::optional<std::vector<std::uint8_t>> writeCodePage936Table(std::string_view utf8Source,
                                                               std::string* error = nullptr);
std::optional<std::vector<std::uint8_t>> writeLanguageTable(std::string_view utf8Source,
                                                            TableEncoding encoding,
                                                            std::string* error = nullptr);

} // namespace orlix::appearance
