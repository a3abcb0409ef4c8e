#include "appearance/Layout.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <string>

namespace orlix::appearance {

namespace {

constexpr std::array<std::string_view, 4> kWindowButtons{"Confirm", "Apply", "Reset", "Exit"};
// B1 .. B11 in key order.
constexpr std::array<std::string_view, 11> kPageButtons{
    "Main", "Switch", "Fixed", "Adv", "Breath", "Save", "Load", "Lang1", "Lang2", "Lang3", "Macro"};
constexpr std::array<std::string_view, 4> kStatusLabels{"lbl_NoDev", "lbl_IDError", "lbl_TypeError",
                                                        "lbl_CheckDev"};
struct BarKeys {
    std::string_view key;
    std::string_view control;
};
constexpr std::array<BarKeys, 7> kBars{{{"Spd", "Spd"},
                                        {"DbSpd", "DbSpd"},
                                        {"ScrSpd", "ScrSpd"},
                                        {"OffTime", "Off"},
                                        {"RaiseTime", "Raise"},
                                        {"OnTime", "On"},
                                        {"FallTime", "Fall"}}};
constexpr std::array<std::string_view, 3> kLedModes{"Random", "Colorful", "Custom"};
constexpr std::array<std::string_view, 7> kMacroColumn{"New",    "Start",     "Clear", "ExportOne",
                                                       "Export", "ImportOne", "Import"};
constexpr std::array<std::string_view, 3> kDelayChoices{"RecDelay", "DelayTime", "NoDelay"};
constexpr std::array<std::string_view, 12> kMacroButtons{
    "Btn_New",    "Btn_Start", "Btn_Clear",  "Btn_ExportOne",   "Btn_Export", "Btn_ImportOne",
    "Btn_Import", "Btn_Del",   "Btn_Insert", "Btn_InsertStart", "Btn_OK",     "Btn_Cancel"};
constexpr std::array<std::string_view, 6> kColourEdits{"Edt_Mode1R", "Edt_Mode1G", "Edt_Mode1B",
                                                       "Edt_Mode2R", "Edt_Mode2G", "Edt_Mode2B"};
constexpr std::string_view kDelayGroup = "Gb_Delay";
constexpr std::string_view kInsertGroup = "Gb_Insert";

std::string cat(std::string_view a, std::string_view b) {
    std::string s(a);
    s += b;
    return s;
}
std::string cat(std::string_view a, int n) {
    return std::string(a) + std::to_string(n);
}
std::string cat(std::string_view a, int n, std::string_view b) {
    return std::string(a) + std::to_string(n) + std::string(b);
}

template <typename T> void keep(std::optional<T>& current, const std::optional<T>& fresh) {
    if (fresh) current = fresh;
}
void keep(TextStyle& current, const TextStyle& fresh) {
    keep(current.size, fresh.size);
    keep(current.colour, fresh.colour);
}

} // namespace

std::string LayoutIssue::message() const {
    std::string m = resource;
    if (!section.empty()) m += " [" + section + "]";
    if (!key.empty()) m += " " + key;
    return m + ": " + problem;
}

void LayoutReader::report(std::string_view key, std::string problem) {
    issues_.push_back(
        LayoutIssue{resource_, section_.name(), std::string(key), std::move(problem)});
}

std::optional<int> LayoutReader::integer(std::string_view key) {
    std::optional<std::string_view> raw = section_.value(key);
    if (!raw) {
        report(key, "missing");
        return std::nullopt;
    }
    std::string_view text = *raw;
    if (text.starts_with('+')) text.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec == std::errc::invalid_argument || end != text.data() + text.size() ||
        (text.front() == '-' && text.size() == 1)) {
        report(key, "not a decimal integer: \"" + std::string(*raw) + "\"");
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range || value < -kLargestValue || value > kLargestValue) {
        report(key, "out of range: \"" + std::string(*raw) + "\"");
        return std::nullopt;
    }
    return value;
}

std::optional<int> LayoutReader::fontSize(std::string_view key) {
    std::optional<int> size = integer(key);
    if (size && (*size < 1 || *size > kLargestFontSize)) {
        report(key, "not a usable text size: " + std::to_string(*size));
        return std::nullopt;
    }
    return size;
}

