#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::pages {

// The state of the key-combination dialog: up to four modifiers from check boxes and up to
// two captured keys. Keys arrive as Windows virtual-key codes with the modifier keys held at
// the time; the result is a type-02 assignment code.
class KeyCombination {
public:
    enum Modifier { Ctrl, Shift, Alt, Win };
    static constexpr std::array<const char*, 4> kModifierNames{"Ctrl", "Shift", "Alt", "Win"};
    // Other names typed for the modifiers: "Control", "Super".
    struct ModifierAlias {
        const char* alias;
        Modifier modifier;
    };
    static constexpr std::array<ModifierAlias, 2> kModifierAliases{ModifierAlias{"Control", Ctrl},
                                                                   ModifierAlias{"Super", Win}};

    // A modifier by its name or alias, in any case.
    static std::optional<Modifier> modifierNamed(std::string_view name);

    // A typed combination such as "Ctrl+Shift+F1" or "Super+D": modifiers, then one or two
    // keys by their display names or aliases, entered as the dialog takes them. Nothing for
    // an unknown name, a key the dialog swallows, or more than two keys.
    static std::optional<KeyCombination> fromText(std::string_view text);

    // The keys the dialog captures, by virtual key and display name, each name once.
    struct NamedKey {
        unsigned virtualKey;
        std::string_view name;
    };
    static std::vector<NamedKey> capturableKeys();

    struct Held {
        bool shift = false;
        bool ctrl = false;
        bool alt = false;
    };

    // A key pressed in the edit. A third key starts a new capture; the Windows keys and any
    // key pressed with Shift, Ctrl or Alt held (those keys included) are swallowed.
    // Returns true when the key was captured.
    bool keyDown(unsigned virtualKey, Held held);

    void setModifier(Modifier m, bool checked);
    bool modifier(Modifier m) const { return modifiers_[m]; }

    // Clear: back to the opening state, all boxes unchecked.
    void clear();

    // What the edit shows: the checked modifiers, then the captured keys, joined by "+".
    std::string text() const;
    std::string modifiersText() const;
    const std::string& keysText() const { return keysText_; }
    int capturedKeys() const { return count_; }
    std::uint8_t usage1() const { return usage1_; }
    std::uint8_t usage2() const { return usage2_; }
    std::uint8_t modifierBits() const;
    // "02" + modifier bits + usage 1 + usage 2.
    std::string code() const;

private:
    std::array<bool, 4> modifiers_{};
    std::string keysText_;
    std::uint8_t usage1_ = 0;
    std::uint8_t usage2_ = 0;
    int count_ = 0;
};

} // namespace orlix::pages
