// Typed key combinations: every key by its display name and by the common names people type.
#include "model/KeyTables.h"
#include "rules/KeyCombination.h"

#include <gtest/gtest.h>

#include <string>

using namespace orlix;
using orlix::pages::KeyCombination;

namespace {

std::string codeOf(std::string_view text) {
    const auto c = KeyCombination::fromText(text);
    return c ? c->code() : "refused";
}

} // namespace

TEST(KeyNames, EveryDisplayNameAndAliasNamesItsKey) {
    for (unsigned k = kh_Back; k < kh_Count; ++k) {
        const auto key = static_cast<TKeyboardHookKey>(k);
        const std::string_view name = KeyDisplayName(key);
        if (name.empty()) continue;
        // A name two keys share resolves to the first; both show the same text.
        EXPECT_EQ(KeyDisplayName(KeyFromName(name)), name) << name;
        std::string upper(name);
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        EXPECT_EQ(KeyDisplayName(KeyFromName(upper)), name) << upper;
    }
    for (const KeyNameAlias& a : KeyNameAliases()) {
        EXPECT_EQ(KeyFromName(a.alias), a.key) << a.alias;
        // An alias may not hide another key's own name.
        for (unsigned k = kh_Back; k < kh_Count; ++k)
            EXPECT_NE(KeyDisplayName(static_cast<TKeyboardHookKey>(k)), a.alias) << a.alias;
    }
    EXPECT_EQ(KeyFromName(""), kh_None);
    EXPECT_EQ(KeyFromName("Escap"), kh_None);
}

TEST(KeyNames, AliasesGiveTheCodesOfTheNamesTheTablesUse) {
    struct Row {
        const char* typed;
        const char* asTheTableNamesIt;
    };
    for (const Row& r :
         {Row{"Ctrl+Escape", "Ctrl+Esc"}, Row{"escape", "Esc"}, Row{"PgUp", "Page Up"},
          Row{"PgDn", "Page Down"}, Row{"Shift+PageDown", "Shift+Page Down"},
          Row{"Super+D", "Win+D"}, Row{"Control+Alt+Del", "Ctrl+Alt+Delete"},
          Row{"Space", "Space bar"}, Row{"Ins", "Insert"}, Row{"Return", "Enter"},
          Row{" ctrl + c ", "Ctrl+C"}}) {
        EXPECT_NE(codeOf(r.asTheTableNamesIt), "refused") << r.asTheTableNamesIt;
        EXPECT_EQ(codeOf(r.typed), codeOf(r.asTheTableNamesIt)) << r.typed;
    }
    EXPECT_EQ(codeOf("Win+D").substr(0, 4), "0208"); // the Windows modifier bit
}

TEST(KeyNames, WhatTheDialogWouldNotTakeIsRefused) {
    for (const char* text : {"", "Ctrl", "Ctrl+", "+C", "Foo", "A+B+C", "Ctrl+Left Windows",
                             "Shift+Left Shift", "Ctrl++C"})
        EXPECT_EQ(codeOf(text), "refused") << text;
}

TEST(KeyNames, TheCapturableKeysAreExactlyTheNamedKeysTheDialogTakes) {
    const auto keys = KeyCombination::capturableKeys();
    ASSERT_FALSE(keys.empty());
    for (const auto& k : keys) {
        EXPECT_NE(codeOf(std::string(k.name)), "refused") << k.name;
        EXPECT_EQ(KeyDisplayName(VirtualKeyToKey(k.virtualKey)), k.name);
    }
    for (unsigned v = 1; v < 256; ++v) {
        const std::string_view name = KeyDisplayName(VirtualKeyToKey(v));
        if (name.empty() || VirtualKeyToKey(v) < kh_Back) continue; // no name a user types
        KeyCombination probe;
        const bool listed =
            std::any_of(keys.begin(), keys.end(), [&](const auto& k) { return k.name == name; });
        EXPECT_EQ(listed, probe.keyDown(v, {})) << name;
    }
}