std::optional<Point> LayoutReader::point(std::string_view xKey, std::string_view yKey) {
    std::optional<int> x = integer(xKey);
    std::optional<int> y = integer(yKey);
    if (!x || !y) return std::nullopt;
    return Point{*x, *y};
}

std::optional<Point> LayoutReader::point(std::string_view prefix) {
    return point(cat(prefix, "_X"), cat(prefix, "_Y"));
}

std::optional<Rgb> LayoutReader::colour(std::string_view prefix) {
    std::array<std::optional<int>, 3> channels;
    constexpr std::array<std::string_view, 3> kSuffix{"_R", "_G", "_B"};
    bool ok = true;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string key = cat(prefix, kSuffix[i]);
        channels[i] = integer(key);
        if (channels[i] && (*channels[i] < 0 || *channels[i] > 255)) {
            report(key, "outside 0..255: " + std::to_string(*channels[i]));
            channels[i].reset();
        }
        ok = ok && channels[i].has_value();
    }
    if (!ok) return std::nullopt;
    return Rgb{*channels[0], *channels[1], *channels[2]};
}

namespace {
TextStyle readTextStyle(LayoutReader& r, std::string_view letter) {
    return TextStyle{r.fontSize(cat("Size_", letter)), r.colour(cat("Color_", letter))};
}

Toggle readToggle(LayoutReader& r, const std::string& enableKey, const std::string& prefix) {
    Toggle t;
    t.enable = r.integer(enableKey);
    if (t.shown()) t.position = r.point(prefix);
    return t;
}
} // namespace

LayoutStyle readLayoutStyle(LayoutReader& r, bool readColourEditBack) {
    LayoutStyle s;
    s.windowButtons = readTextStyle(r, "A");
    s.pageButtons = readTextStyle(r, "B");
    s.statusText = readTextStyle(r, "H");
    s.keyLabels = readTextStyle(r, "C");
    s.valueSize = r.fontSize("Size_D");
    s.selected = r.colour("Color_D_Selected");
    s.notSelected = r.colour("Color_D_notSelected");
    s.fieldBack = r.colour("Color_D_Back");
    s.lightingSteps = readTextStyle(r, "E");
    if (readColourEditBack) s.colourEditBack = r.colour("Color_E_Back");
    s.macro = readTextStyle(r, "F");
    s.macroListText = r.colour("Color_F_Font");
    s.macroListBack = r.colour("Color_F_Back");
    return s;
}

LayoutPlacement readLayoutPlacement(LayoutReader& r) {
    LayoutPlacement p;
    for (int i = 1; i <= 4; ++i) {
        p.windowButtons[i - 1] = readToggle(r, cat("Btn_A", i, "_Enable"), cat("Btn_A", i));
    }
    for (int i = 1; i <= 11; ++i) {
        p.pageButtons[i - 1] = readToggle(r, cat("Btn_B", i, "_Enable"), cat("Btn_B", i));
    }
    p.errorText = r.point("Error_text");
    for (int i = 1; i <= 4; ++i)
        p.pages[i - 1] = r.point(cat("P", i));
    for (int i = 1; i <= 12; ++i)
        p.keys[i - 1] = readToggle(r, cat("Key", i, "_Enable"), cat("Key", i));
    for (std::size_t i = 0; i < kBars.size(); ++i)
        p.bars[i] = r.point(kBars[i].key);
    p.dpi = r.point("DPI");
    for (int i = 1; i <= 2; ++i)
        p.reportRates[i - 1] = r.point(cat("Rep", i));
    for (int i = 1; i <= 3; ++i)
        p.ledModes[i - 1] = r.point(cat("LEDMode", i));
    for (int i = 1; i <= 2; ++i)
        p.colourModes[i - 1] = r.point(cat("LEDColorMode", i));
    for (int i = 1; i <= 2; ++i)
        p.swatches[i - 1] = r.point(cat("R", i));
    for (int i = 1; i <= 4; ++i)
        p.fireKeyFields[i - 1] = r.point(cat("FKPara", i));
    for (int i = 1; i <= 4; ++i)
        p.fireModes[i - 1] = r.point(cat("FKMode", i));
    p.macroNames = r.point("MacroName");
    p.macroNameHeight = r.integer("MacroNameHeight");
    if (p.macroNameHeight && *p.macroNameHeight < 1) {
        r.report("MacroNameHeight",
                 "not a usable item height: " + std::to_string(*p.macroNameHeight));
        p.macroNameHeight.reset();
    }
    p.macroColumn = r.point("New");
    p.deleteColumn = r.point("Del");
    p.macroContent = r.point("MacroContent");
    p.delayGroup = r.point("DelayTime");
    p.delayEdit = r.point("DelayEdit");
    p.recordDelay = r.point("RecDelay");
    p.insertBox = r.point("Insert");
    p.insertList = r.point("InsertList");
    p.insertRecordDelay = r.point("InsertRecDelay");
    p.insertDelayEdit = r.point("InsertDelayEdit");
    p.insertStart = r.point("InsertStart");
    p.insertOk = r.point("InsertOK");
    return p;
}

