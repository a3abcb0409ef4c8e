// `orlixctl set cpi|rate|fire-key|fire-mode|button|lighting ...`: the Advanced page's, the
// button pages' and the Breathing-light page's settings from the command line, several in one
// run, through the same rules as the window.
#include "Commands.h"
#include "ConfigurationEdit.h"
#include "Context.h"
#include "Settings.h"

#include "model/AssignmentCodes.h"
#include "model/KeyTables.h"
#include "rules/AssignmentEditor.h"
#include "rules/FireKeyRules.h"
#include "rules/KeyCombination.h"
#include "rules/MenuCatalog.h"
#include "rules/ResolutionRules.h"

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace orlixctl {

using namespace orlix;
using orlix::pages::FireKeyRules;
using orlix::pages::ResolutionRules;

namespace {

std::vector<std::string> split(std::string_view text, char by) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto end = text.find(by, start);
        parts.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return parts;
}

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    });
    return out;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// A whole number within [low, high], or nullopt.
std::optional<int> inRange(std::string_view text, int low, int high) {
    const auto n = number(text);
    if (!n || *n < static_cast<std::uint64_t>(low) || *n > static_cast<std::uint64_t>(high))
        return std::nullopt;
    return static_cast<int>(*n);
}

int refuse(std::ostream& err, const std::string& message) {
    err << "orlixctl: " << message << "\n";
    return kUsage;
}

} // namespace

// ---- resolution and report rate -------------------------------------------------------------

namespace {

std::string valueList(const ResolutionPage& page) {
    std::string list;
    for (const auto& caption : page.captions)
        list += (list.empty() ? "" : ", ") + caption;
    return list;
}

} // namespace

int prepareCpi(Context& ctx, const SettingArgs& args, std::ostream& err, PreparedSetting& p) {
    const auto& captions = ctx.config().page.resolution;
    ResolutionPage probe = captions;
    const ResolutionRules names(probe);
    const std::string allowed = "choose 2 to 4 of " + valueList(captions) + " (" +
                                std::string(traitsOf(ctx.options().edition).programName) +
                                "), separated by commas, e.g. " + captions.captions[0] + "," +
                                captions.captions[2] + "," + captions.captions[4];
    std::vector<int> labels;
    for (const auto& value : split(args.operands[0], ',')) {
        const auto label = names.labelOf(trimmed(value));
        if (!label) return refuse(err, "\"" + value + "\" is not a resolution value; " + allowed);
        labels.push_back(*label);
    }
    std::optional<int> current;
    if (const auto c = args.value("--current")) {
        current = names.labelOf(trimmed(*c));
        if (!current || std::find(labels.begin(), labels.end(), *current) == labels.end())
            return refuse(err, "--current takes one of the values given (" + args.operands[0] +
                                   "), not \"" + *c + "\"");
    }
    using R = ResolutionRules::LevelsResult;
    switch (ResolutionRules(probe).setLevels(labels, current)) {
    case R::Ok:
        break;
    case R::Duplicate:
        return refuse(err, "a resolution value is given twice; " + allowed);
    default:
        return refuse(err, std::to_string(labels.size()) + " resolution values given; " + allowed);
    }
    p.what = "resolution levels";
    p.change = [labels, current](Context& c, std::ostream&) -> int {
        ResolutionRules(c.config().page.resolution).setLevels(labels, current);
        return kOk;
    };
    return kOk;
}

int prepareRate(Context&, const SettingArgs& args, std::ostream& err, PreparedSetting& p) {
    const std::string& value = args.operands[0];
    const int option = value == "1000" ? 1 : value == "500" ? 2 : 0;
    if (option == 0)
        return refuse(err,
                      "set rate takes 500 or 1000 (reports per second), not \"" + value + "\"");
    p.what = "report rate";
    p.change = [option](Context& c, std::ostream&) -> int {
        ResolutionRules(c.config().page.resolution).chooseRate(option);
        return kOk;
    };
    return kOk;
}

// ---- fire keys ------------------------------------------------------------------------------

