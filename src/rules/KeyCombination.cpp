#include "rules/KeyCombination.h"

#include "model/Hex.h"
#include "model/KeyTables.h"

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

} // namespace orlix::pages