WebSettings readWebSettings(LayoutReader& r, const IniSection& section) {
    WebSettings w;
    if (auto address = section.value("Web")) {
        w.address = std::string(*address);
    } else {
        r.report("Web", "missing");
    }
    w.position = r.point("Web");
    return w;
}

Layout::Layout(const EditionTraits& traits)
    : readsColourEditBack_(traits.colourEntry == ColourEntry::PercentEdits) {}

ControlLayout& Layout::at(std::string_view name) {
    auto it = controls_.find(name);
    if (it == controls_.end()) it = controls_.emplace(std::string(name), ControlLayout{}).first;
    return it->second;
}

void Layout::place(std::string_view name, Point p, std::string_view parent) {
    ControlLayout& c = at(name);
    c.position = p;
    c.parent = std::string(parent);
}

void Layout::show(std::string_view name, bool visible) {
    at(name).visible = visible;
}

void Layout::applyToggle(const Toggle& t, std::initializer_list<std::string_view> names) {
    if (!t.enable) return; // unreadable: the controls stay as they are
    for (std::string_view name : names) {
        show(name, t.shown());
        if (t.shown() && t.position) place(name, *t.position);
    }
}

void Layout::applyText(std::string_view name, const TextStyle& style) {
    ControlLayout& c = at(name);
    keep(c.fontSize, style.size);
    keep(c.textColour, style.colour);
}

void Layout::reportMissing(std::string_view resource, std::string_view section) {
    issues_.push_back(LayoutIssue{std::string(resource),
                                  std::string(section),
                                  {},
                                  section.empty() ? "resource missing" : "section missing"});
}

std::vector<LayoutIssue> Layout::takeIssues() {
    std::vector<LayoutIssue> taken;
    taken.swap(issues_);
    return taken;
}

const ControlLayout* Layout::control(std::string_view name) const {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : &it->second;
}

void Layout::applyWeb(const IniSection& section, std::string_view resource) {
    LayoutReader reader(section, std::string(resource), issues_);
    WebSettings web = readWebSettings(reader, section);
    if (web.address) webAddress_ = *web.address;
    if (web.position) {
        place("Img_Web", *web.position);
        place("Btn_Web", *web.position);
        at("Btn_Web").sizeFrom = "Img_Web";
    }
}

void Layout::applyPlacement(const IniSection& section, std::string_view resource) {
    LayoutReader reader(section, std::string(resource), issues_);
    const LayoutPlacement p = readLayoutPlacement(reader);
    lastPlacement_ = p;

    placeWindow(p);
    placeAdvanced(p);
    placeMacros(p);
}

void Layout::placeWindow(const LayoutPlacement& p) {
    for (std::size_t i = 0; i < kWindowButtons.size(); ++i) {
        applyToggle(p.windowButtons[i],
                    {cat("Btn_", kWindowButtons[i]), cat("Img_", kWindowButtons[i])});
    }
    for (std::size_t i = 0; i < kPageButtons.size(); ++i) {
        applyToggle(p.pageButtons[i], {cat("Btn_", kPageButtons[i]), cat("Img_", kPageButtons[i])});
    }
    if (p.errorText) {
        const Point e = *p.errorText;
        for (std::string_view name : {"lbl_NoDev", "lbl_IDError", "lbl_TypeError"})
            place(name, e);
        place("lbl_CheckDev", {e.x, e.y + 50});
    }
    for (int i = 1; i <= 4; ++i) {
        if (p.pages[i - 1]) place(cat("Img_P", i), *p.pages[i - 1]);
    }
    if (p.pages[1]) {
        place("Disable", *p.pages[1]);
        at("Disable").sizeFrom = "Img_P2";
    }
    for (int i = 1; i <= 12; ++i) {
        applyToggle(p.keys[i - 1], {cat("Key", i), cat("Img_Key", i)});
    }
}

