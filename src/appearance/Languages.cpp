#include "appearance/Languages.h"

#include "appearance/TextIds.h"

#include <stdexcept>

namespace orlix::appearance {

Languages::Loaded Languages::load(const ResourceBundle& resources, const EditionTraits& traits) {
    Loaded loaded;
    std::array<LanguageTable, 3> tables;
    for (int n = 1; n <= 3; ++n) {
        const std::string name = "lang" + std::to_string(n);
        auto bytes = resources.find(name);
        if (!bytes) {
            loaded.problems.push_back("language resource \"" + name + "\" missing");
            continue;
        }
        TableRead read = readLanguageTable(*bytes, name, traits.tableEncoding);
        tables[n - 1] = std::move(read.table);
        for (std::string& p : read.problems)
            loaded.problems.push_back(std::move(p));
    }
    loaded.languages = Languages(std::move(tables));
    return loaded;
}

bool Languages::select(int n) {
    if (n < 1 || n > 3) return false;
    current_ = n;
    return true;
}

const LanguageTable& Languages::table(int n) const {
    if (n < 1 || n > 3) throw std::out_of_range("language number " + std::to_string(n));
    return tables_[n - 1];
}

std::optional<std::string> Languages::findTextId(std::string_view text) const {
    if (text.empty()) return std::nullopt;
    std::optional<std::string> found;
    for (const LanguageTable& table : tables_) {
        for (int n = 0; n <= 600; ++n) {
            const std::string key = "Str" + std::to_string(n);
            auto value = table.find(key);
            if (value && *value == text) found = key;
        }
    }
    return found;
}

std::string Languages::recaption(std::string_view caption) const {
    std::optional<std::string> id = findTextId(caption);
    return id ? text(*id) : std::string(caption);
}

std::string Languages::menuEntryCaption(std::string_view id) const {
    return " " + text(textid::MenuMarker) + " " + text(id);
}

std::string Languages::delayChoiceCaption(std::string_view id) const {
    return "       " + text(id);
}

StoredTexts Languages::stored() const {
    StoredTexts s;
    s.title = text(textid::Title);
    s.alternateRefused = text(textid::AlternateRefused);
    s.resetControlRefused = text(textid::ResetControlRefused);
    s.deviceNotFound = text(textid::DeviceNotFound);
    s.writeRefused = text(textid::WriteRefused);
    s.macroFunction = text(textid::MacroFunction);
    s.alternateProfileFunction = text(textid::AlternateProfileFunction);
    s.alternateResetFunction = text(textid::AlternateResetFunction);
    for (int i = 0; i < 12; ++i)
        s.resolutionValues[i] = text(strId(320 + i));
    s.record = text(textid::Record);
    s.stop = text(textid::Stop);
    s.insertDelayOk = text(textid::InsertDelayOk);
    s.insertKeyOk = text(textid::InsertKeyOk);
    s.clearMacroQuestion = text(textid::ClearMacroQuestion);
    return s;
}

} // namespace orlix::appearance
