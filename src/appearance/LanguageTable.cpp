#include "appearance/LanguageTable.h"

#include "model/TextCodec.h"
#include "platform/CodePage.h"

namespace orlix::appearance {

namespace {

std::string sectionNameOf(std::string_view resource) {
    return lowerAscii(resource);
}

TableRead tableFromLines(const std::vector<std::string>& lines, std::string_view resource,
                         std::vector<std::string> problems) {
    IniDocument doc = IniDocument::parseLines(lines);
    const std::string name = sectionNameOf(resource);
    TableRead result;
    if (const IniSection* s = doc.section(name)) {
        result.table = LanguageTable(*s);
    } else {
        problems.push_back(std::string(resource) + ": no section [" + name + "]");
    }
    result.problems = std::move(problems);
    return result;
}

const std::string kReplacementUtf8 = "\xEF\xBF\xBD";

// Decodes one line; bytes the code page does not have become U+FFFD so the rest survives.
std::string decodeCp936Line(std::string_view line, bool& damaged) {
    if (auto whole = platform::cp936ToUtf8(line)) return *whole;
    damaged = true;
    std::string out;
    std::size_t i = 0;
    while (i < line.size()) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (i + 1 < line.size()) {
            if (auto pair = platform::cp936ToUtf8(line.substr(i, 2))) {
                out += *pair;
                i += 2;
                continue;
            }
        }
        if (auto single = platform::cp936ToUtf8(line.substr(i, 1))) {
            out += *single;
        } else {
            out += kReplacementUtf8;
        }
        ++i;
    }
    return out;
}

} // namespace

std::string LanguageTable::text(std::string_view id) const {
    auto value = section_.value(id);
    return value ? std::string(*value) : std::string();
}

std::vector<std::string> splitQuotedItems(std::string_view text, bool* unterminated) {
    std::vector<std::string> items;
    if (unterminated) *unterminated = false;
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (true) {
        while (i < n && blank(text[i]))
            ++i;
        if (i >= n) break;
        std::string item;
        if (text[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                item += text[i++];
            }
            if (!closed && unterminated) *unterminated = true;
        } else {
            const std::size_t start = i;
            while (i < n && !blank(text[i]))
                ++i;
            item.assign(text.substr(start, i - start));
        }
        items.push_back(std::move(item));
    }
    return items;
}

TableRead readQuotedUtf16Table(std::span<const std::uint8_t> bytes, std::string_view resource) {
    std::vector<std::string> problems;
    const std::string res(resource);
    std::size_t start = 0;
    bool bigEndian = false;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        start = 2;
    } else if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        start = 2;
        bigEndian = true;
        problems.push_back(res + ": big-endian byte-order mark; read as UTF-16BE");
    } else {
        // Skipping two bytes regardless would cut the section line and lose every text.
        problems.push_back(res + ": no byte-order mark FF FE; read as UTF-16LE from the start");
    }
    const std::size_t units = (bytes.size() - start) / 2;
    if ((bytes.size() - start) % 2 != 0) {
        problems.push_back(res + ": odd number of bytes; the last byte is ignored");
    }
    std::u16string text;
    text.reserve(units);
    for (std::size_t k = 0; k < units; ++k) {
        const std::uint8_t a = bytes[start + 2 * k];
        const std::uint8_t b = bytes[start + 2 * k + 1];
        text += static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    std::size_t invalid = 0;
    const std::string utf8 = utf16ToUtf8(text, &invalid);
    if (invalid > 0) {
        problems.push_back(res + ": " + std::to_string(invalid) +
                           " unpaired surrogate(s) replaced by U+FFFD");
    }
    bool unterminated = false;
    std::vector<std::string> items = splitQuotedItems(utf8, &unterminated);
    if (unterminated) problems.push_back(res + ": a quoted item has no closing quote");
    return tableFromLines(items, resource, std::move(problems));
}

TableRead readCodePage936Table(std::span<const std::uint8_t> bytes, std::string_view resource) {
    std::vector<std::string> problems;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<std::string> lines;
    std::size_t number = 0;
    for (std::string_view line : splitLines(text)) {
        ++number;
        bool damaged = false;
        lines.push_back(decodeCp936Line(line, damaged));
        if (damaged) {
            problems.push_back(std::string(resource) + ": line " + std::to_string(number) +
                               " holds bytes that are not code page 936; replaced by U+FFFD");
        }
    }
    return tableFromLines(lines, resource, std::move(problems));
}

TableRead readLanguageTable(std::span<const std::uint8_t> bytes, std::string_view resource,
                            TableEncoding encoding) {
    return encoding == TableEncoding::Utf16Quoted ? readQuotedUtf16Table(bytes, resource)
                                                  : readCodePage936Table(bytes, resource);
}

std::optional<std::vector<std::uint8_t>> writeQuotedUtf16Table(std::string_view utf8Source,
                                                               std::string* error) {
    std::string text;
    std::size_t number = 0;
    for (std::string_view raw : splitLines(utf8Source)) {
        ++number;
        const std::string_view line = trimBlanks(raw);
        if (line.empty()) {
            // blank line between groups
        } else if (line.front() == '[' && line.back() == ']') {
            text += line;
        } else {
            if (line.find_first_of("\t\v\f") != std::string_view::npos) {
                if (error) *error = "line " + std::to_string(number) + ": control character";
                return std::nullopt;
            }
            text += '"';
            for (char c : line) {
                if (c == '"') text += '"';
                text += c;
            }
            text += '"';
        }
        text += "\r\n";
    }
    std::optional<std::u16string> units = utf8ToUtf16(text);
    if (!units) {
        if (error) *error = "the source is not valid UTF-8";
        return std::nullopt;
    }
    std::vector<std::uint8_t> out{0xFF, 0xFE};
    out.reserve(2 + 2 * units->size());
    for (char16_t u : *units) {
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> writeCodePage936Table(std::string_view utf8Source,
                                                               std::string* error) {
    std::vector<std::uint8_t> out;
    std::size_t number = 0;
    for (std::string_view line : splitLines(utf8Source)) {
        ++number;
        std::optional<std::string> encoded = platform::utf8ToCp936(line);
        if (!encoded) {
            if (error) {
                *error = "line " + std::to_string(number) + " cannot be written in code page 936";
            }
            return std::nullopt;
        }
        out.insert(out.end(), encoded->begin(), encoded->end());
        out.push_back('\r');
        out.push_back('\n');
    }
    return out;
}

std::optional<std::vector<std::uint8_t>>
writeLanguageTable(std::string_view utf8Source, TableEncoding encoding, std::string* error) {
    return encoding == TableEncoding::Utf16Quoted ? writeQuotedUtf16Table(utf8Source, error)
                                                  : writeCodePage936Table(utf8Source, error);
}

} // namespace orlix::appearance
