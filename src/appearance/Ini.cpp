#include "appearance/Ini.h"

#include "appearance/ResourceBundle.h"

namespace orlix::appearance {

std::string_view trimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    return text.substr(begin, end - begin);
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::optional<std::string_view> IniSection::value(std::string_view key) const {
    auto it = index_.find(lowerAscii(key));
    if (it == index_.end()) return std::nullopt;
    return std::string_view(entries_[it->second].second);
}

void IniSection::add(std::string key, std::string value) {
    index_.try_emplace(lowerAscii(key), entries_.size());
    entries_.emplace_back(std::move(key), std::move(value));
}

IniDocument IniDocument::parse(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return parseLines(splitLines(text));
}

const IniSection* IniDocument::section(std::string_view name) const {
    for (const IniSection& s : sections_) {
        if (equalsIgnoringCase(s.name(), name)) return &s;
    }
    return nullptr;
}

void IniDocument::addLine(std::string_view raw) {
    std::string_view line = trimBlanks(raw);
    if (line.empty() || line.front() == ';' || line.starts_with("//")) return;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        std::string_view name = trimBlanks(line.substr(1, line.size() - 2));
        for (std::size_t i = 0; i < sections_.size(); ++i) {
            if (equalsIgnoringCase(sections_[i].name(), name)) {
                current_ = i;
                return;
            }
        }
        sections_.emplace_back(std::string(name));
        current_ = sections_.size() - 1;
        return;
    }
    if (!current_) return;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    std::string_view key = trimBlanks(line.substr(0, eq));
    if (key.empty()) return;
    sections_[*current_].add(std::string(key), std::string(trimBlanks(line.substr(eq + 1))));
}

} // namespace orlix::appearance