int prepareFireKey(Context&, const SettingArgs& args, std::ostream& err, PreparedSetting& p) {
    const auto key = inRange(args.operands[0], 1, FireKeyRules::kFireKeys);
    if (!key)
        return refuse(err,
                      "set fire-key takes a fire key 1 to 4, not \"" + args.operands[0] + "\"");
    const auto repeatText = args.value("--repeat");
    const auto delayText = args.value("--delay");
    if (!repeatText && !delayText)
        return refuse(err, "set fire-key needs --repeat R (2 to 15) or --delay MS (2 to 2000)");
    std::optional<int> repeat, delay;
    if (repeatText) {
        repeat = inRange(*repeatText, fire::kRepeatMin, fire::kRepeatMax);
        if (!repeat) return refuse(err, "--repeat takes 2 to 15, not \"" + *repeatText + "\"");
    }
    if (delayText) {
        delay = inRange(*delayText, fire::kDelayMin, fire::kDelayMax);
        if (!delay)
            return refuse(err,
                          "--delay takes 2 to 2000 (milliseconds), not \"" + *delayText + "\"");
    }
    const int n = *key - 1;
    p.what = "fire key " + std::to_string(*key);
    p.key = p.what;
    p.change = [n, repeat, delay](Context& c, std::ostream&) -> int {
        FireKeyRules rules(c.config().page.fire);
        // What is not given stays as the page shows it, corrected as a store would.
        rules.setFireKey(n, repeat.value_or(correctedRepeat(rules.repeat(n))),
                         delay.value_or(correctedDelay(rules.delay(n))));
        return kOk;
    };
    return kOk;
}

int prepareFireMode(Context&, const SettingArgs& args, std::ostream& err, PreparedSetting& p) {
    const std::string& list = args.operands[0];
    const std::string allowed = "set fire-mode takes 1 to 3 different fire keys of 1 to 4, "
                                "separated by commas, e.g. 1,3";
    std::vector<int> keys;
    for (const auto& part : split(list, ',')) {
        const auto key = inRange(trimmed(part), 1, FireKeyRules::kFireKeys);
        if (!key) return refuse(err, "\"" + part + "\" is not a fire key; " + allowed);
        keys.push_back(*key - 1);
    }
    FireKeyPage probe;
    if (!FireKeyRules(probe).setGroup(keys)) return refuse(err, allowed);
    p.what = "fire-mode group";
    p.change = [keys](Context& c, std::ostream& e) -> int {
        // The group lives in the Fire Mode buttons' codes; without one it has no place.
        bool any = false;
        for (const auto& profile : c.config().assignments)
            for (const auto& code : profile)
                any = any || (code.size() == 8 && code.rfind("0F", 0) == 0);
        if (!any)
            return refuse(e, "no button has the Fire Mode function, which carries the group; "
                             "assign it first, e.g. orlixctl set button main 5 \"" +
                                 c.texts().text("Str240") + "\"");
        FireKeyRules(c.config().page.fire).setGroup(keys);
        return kOk;
    };
    return kOk;
}

namespace {

// ---- buttons --------------------------------------------------------------------------------

struct MenuChoice {
    int tag;
    bool swap; // keys 1 to 3: the primary functions trade places
};
using ButtonChoice = std::variant<MenuChoice, std::string>; // a menu entry or a code

// The leaves the window's menus offer a button, in the order the menus show them.
std::vector<const pages::MenuEntry*> offeredLeaves(int key, Edition edition,
                                                   std::uint8_t dataType) {
    using pages::MenuPanel;
    std::vector<const pages::MenuEntry*> leaves;
    if (key <= 3) {
        for (const auto& e : pages::menuEntries(MenuPanel::LRM, edition))
            leaves.push_back(&e);
        return leaves;
    }
    for (MenuPanel panel : {MenuPanel::MouseKeys, MenuPanel::Special, MenuPanel::Acpi,
                            MenuPanel::Fire, MenuPanel::Media, MenuPanel::Www}) {
        const auto entries = pages::menuEntries(panel, edition);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].action != pages::EntryAction::Leaf) continue;
            if (panel == MenuPanel::Special &&
                !pages::entryFits(static_cast<int>(i), pages::specialPanelHeight(dataType)))
                continue; // below the panel's edge for this mouse
            leaves.push_back(&entries[i]);
        }
    }
    return leaves;
}

