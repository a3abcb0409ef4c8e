#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix {

// How the time between recorded events becomes delay entries.
enum class DelayMode : std::uint8_t {
    RecordDelay,  // the measured time, header "10"
    DefaultDelay, // a fixed delay before every event but the first, header "01" + ms
    NoDelay,      // no delays, header "00"
};

// The default delay field's bounds and initial value, in milliseconds.
constexpr int kDefaultDelayMin = 1;
constexpr int kDefaultDelayMax = 65530;
constexpr int kDefaultDelayInitial = 50;
// The longest delay one delay code can hold (a zero delay is kept as it is).
constexpr unsigned kDelayCodeMax = 65535;

// Event codes inside a macro body.
namespace macrocode {
constexpr std::uint8_t kEnd = 0x00;
constexpr std::uint8_t kModifierPress = 0x81;
constexpr std::uint8_t kModifierRelease = 0x01;
constexpr std::uint8_t kKeyPress = 0x82;
constexpr std::uint8_t kKeyRelease = 0x02;
constexpr std::uint8_t kDelay = 0xFE;
constexpr std::uint8_t kButtonRelease = 0x20; // + the button bit; | 0x80 for the press
constexpr std::uint8_t kPressBit = 0x80;
} // namespace macrocode

// Modifier bits of the modifier codes.
namespace modifier {
constexpr std::uint8_t kCtrl = 0x01;
constexpr std::uint8_t kShift = 0x02;
constexpr std::uint8_t kAlt = 0x04;
constexpr std::uint8_t kLeftWin = 0x08;
constexpr std::uint8_t kRightWin = 0x80;
} // namespace modifier
// True for the five modifier bits a macro can carry.
bool isModifierBit(std::uint8_t bit);
// The virtual-key name a modifier shows ("Ctrl", "Shift", "Alt", "Left Windows", "Right
// Windows"); empty for any other bit.
std::string_view modifierName(std::uint8_t bit);

// Mouse buttons a macro can press; the value is the button's bit in its code.
enum class MouseButton : std::uint8_t {
    Left = 0x01,
    Right = 0x02,
    Middle = 0x04,
    Forward = 0x08,
    Backward = 0x10,
};
std::uint8_t buttonCode(MouseButton button, bool pressed);

// The kind of one script line, told by its first character.
enum class LineKind : std::uint8_t { Delay, Press, Release };

// One event line, taken apart.
struct ScriptEvent {
    LineKind kind = LineKind::Delay;
    unsigned delayMs = 0;           // Delay: the value as written (the encoder clamps it)
    std::vector<std::uint8_t> code; // Press/Release: the body bytes (1 or 2)
    std::string name;               // Press/Release: the event name
};

// Line builders. A delay line is "0 " + ms; a press or release line is "1 " or "2 " + name +
// " CODE:" + four upper-case hex digits spelling the event's code bytes.
std::string delayLine(unsigned ms);
std::string keyLine(bool pressed, std::uint8_t usage, std::string_view name);
std::string modifierLine(bool pressed, std::uint8_t bit);
// The ten fixed mouse-button lines ("1 LeftKey CODE:00A1" ...).
std::string mouseButtonLine(MouseButton button, bool pressed);
// Header for a delay mode: "10", "01" + default delay, "00".
std::string delayHeader(DelayMode mode, int defaultDelayMs);
// True for a line of that form: "10", "00", or "01" and at least one decimal digit.
bool isHeaderLine(std::string_view line);

// Parses a line strictly: a delay needs decimal digits after "0 "; a press or release needs
// " CODE:" and four hex digits that spell a code of its own kind (a press code for "1", a
// release code for "2"; mouse codes only of the five buttons). Modifier and key codes take
// any second byte, so that every event a body holds survives an edit.
std::optional<ScriptEvent> parseEventLine(std::string_view line);
// The text between a press or release line's first two and last ten characters.
std::string_view eventName(std::string_view line);
// What the event list shows for a line: the name of a press or release, "<ms> ms" for a delay.
std::string displayText(std::string_view line);
// Body bytes a line takes: 3 for a delay, 2 for a key or modifier, 1 for a mouse button,
// 0 for a line that is not an event line.
std::size_t encodedSizeOf(std::string_view line);

// The text form of one macro while it is recorded or edited: the delay-mode header (line 0,
// never stored) and the event lines in playback order. Event entry k is script line k + 1.
class MacroScript {
public:
    std::string header;              // empty while the script has no lines at all
    std::vector<std::string> events; // one line per event

    bool empty() const { return header.empty() && events.empty(); }
    void clear();
    // Header first, then the events; nothing for an empty script.
    std::vector<std::string> lines() const;

    // Press and release lines (keys and mouse buttons alike).
    std::size_t pressCount() const;
    std::size_t releaseCount() const;

    // Bytes the encoded body takes, end code included (an empty script takes 1).
    std::size_t encodedSize() const;
    // True when the body, with this many bytes more, still fits the 1024 bytes of a body.
    // An insert that does not fit is refused with the message kInsertFullMessageId.
    bool fitsWith(std::size_t extraBytes) const;
    static constexpr const char* kInsertFullMessageId = "Str028";

    // The entry that a press or release at `entry` pairs with: for a press the nearest
    // following release of the same code, for a release the nearest preceding press of the
    // same code. Nothing for a delay or an unpaired event.
    std::optional<std::size_t> partnerOf(std::size_t entry) const;
};

} // namespace orlix
