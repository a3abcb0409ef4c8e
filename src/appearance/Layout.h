#pragma once

#include "appearance/Ini.h"
#include "model/Edition.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::appearance {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// The insert box's OK and Cancel. Their plates are wider than the 40-pixel ones the layout's
// InsertOK position was set out for, so that every language's caption fits with its margins;
// the pair grows to the left and still ends where that pair ended, 86 px right of InsertOK.
inline constexpr int kInsertButtonWidth = 54;
inline constexpr int kInsertButtonHeight = 25;
inline constexpr int kInsertButtonGap = 6;
inline constexpr int kInsertPairEnd = 86;
constexpr Point insertOkPosition(Point layoutOk) {
    return {layoutOk.x + kInsertPairEnd - 2 * kInsertButtonWidth - kInsertButtonGap, layoutOk.y};
}
constexpr Point insertCancelPosition(Point layoutOk) {
    return {insertOkPosition(layoutOk).x + kInsertButtonWidth + kInsertButtonGap, layoutOk.y};
}

// A colour of the layout and language resources, each channel 0..255.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    // The platform colour value: red + 256 * green + 65536 * blue.
    std::uint32_t value() const {
        return static_cast<std::uint32_t>(red) + 256u * static_cast<std::uint32_t>(green) +
               65536u * static_cast<std::uint32_t>(blue);
    }
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A value that was read but could not be used, or a key that should be there and is not.
struct LayoutIssue {
    std::string resource; // "ORG1"
    std::string section;  // "org1"
    std::string key;      // "Key4_X"; empty when the whole section or resource is missing
    std::string problem;  // "missing", "not a decimal integer: \"12a\"", ...
    std::string message() const;
};

// Reads typed values from one section and notes every key that is missing or unusable.
class LayoutReader {
public:
    LayoutReader(const IniSection& section, std::string resource, std::vector<LayoutIssue>& issues)
        : section_(section), resource_(std::move(resource)), issues_(issues) {}

    // Every number of a layout is a position, size or flag for an 800 x 600 window; anything
    // beyond this bound is refused, so the sums and steps built from these numbers never
    // leave int.
    static constexpr int kLargestValue = 100000;
    static constexpr int kLargestFontSize = 500;

    std::optional<int> integer(std::string_view key);  // within +-kLargestValue
    std::optional<int> fontSize(std::string_view key); // 1..kLargestFontSize
    std::optional<Point> point(std::string_view xKey, std::string_view yKey);
    std::optional<Point> point(std::string_view prefix); // prefix_X, prefix_Y
    std::optional<Rgb> colour(std::string_view prefix);  // prefix_R, _G, _B

    void report(std::string_view key, std::string problem);

private:
    const IniSection& section_;
    std::string resource_;
    std::vector<LayoutIssue>& issues_;
};

struct TextStyle {
    std::optional<int> size;
    std::optional<Rgb> colour;
};

// A control family with an _Enable key: 1 shows it and its position is read; any other value
// hides it and its position keys are not read (they may be missing).
struct Toggle {
    std::optional<int> enable; // nullopt: missing or not a number
    std::optional<Point> position;
    bool shown() const { return enable == 1; }
};

// The keys beginning with "Size_" and "Color_". A nullopt field was missing or unusable.
struct LayoutStyle {
    TextStyle windowButtons;           // Size_A, Color_A_*
    TextStyle pageButtons;             // Size_B, Color_B_*
    TextStyle statusText;              // Size_H, Color_H_*
    TextStyle keyLabels;               // Size_C, Color_C_*
    std::optional<int> valueSize;      // Size_D
    std::optional<Rgb> selected;       // Color_D_Selected_*
    std::optional<Rgb> notSelected;    // Color_D_notSelected_*
    std::optional<Rgb> fieldBack;      // Color_D_Back_*
    TextStyle lightingSteps;           // Size_E, Color_E_*
    std::optional<Rgb> colourEditBack; // Color_E_Back_* (percentage colour edits only)
    TextStyle macro;                   // Size_F, Color_F_*
    std::optional<Rgb> macroListText;  // Color_F_Font_*
    std::optional<Rgb> macroListBack;  // Color_F_Back_*
};

