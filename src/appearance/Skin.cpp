#include "appearance/Skin.h"

namespace orlix::appearance {

const IniSection* Skin::section(std::string_view resource, std::string_view name) {
    auto text = resources_.findText(resource);
    if (!text) {
        layout_.reportMissing(resource, {});
        return nullptr;
    }
    document_ = IniDocument::parse(*text);
    const IniSection* s = document_.section(name);
    if (!s) layout_.reportMissing(resource, name);
    return s;
}

void Skin::loadWebSettings() {
    const IniSection* org = section("ORG", "org");
    if (!org) return;
    layout_.applyWeb(*org, "ORG");
    if (traits_.layoutModel == LayoutModel::SingleLayout) layout_.applyPlacement(*org, "ORG");
}

void Skin::applyLanguage(int n, const Languages& languages) {
    if (n < 1 || n > 3) return;
    const std::string number = std::to_string(n);
    if (traits_.layoutModel == LayoutModel::SkinPerLanguage) {
        const std::string resource = "ORG" + number;
        if (const IniSection* s = section(resource, "org" + number)) {
            layout_.applyPlacement(*s, resource);
            layout_.applyStyle(*s, resource);
        }
    }
    if (traits_.languageTablesCarryStyle) {
        const LanguageTable& table = languages.table(n);
        if (table.empty()) {
            layout_.reportMissing("LANG" + number, "lang" + number);
        } else {
            layout_.applyStyle(table.section(), "LANG" + number);
        }
    }
}

std::string Skin::windowBackground(int set) {
    return "L" + std::to_string(set) + "_BackGround";
}

std::string Skin::pageBackground(int set, int page) {
    return "L" + std::to_string(set) + "_Back" + std::to_string(page);
}

} // namespace orlix::appearance