// "Ctrl+Shift+F1": modifiers by name, then one or two keys by the names the key table shows,
// entered as the key-combination dialog takes them.
std::optional<std::string> keyCombinationCode(std::string_view text) {
    pages::KeyCombination combination;
    int keys = 0;
    for (const auto& part : split(text, '+')) {
        const std::string name = lower(trimmed(part));
        if (name.empty()) return std::nullopt;
        bool modifier = false;
        for (int m = 0; m < 4; ++m) {
            if (name == lower(pages::KeyCombination::kModifierNames[static_cast<std::size_t>(m)]) ||
                (m == pages::KeyCombination::Ctrl && name == "control")) {
                combination.setModifier(static_cast<pages::KeyCombination::Modifier>(m), true);
                modifier = true;
            }
        }
        if (modifier) continue;
        std::optional<unsigned> vk;
        for (unsigned v = 1; v < 256 && !vk; ++v) {
            const TKeyboardHookKey key = VirtualKeyToKey(v);
            if (key != kh_None && lower(KeyDisplayName(key)) == name) vk = v;
        }
        if (!vk || keys == 2 || !combination.keyDown(*vk, {})) return std::nullopt;
        ++keys;
    }
    if (keys == 0) return std::nullopt;
    return combination.code();
}

std::optional<ButtonChoice> resolveFunction(Context& ctx, int key, std::string_view text) {
    const std::string wanted = lower(trimmed(text));
    for (const auto* entry : offeredLeaves(key, ctx.options().edition, ctx.config().readLayout)) {
        if (lower(trimmed(ctx.texts().text(entry->textId))) == wanted)
            return MenuChoice{entry->tag, key <= 3};
    }
    if (key <= 3) return std::nullopt;
    if (isCodeText(text)) return std::string(text);
    if (auto code = keyCombinationCode(text)) return *code;
    return std::nullopt;
}

std::string offeredNames(Context& ctx, int key) {
    std::string list;
    for (const auto* entry : offeredLeaves(key, ctx.options().edition, ctx.config().readLayout))
        list += (list.empty() ? "\"" : ", \"") + trimmed(ctx.texts().text(entry->textId)) + "\"";
    return list;
}

} // namespace

int prepareButton(Context& ctx, const SettingArgs& args, std::ostream& err, PreparedSetting& p) {
    // The words as `set button PROFILE KEY FUNCTION` numbers them.
    std::vector<std::string> ops{args.name};
    ops.insert(ops.end(), args.operands.begin(), args.operands.end());
    const int profile = ops[1] == "main" ? 0 : ops[1] == "alternate" ? 1 : -1;
    if (profile < 0)
        return refuse(
            err,
            "set button takes the profile main or alternate, not \"" + ops[1] + "\"" +
                (ops[1] == "reset-control" ? " (the reset-control profile is read-only)" : ""));
    const auto key = inRange(ops[2], 1, kButtonCount);
    if (!key) return refuse(err, "set button takes a button 1 to 12, not \"" + ops[2] + "\"");
    const auto choice = resolveFunction(ctx, *key, ops[3]);
    if (!choice) {
        if (*key <= 3)
            return refuse(err, "buttons 1 to 3 take " + offeredNames(ctx, *key) +
                                   " (they trade functions among themselves), not \"" + ops[3] +
                                   "\"");
        return refuse(err, "\"" + ops[3] + "\" is no function of the menus (" +
                               offeredNames(ctx, *key) +
                               "), no key combination such as Ctrl+C and no eight-digit code");
    }
    p.what = "button " + std::to_string(*key) + " of the " + ops[1] + " profile";
    p.key = p.what;
    p.change = [profile, key, choice, function = ops[3]](Context& c, std::ostream& e) -> int {
        pages::AssignmentEditor editor(c.config(), c.texts());
        bool stored = false;
        if (const auto* menu = std::get_if<MenuChoice>(&*choice))
            stored = menu->swap ? editor.swapPrimary(profile, *key - 1, menu->tag)
                                : editor.chooseLeaf(profile, *key - 1, menu->tag);
        else
            stored = editor.storeCode(profile, *key - 1, std::get<std::string>(*choice));
        if (!stored) return refuse(e, "\"" + function + "\" has no code in this edition");
        return kOk;
    };
    return kOk;
}