void Layout::placeAdvanced(const LayoutPlacement& p) {
    for (std::size_t b = 0; b < kBars.size(); ++b) {
        if (!p.bars[b]) continue;
        for (int n = 1; n <= 10; ++n) {
            place(cat(cat("Img_", kBars[b].control), n), barImage(*p.bars[b], n));
            place(cat(cat("lbl_", kBars[b].control), n), barLabel(*p.bars[b], n));
        }
    }
    if (p.dpi) {
        for (int n = 1; n <= 8; ++n) {
            place(cat("Img_DPI", n), dpiImage(*p.dpi, n));
            place(cat("lbl_DPI", n), dpiLabel(*p.dpi, n));
        }
    }
    auto option = [this](const std::optional<Point>& pos, const std::string& suffix, int dy) {
        if (!pos) return;
        place("Img_" + suffix, *pos);
        place("lbl_" + suffix, {pos->x - 4, pos->y - dy});
    };
    for (int i = 1; i <= 2; ++i)
        option(p.reportRates[i - 1], cat("Rep", i), 2);
    for (std::size_t i = 0; i < kLedModes.size(); ++i)
        option(p.ledModes[i], std::string(kLedModes[i]), 2);
    for (int i = 1; i <= 2; ++i)
        option(p.colourModes[i - 1], cat("LEDColMode", i), 4);
    for (int i = 1; i <= 2; ++i) {
        if (!p.swatches[i - 1]) continue;
        const std::string image = cat("Img_Mode", i, "Color");
        place(image, *p.swatches[i - 1]);
        for (const std::string& name : {cat("cs_Mode", i), cat("lbl_csmode", i)}) {
            place(name, *p.swatches[i - 1]);
            at(name).sizeFrom = image;
        }
    }
    for (int i = 1; i <= 4; ++i) {
        if (const auto& f = p.fireKeyFields[i - 1]) {
            place(cat("Edt_Repeat", i), *f);
            place(cat("Edt_DelayTime", i), {f->x, f->y + 22});
        }
        if (p.fireModes[i - 1]) place(cat("lbl_FKMode", i), *p.fireModes[i - 1]);
    }
}

void Layout::placeMacros(const LayoutPlacement& p) {
    if (p.macroNames) place("LB_MacroName", *p.macroNames);
    keep(macroNameHeight_, p.macroNameHeight);
    if (p.macroColumn) {
        for (std::size_t k = 0; k < kMacroColumn.size(); ++k) {
            const Point pos{p.macroColumn->x, p.macroColumn->y + 26 * static_cast<int>(k)};
            place(cat("Btn_", kMacroColumn[k]), pos);
            place(cat("Img_", kMacroColumn[k]), pos);
        }
    }
    if (p.deleteColumn) {
        const Point d = *p.deleteColumn;
        place("Btn_Del", d);
        place("Img_Del", d);
        place("Btn_Insert", {d.x, d.y + 26});
        place("Img_Insert", {d.x, d.y + 26});
    }
    if (p.macroContent) place("LB_macro", *p.macroContent);
    if (p.delayGroup) place(kDelayGroup, *p.delayGroup);
    if (const auto& e = p.delayEdit) {
        place("Edt_Delay", *e, kDelayGroup);
        place("lbl_DelayUnit", {e->x + 44, e->y + 2}, kDelayGroup);
    }
    auto delayRows = [this](const std::optional<Point>& pos, std::string_view infix,
                            std::string_view group) {
        if (!pos) return;
        for (std::size_t row = 0; row < kDelayChoices.size(); ++row) {
            const int y = pos->y + 23 * static_cast<int>(row);
            place(cat(cat("LED_", infix), kDelayChoices[row]), {pos->x, y}, group);
            place(cat(cat("IB_", infix), kDelayChoices[row]), {pos->x - 2, y}, group);
        }
    };
    delayRows(p.recordDelay, "", kDelayGroup);
    if (p.insertBox) {
        place(kInsertGroup, *p.insertBox);
        place("Img_InsertBase", *p.insertBox);
    }
    if (p.insertList) place("CB_Insert", *p.insertList, kInsertGroup);
    delayRows(p.insertRecordDelay, "Insert", kInsertGroup);
    if (const auto& e = p.insertDelayEdit) {
        place("Edt_InsertDelay", *e, kInsertGroup);
        place("lbl_Delay", {e->x - 74, e->y + 2}, kInsertGroup);
        place("lbl_s_A", {e->x + 44, e->y + 2}, kInsertGroup);
    }
    if (p.insertStart) {
        place("Btn_InsertStart", *p.insertStart, kInsertGroup);
        place("Img_InsertStart", *p.insertStart, kInsertGroup);
    }
    if (const auto& ok = p.insertOk) {
        place("Btn_OK", insertOkPosition(*ok), kInsertGroup);
        place("Img_OK", insertOkPosition(*ok), kInsertGroup);
        place("Btn_Cancel", insertCancelPosition(*ok), kInsertGroup);
        place("Img_Cancel", insertCancelPosition(*ok), kInsertGroup);
    }
}

