#include "rules/KeyCombination.h"

#include "model/Hex.h"
#include "model/KeyTables.h"

#include <algorithm>

namespace orlix::pages {

namespace {

constexpr unsigned kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12;
constexpr unsigned kVkLeftWin = 0x5B, kVkRightWin = 0x5C;
constexpr unsigned kVkLeftShift = 0xA0, kVkRightMenu = 0xA5; // the side-specific modifiers

bool isModifierKey(unsigned vk) {
    return vk == kVkShift || vk == kVkControl || vk == kVkMenu ||
           (vk >= kVkLeftShift && vk <= kVkRightMenu);
}

std::string join(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return a + "+" + b;
}

} // namespace

bool KeyCombination::keyDown(unsigned vk, Held held) {
    if (count_ == 2) {
        keysText_.clear();
        usage1_ = usage2_ = 0;
        count_ = 0;
    }
    if (vk == kVkLeftWin || vk == kVkRightWin) return false;
    if (held.shift || held.ctrl || held.alt || isModifierKey(vk)) return false;

    const TKeyboardHookKey key = VirtualKeyToKey(vk);
    std::string name(KeyDisplayName(key));
    if (name.empty()) name = KeyDisplayName(kh_None);
    const std::uint8_t usage = KeyToUsage(key);
    if (count_ == 0) {
        keysText_ = name;
        usage1_ = usage;
    } else {
        keysText_ += "+" + name;
        usage2_ = usage;
    }
    ++count_;
    return true;
}

void KeyCombination::setModifier(Modifier m, bool checked) {
    modifiers_[m] = checked;
}

void KeyCombination::clear() {
    modifiers_ = {};
    keysText_.clear();
    usage1_ = usage2_ = 0;
    count_ = 0;
}

std::string KeyCombination::modifiersText() const {
    std::string out;
    for (std::size_t i = 0; i < modifiers_.size(); ++i)
        if (modifiers_[i]) out = join(out, kModifierNames[i]);
    return out;
}

std::string KeyCombination::text() const {
    return join(modifiersText(), keysText_);
}

std::uint8_t KeyCombination::modifierBits() const {
    std::uint8_t bits = 0;
    for (std::size_t i = 0; i < modifiers_.size(); ++i)
        if (modifiers_[i]) bits = static_cast<std::uint8_t>(bits | (1u << i));
    return bits;
}

std::string KeyCombination::code() const {
    return "02" + hexByte(modifierBits()) + hexByte(usage1_) + hexByte(usage2_);
}

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view trimmedView(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::optional<KeyCombination::Modifier> KeyCombination::modifierNamed(std::string_view name) {
    const std::string wanted = lowered(trimmedView(name));
    for (std::size_t m = 0; m < kModifierNames.size(); ++m)
        if (wanted == lowered(kModifierNames[m])) return static_cast<Modifier>(m);
    for (const ModifierAlias& a : kModifierAliases)
        if (wanted == lowered(a.alias)) return a.modifier;
    return std::nullopt;
}

std::optional<KeyCombination> KeyCombination::fromText(std::string_view text) {
    KeyCombination combination;
    int keys = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find('+', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view part = trimmedView(text.substr(start, end - start));
        start = end + 1;
        if (part.empty()) return std::nullopt;
        if (const auto m = modifierNamed(part)) {
            combination.setModifier(*m, true);
            continue;
        }
        const TKeyboardHookKey key = KeyFromName(part);
        if (key == kh_None || keys == 2) return std::nullopt;
        // The first virtual key of that name, as the dialog would receive it.
        std::optional<unsigned> vk;
        for (unsigned v = 1; v < 256 && !vk; ++v)
            if (KeyDisplayName(VirtualKeyToKey(v)) == KeyDisplayName(key)) vk = v;
        if (!vk || !combination.keyDown(*vk, {})) return std::nullopt;
        ++keys;
    }
    if (keys == 0) return std::nullopt;
    return combination;
}

std::vector<KeyCombination::NamedKey> KeyCombination::capturableKeys() {
    std::vector<NamedKey> keys;
    for (unsigned v = 1; v < 256; ++v) {
        const TKeyboardHookKey key = VirtualKeyToKey(v);
        const std::string_view name = KeyDisplayName(key);
        // Below kh_Back: "None", "Demo" and "255", no names a user types.
        if (key < kh_Back || name.empty()) continue;
        if (KeyCombination probe; !probe.keyDown(v, {})) continue;
        const bool seen = std::any_of(keys.begin(), keys.end(),
                                      [&](const NamedKey& k) { return k.name == name; });
        if (!seen) keys.push_back({v, name});
    }
    return keys;
}

} // namespace orlix::pages
