#include "macro/MacroScript.h"

#include "model/Hex.h"
#include "model/MacroStore.h"

#include <algorithm>
#include <limits>

namespace orlix {

namespace {

constexpr std::string_view kCodeTag = " CODE:";
constexpr std::size_t kCodeSuffix = 10; // " CODE:" + four digits

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::uint8_t> hexPair(std::string_view two) {
    int hi = hexDigit(two[0]);
    int lo = hexDigit(two[1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    return static_cast<std::uint8_t>(hi * 16 + lo);
}

bool isMouseCode(std::uint8_t code, bool pressed) {
    if (pressed != ((code & macrocode::kPressBit) != 0)) return false;
    std::uint8_t bit = code & 0x1F;
    if ((code & 0x60) != macrocode::kButtonRelease) return false;
    return bit == 0x01 || bit == 0x02 || bit == 0x04 || bit == 0x08 || bit == 0x10;
}

std::string_view mouseButtonName(MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return "LeftKey";
    case MouseButton::Right:
        return "RightKey";
    case MouseButton::Middle:
        return "MiddleKey";
    case MouseButton::Forward:
        return "Forward";
    case MouseButton::Backward:
        return "Backward";
    }
    return {};
}

// The code bytes a press or release line carries, as one number for pairing: the release
// form of the code (press bit cleared).
std::optional<unsigned> releaseKeyOf(const ScriptEvent& e) {
    if (e.kind == LineKind::Delay || e.code.empty()) return std::nullopt;
    if (e.code.size() == 1) return static_cast<unsigned>(e.code[0] & ~macrocode::kPressBit);
    return static_cast<unsigned>((e.code[0] & ~macrocode::kPressBit) << 8 | e.code[1]);
}

} // namespace

bool isModifierBit(std::uint8_t bit) {
    return bit == modifier::kCtrl || bit == modifier::kShift || bit == modifier::kAlt ||
           bit == modifier::kLeftWin || bit == modifier::kRightWin;
}

std::string_view modifierName(std::uint8_t bit) {
    switch (bit) {
    case modifier::kCtrl:
        return "Ctrl";
    case modifier::kShift:
        return "Shift";
    case modifier::kAlt:
        return "Alt";
    case modifier::kLeftWin:
        return "Left Windows";
    case modifier::kRightWin:
        return "Right Windows";
    default:
        return {};
    }
}

std::uint8_t buttonCode(MouseButton button, bool pressed) {
    auto code = static_cast<std::uint8_t>(macrocode::kButtonRelease | static_cast<int>(button));
    return pressed ? static_cast<std::uint8_t>(code | macrocode::kPressBit) : code;
}

std::string delayLine(unsigned ms) {
    return "0 " + std::to_string(ms);
}

std::string keyLine(bool pressed, std::uint8_t usage, std::string_view name) {
    std::string out = pressed ? "1 " : "2 ";
    out += name;
    out += kCodeTag;
    out += hexByte(pressed ? macrocode::kKeyPress : macrocode::kKeyRelease);
    out += hexByte(usage);
    return out;
}

std::string modifierLine(bool pressed, std::uint8_t bit) {
    std::string out = pressed ? "1 " : "2 ";
    out += modifierName(bit);
    out += kCodeTag;
    out += hexByte(pressed ? macrocode::kModifierPress : macrocode::kModifierRelease);
    out += hexByte(bit);
    return out;
}

std::string mouseButtonLine(MouseButton button, bool pressed) {
    std::string out = pressed ? "1 " : "2 ";
    out += mouseButtonName(button);
    out += kCodeTag;
    out += "00";
    out += hexByte(buttonCode(button, pressed));
    return out;
}

std::string delayHeader(DelayMode mode, int defaultDelayMs) {
    switch (mode) {
    case DelayMode::RecordDelay:
        return "10";
    case DelayMode::DefaultDelay:
        return "01" + std::to_string(defaultDelayMs);
    case DelayMode::NoDelay:
        return "00";
    }
    return "10";
}

bool isHeaderLine(std::string_view line) {
    if (line == "10" || line == "00") return true;
    return line.size() > 2 && line.starts_with("01") &&
           std::all_of(line.begin() + 2, line.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<ScriptEvent> parseEventLine(std::string_view line) {
    if (line.size() < 3 || line[1] != ' ') return std::nullopt;
    ScriptEvent e;
    if (line[0] == '0') {
        std::string_view digits = line.substr(2);
        unsigned long long value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + static_cast<unsigned>(c - '0');
            if (value > std::numeric_limits<unsigned>::max())
                value = std::numeric_limits<unsigned>::max();
        }
        e.kind = LineKind::Delay;
        e.delayMs = static_cast<unsigned>(value);
        return e;
    }
    if (line[0] != '1' && line[0] != '2') return std::nullopt;
    const bool pressed = line[0] == '1';
    if (line.size() < 2 + kCodeSuffix) return std::nullopt;
    std::string_view suffix = line.substr(line.size() - kCodeSuffix);
    if (!suffix.starts_with(kCodeTag)) return std::nullopt;
    auto first = hexPair(suffix.substr(6, 2));
    auto second = hexPair(suffix.substr(8, 2));
    if (!first || !second) return std::nullopt;
    e.kind = pressed ? LineKind::Press : LineKind::Release;
    e.name = std::string(eventName(line));
    if (*first == 0x00) {
        if (!isMouseCode(*second, pressed)) return std::nullopt;
        e.code = {*second};
        return e;
    }
    const std::uint8_t modifierCode =
        pressed ? macrocode::kModifierPress : macrocode::kModifierRelease;
    const std::uint8_t keyCode = pressed ? macrocode::kKeyPress : macrocode::kKeyRelease;
    if (*first == modifierCode || *first == keyCode) {
        e.code = {*first, *second};
        return e;
    }
    return std::nullopt;
}

std::string_view eventName(std::string_view line) {
    if (line.size() < 2 + kCodeSuffix) return {};
    return line.substr(2, line.size() - 2 - kCodeSuffix);
}

std::string displayText(std::string_view line) {
    if (line.empty()) return {};
    if (line[0] == '0') return std::string(line.size() > 2 ? line.substr(2) : "") + " ms";
    if (line[0] == '1' || line[0] == '2') return std::string(eventName(line));
    return std::string(line);
}

std::size_t encodedSizeOf(std::string_view line) {
    auto e = parseEventLine(line);
    if (!e) return 0;
    return e->kind == LineKind::Delay ? 3 : e->code.size();
}

void MacroScript::clear() {
    header.clear();
    events.clear();
}

std::vector<std::string> MacroScript::lines() const {
    std::vector<std::string> out;
    if (empty()) return out;
    out.reserve(events.size() + 1);
    out.push_back(header);
    out.insert(out.end(), events.begin(), events.end());
    return out;
}

std::size_t MacroScript::pressCount() const {
    std::size_t n = 0;
    for (const auto& line : events)
        if (line.starts_with('1')) ++n;
    return n;
}

std::size_t MacroScript::releaseCount() const {
    std::size_t n = 0;
    for (const auto& line : events)
        if (line.starts_with('2')) ++n;
    return n;
}

std::size_t MacroScript::encodedSize() const {
    std::size_t n = 1;
    for (const auto& line : events)
        n += encodedSizeOf(line);
    return n;
}

bool MacroScript::fitsWith(std::size_t extraBytes) const {
    return encodedSize() + extraBytes <= kMacroBodySize;
}

std::optional<std::size_t> MacroScript::partnerOf(std::size_t entry) const {
    if (entry >= events.size()) return std::nullopt;
    auto self = parseEventLine(events[entry]);
    if (!self) return std::nullopt;
    auto key = releaseKeyOf(*self);
    if (!key) return std::nullopt;
    auto matches = [&](std::size_t i, LineKind kind) {
        auto other = parseEventLine(events[i]);
        return other && other->kind == kind && releaseKeyOf(*other) == key;
    };
    if (self->kind == LineKind::Press) {
        for (std::size_t i = entry + 1; i < events.size(); ++i)
            if (matches(i, LineKind::Release)) return i;
    } else {
        for (std::size_t i = entry; i-- > 0;)
            if (matches(i, LineKind::Press)) return i;
    }
    return std::nullopt;
}

} // namespace orlix