void Layout::applyStyle(const IniSection& section, std::string_view resource) {
    LayoutReader reader(section, std::string(resource), issues_);
    const LayoutStyle s = readLayoutStyle(reader, readsColourEditBack_);
    lastStyle_ = s;

    keep(style_.windowButtons, s.windowButtons);
    keep(style_.pageButtons, s.pageButtons);
    keep(style_.statusText, s.statusText);
    keep(style_.keyLabels, s.keyLabels);
    keep(style_.valueSize, s.valueSize);
    keep(style_.selected, s.selected);
    keep(style_.notSelected, s.notSelected);
    keep(style_.fieldBack, s.fieldBack);
    keep(style_.lightingSteps, s.lightingSteps);
    keep(style_.colourEditBack, s.colourEditBack);
    keep(style_.macro, s.macro);
    keep(style_.macroListText, s.macroListText);
    keep(style_.macroListBack, s.macroListBack);

    for (std::string_view b : kWindowButtons)
        applyText(cat("Btn_", b), s.windowButtons);
    for (std::string_view b : kPageButtons)
        applyText(cat("Btn_", b), s.pageButtons);
    for (std::string_view l : kStatusLabels)
        applyText(l, s.statusText);
    for (int i = 1; i <= 12; ++i)
        applyText(cat("Key", i), s.keyLabels);

    // Pointer-bar step numbers take the not-selected colour; the resolution and fire-mode
    // labels get only the size, since their colour is their on/off state.
    for (std::string_view bar : {"Spd", "DbSpd", "ScrSpd"}) {
        for (int n = 1; n <= 10; ++n)
            applyText(cat(cat("lbl_", bar), n), {s.valueSize, s.notSelected});
    }
    for (int n = 1; n <= 8; ++n)
        applyText(cat("lbl_DPI", n), {s.valueSize, std::nullopt});
    for (int n = 1; n <= 4; ++n) {
        applyText(cat("lbl_FKMode", n), {s.valueSize, std::nullopt});
        for (const std::string& edit : {cat("Edt_Repeat", n), cat("Edt_DelayTime", n)}) {
            applyText(edit, {std::nullopt, s.notSelected});
            keep(at(edit).backColour, s.fieldBack);
        }
    }
    for (std::string_view bar : {"Off", "Raise", "On", "Fall"}) {
        for (int n = 1; n <= 10; ++n)
            applyText(cat(cat("lbl_", bar), n), s.lightingSteps);
    }
    if (readsColourEditBack_) {
        for (std::string_view edit : kColourEdits)
            keep(at(edit).backColour, s.colourEditBack);
    }
    for (std::string_view b : kMacroButtons)
        applyText(b, s.macro);
    for (std::string_view choice : kDelayChoices) {
        applyText(cat("IB_", choice), s.macro);
        applyText(cat("IB_Insert", choice), s.macro);
    }
    applyText("lbl_Delay", s.macro);
    applyText("lbl_s_A", s.macro);
    applyText("lbl_DelayUnit", s.macro);
    if (s.macro.size) at("CB_Insert").fontSize = std::max(1, *s.macro.size - 1);
    for (std::string_view list : {"LB_MacroName", "LB_macro", "Edt_Delay", "Edt_InsertDelay"}) {
        applyText(list, {s.macro.size, s.macroListText});
        keep(at(list).backColour, s.macroListBack);
    }
}

} // namespace orlix::appearance
