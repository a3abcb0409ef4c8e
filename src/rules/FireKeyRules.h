#pragma once

#include "model/FireKeyFields.h"
#include "model/PageState.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orlix::pages {

// The fire-key rules of the Advanced page: the repeat and delay fields of the four fire keys
// (digits only, at most two and four of them, corrected when a field is left) and the Fire
// Mode group, one to three fire keys. A group emptied by a new Fire Mode button stays empty
// until the user picks a key. The fields' limits and the keys' bytes are in
// model/FireKeyFields.h.
class FireKeyRules {
public:
    static constexpr int kFireKeys = 4;
    static constexpr int kMaxGroup = 3;

    explicit FireKeyRules(FireKeyPage& page) : page_(page) {}

    // Only the digits pass the fields' key filter (backspace is an edit, not a character).
    static bool acceptsCharacter(char32_t c) { return c >= U'0' && c <= U'9'; }
    // What a field keeps of a typed or pasted text: its digits, up to the field's length.
    static std::string filtered(std::string_view text, int maxDigits);

    // A field's text as typed (fire key n = 0..3); an empty field holds 0.
    void typeRepeat(int n, std::string_view text);
    void typeDelay(int n, std::string_view text);
    // Leaving a field: the value corrected into its range, as the field then shows it.
    int leaveRepeat(int n);
    int leaveDelay(int n);

    int repeat(int n) const { return page_.repeat[index(n)]; }
    int delay(int n) const { return page_.delay[index(n)]; }

    // Exact settings (command line): false, and no change, outside 2..15 and 2..2000.
    bool setFireKey(int n, int repeat, int delay);

    int groupCount() const;
    bool inGroup(int n) const;
    // lbl_FKMode click: at most three keys, and the last one stays. False when refused.
    bool toggleMode(int n);
    // The whole group at once (command line): one to three distinct keys 0..3.
    bool setGroup(std::span<const int> keys);

private:
    static std::size_t index(int n) { return static_cast<std::size_t>(n); }
    static bool valid(int n) { return n >= 0 && n < kFireKeys; }

    FireKeyPage& page_;
};

} // namespace orlix::pages