// The position and visibility keys.
struct LayoutPlacement {
    std::array<Toggle, 4> windowButtons{}; // Btn_A1..A4: Confirm, Apply, Reset, Exit
    std::array<Toggle, 11> pageButtons{};  // Btn_B1..B11, index 0 is B1
    std::optional<Point> errorText;
    std::array<std::optional<Point>, 4> pages{}; // P1..P4
    std::array<Toggle, 12> keys{};               // Key1..Key12
    std::array<std::optional<Point>, 7>
        bars{}; // Spd, DbSpd, ScrSpd, OffTime, RaiseTime, OnTime, FallTime
    std::optional<Point> dpi;
    std::array<std::optional<Point>, 2> reportRates{};   // Rep1, Rep2
    std::array<std::optional<Point>, 3> ledModes{};      // LEDMode1..3
    std::array<std::optional<Point>, 2> colourModes{};   // LEDColorMode1, 2
    std::array<std::optional<Point>, 2> swatches{};      // R1, R2
    std::array<std::optional<Point>, 4> fireKeyFields{}; // FKPara1..4
    std::array<std::optional<Point>, 4> fireModes{};     // FKMode1..4
    std::optional<Point> macroNames;                     // MacroName
    std::optional<int> macroNameHeight;                  // MacroNameHeight
    std::optional<Point> macroColumn;                    // New
    std::optional<Point> deleteColumn;                   // Del
    std::optional<Point> macroContent;
    std::optional<Point> delayGroup; // DelayTime
    std::optional<Point> delayEdit;
    std::optional<Point> recordDelay; // RecDelay
    std::optional<Point> insertBox;   // Insert
    std::optional<Point> insertList;
    std::optional<Point> insertRecordDelay; // InsertRecDelay
    std::optional<Point> insertDelayEdit;
    std::optional<Point> insertStart;
    std::optional<Point> insertOk; // InsertOK
};

struct WebSettings {
    std::optional<std::string> address; // "Web"
    std::optional<Point> position;      // Web_X, Web_Y
};

enum class BarKind { Spd, DbSpd, ScrSpd, OffTime, RaiseTime, OnTime, FallTime };

LayoutStyle readLayoutStyle(LayoutReader& reader, bool readColourEditBack);
LayoutPlacement readLayoutPlacement(LayoutReader& reader);
WebSettings readWebSettings(LayoutReader& reader, const IniSection& section);

// What the layout says about one named control of the main window. A field that is not set
// leaves the control as it is.
struct ControlLayout {
    std::optional<bool> visible;
    std::optional<Point> position; // relative to `parent` when that is set, else to the window
    std::string parent;            // the group control the position is relative to
    std::string sizeFrom;          // the control takes the size of this one (an image)
    std::optional<int> fontSize;
    std::optional<Rgb> textColour;
    std::optional<Rgb> backColour;
};

// The layout state of the main window, built up by applying layout sections one after the
// other. Whatever a section cannot supply (a missing or unusable value) keeps what the
// previous application gave; each such value is reported in issues().
class Layout {
public:
    explicit Layout(const EditionTraits& traits);

    // Section "[org]" of "ORG": the web address and the web button.
    void applyWeb(const IniSection& section, std::string_view resource);
    // Position and visibility keys.
    void applyPlacement(const IniSection& section, std::string_view resource);
    // The placement's parts: the window frame and button page, the Advanced page, the macro
    // page.
    void placeWindow(const LayoutPlacement& p);
    void placeAdvanced(const LayoutPlacement& p);
    void placeMacros(const LayoutPlacement& p);
    // Size and colour keys.
    void applyStyle(const IniSection& section, std::string_view resource);
    // A resource or section that should be there and is not.
    void reportMissing(std::string_view resource, std::string_view section);

    const ControlLayout* control(std::string_view name) const;
    const std::map<std::string, ControlLayout, std::less<>>& controls() const { return controls_; }

    // The values in force (the last usable value of each key).
    const LayoutStyle& style() const { return style_; }
    const std::optional<int>& macroNameItemHeight() const { return macroNameHeight_; }
    const std::string& webAddress() const { return webAddress_; }

    // The values as the last application read them, failures as nullopt.
    const LayoutPlacement& lastPlacement() const { return lastPlacement_; }
    const LayoutStyle& lastStyle() const { return lastStyle_; }

    const std::vector<LayoutIssue>& issues() const { return issues_; }
    std::vector<LayoutIssue> takeIssues();

    // Derived positions, exposed for the pages that draw these controls themselves.
    static Point barImage(Point origin, int n) { return {origin.x + 24 * (n - 1), origin.y}; }
    static Point barLabel(Point origin, int n) { return {origin.x + 24 * n - 28, origin.y + 8}; }
    static Point dpiImage(Point origin, int n) { return {origin.x + 29 * (n - 1), origin.y}; }
    static Point dpiLabel(Point origin, int n) {
        return {origin.x + 29 * (n - 1) - 6, origin.y - 28};
    }

private:
    ControlLayout& at(std::string_view name);
    void place(std::string_view name, Point p, std::string_view parent = {});
    void show(std::string_view name, bool visible);
    void applyToggle(const Toggle& t, std::initializer_list<std::string_view> names);
    void applyText(std::string_view name, const TextStyle& style);

    bool readsColourEditBack_;
    std::map<std::string, ControlLayout, std::less<>> controls_;
    LayoutStyle style_;
    LayoutStyle lastStyle_;
    LayoutPlacement lastPlacement_;
    std::optional<int> macroNameHeight_;
    std::string webAddress_;
    std::vector<LayoutIssue> issues_;
};

} // namespace orlix::appearance