// ---- several settings in one run ------------------------------------------------------------

namespace {

struct SettingKind {
    std::string_view name;
    std::size_t operands;
    std::array<std::string_view, 2> options; // the options it takes ("" for none)
    PrepareSetting prepare;
};

// clang-format off
constexpr std::array kSettings = {
    SettingKind{"cpi", 1, {"--current", ""}, prepareCpi},
    SettingKind{"rate", 1, {"", ""}, prepareRate},
    SettingKind{"fire-key", 1, {"--repeat", "--delay"}, prepareFireKey},
    SettingKind{"fire-mode", 1, {"", ""}, prepareFireMode},
    SettingKind{"button", 3, {"", ""}, prepareButton},
    SettingKind{"lighting", 1, {"--colour", "--steps"}, prepareLighting},
};
// clang-format on

const SettingKind* settingNamed(std::string_view name) {
    for (const SettingKind& kind : kSettings)
        if (kind.name == name) return &kind;
    return nullptr;
}

std::string settingNames() {
    std::string list;
    for (const SettingKind& kind : kSettings)
        list += (list.empty() ? "" : ", ") + std::string(kind.name);
    return list;
}

// The settings of one run in the order given, each with the options that follow its words;
// an option before the first setting goes with the first. kOk, or kUsage after saying why.
int splitSettings(const Options& options, std::ostream& err, std::vector<SettingArgs>& settings) {
    const auto& ops = options.operands;
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < ops.size();) {
        const SettingKind* kind = settingNamed(ops[i]);
        if (kind == nullptr)
            return refuse(err, "\"" + ops[i] + "\" is no setting; set takes " + settingNames() +
                                   ", one after another");
        if (i + 1 + kind->operands > ops.size()) {
            err << "orlixctl: wrong arguments for set " << kind->name << "\nTry orlixctl --help\n";
            return kUsage;
        }
        starts.push_back(i);
        settings.push_back({std::string(kind->name),
                            {ops.begin() + static_cast<std::ptrdiff_t>(i + 1),
                             ops.begin() + static_cast<std::ptrdiff_t>(i + 1 + kind->operands)},
                            {}});
        i += 1 + kind->operands;
    }
    for (const Options::Placed& option : options.placed) {
        if (option.name == "--file" || option.name == "--full") continue; // the whole run's
        std::size_t owner = 0;
        while (owner + 1 < starts.size() && starts[owner + 1] < option.afterOperands)
            ++owner;
        SettingArgs& setting = settings[owner];
        const auto& taken = settingNamed(setting.name)->options;
        if (std::find(taken.begin(), taken.end(), option.name) == taken.end())
            return refuse(err, option.name + " does not go with set " + setting.name +
                                   " (an option follows the setting it belongs to)");
        if (!setting.options.emplace(option.name, option.value).second)
            return refuse(err, option.name + " is given twice for set " + setting.name);
    }
    return kOk;
}

} // namespace

int commandSet(Context& ctx, std::ostream& out, std::ostream& err) {
    std::vector<SettingArgs> settings;
    if (int code = splitSettings(ctx.options(), err, settings); code != kOk) return code;
    // Every setting is checked before the mouse or the file is touched; one refused setting
    // refuses the whole run.
    std::vector<PreparedSetting> prepared(settings.size());
    std::vector<std::string> keys;
    std::string what;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const SettingKind* kind = settingNamed(settings[i].name);
        if (int code = kind->prepare(ctx, settings[i], err, prepared[i]); code != kOk) return code;
        const std::string key = prepared[i].key.empty() ? settings[i].name : prepared[i].key;
        if (std::find(keys.begin(), keys.end(), key) != keys.end())
            return refuse(err, "set " + key + " is given twice in one run");
        keys.push_back(key);
        what += (i == 0 ? "" : i + 1 == settings.size() ? " and " : ", ") + prepared[i].what;
    }
    return editConfiguration(ctx, out, err, what, [&](Context& c, std::ostream& e) -> int {
        for (const PreparedSetting& p : prepared)
            if (int code = p.change(c, e); code != kOk) return code;
        return kOk;
    });
}

} // namespace orlixctl
