// `names`: every name `set button` takes, so a user need not guess: the functions the menus
// of the edition offer (buttons 1 to 3 trade theirs among themselves), the modifiers and the
// keys of a key combination, each with the other names accepted for it.
#include "Commands.h"
#include "Context.h"

#include "model/KeyTables.h"
#include "rules/KeyCombination.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace orlixctl {

using namespace orlix;
using pages::KeyCombination;

namespace {

std::vector<std::string> keyAliases(std::string_view name) {
    std::vector<std::string> aliases;
    const TKeyboardHookKey key = KeyFromName(name);
    for (const KeyNameAlias& a : KeyNameAliases())
        if (a.key == key) aliases.emplace_back(a.alias);
    return aliases;
}

std::vector<std::string> modifierAliases(int m) {
    std::vector<std::string> aliases;
    for (const auto& a : KeyCombination::kModifierAliases)
        if (a.modifier == m) aliases.emplace_back(a.alias);
    return aliases;
}

std::string withAliases(std::string_view name, const std::vector<std::string>& aliases) {
    std::string text(name);
    for (std::size_t i = 0; i < aliases.size(); ++i)
        text += (i == 0 ? " (also " : ", ") + aliases[i];
    return aliases.empty() ? text : text + ")";
}

} // namespace

int commandNames(Context& ctx, std::ostream& out, std::ostream&) {
    const std::vector<std::string> primary = offeredFunctionNames(ctx, 1);
    const std::vector<std::string> others = offeredFunctionNames(ctx, 4);
    const auto keys = KeyCombination::capturableKeys();
    if (ctx.options().json) {
        nlohmann::ordered_json j;
        j["edition"] = traitsOf(ctx.options().edition).programName;
        j["language"] = ctx.options().language;
        j["functions"] = {{"buttons1to3", primary}, {"buttons4to12", others}};
        auto& modifiers = j["modifiers"] = nlohmann::ordered_json::array();
        for (int m = 0; m < 4; ++m)
            modifiers.push_back(
                {{"name", KeyCombination::kModifierNames[static_cast<std::size_t>(m)]},
                 {"aliases", modifierAliases(m)}});
        auto& keyList = j["keys"] = nlohmann::ordered_json::array();
        for (const auto& k : keys)
            keyList.push_back({{"name", k.name}, {"aliases", keyAliases(k.name)}});
        out << j.dump(2) << "\n";
        return kOk;
    }
    out << "Functions of buttons 1 to 3 (they trade these among themselves):\n";
    for (const std::string& name : primary)
        out << "  " << name << "\n";
    out << "Functions of buttons 4 to 12:\n";
    for (const std::string& name : others)
        out << "  " << name << "\n";
    out << "Key combinations (buttons 4 to 12): modifiers, then one or two keys, joined by "
           "\"+\", e.g. Ctrl+Shift+Esc\nModifiers:\n";
    for (int m = 0; m < 4; ++m)
        out << "  "
            << withAliases(KeyCombination::kModifierNames[static_cast<std::size_t>(m)],
                           modifierAliases(m))
            << "\n";
    out << "Keys:\n";
    for (const auto& k : keys)
        out << "  " << withAliases(k.name, keyAliases(k.name)) << "\n";
    out << "Names are matched in any case of letters; an eight-digit code is taken as well.\n";
    return kOk;
}

} // namespace orlixctl
