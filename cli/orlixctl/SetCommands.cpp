// `orlixctl set cpi|rate|fire-key|fire-mode|button`: the Advanced page's and the button pages'
// settings from the command line, through the same rules as the window.
#include "Commands.h"
#include "ConfigurationEdit.h"
#include "Context.h"

#include "model/AssignmentCodes.h"
#include "model/KeyTables.h"
#include "rules/AssignmentEditor.h"
#include "rules/FireKeyRules.h"
#include "rules/KeyCombination.h"
#include "rules/MenuCatalog.h"
#include "rules/ResolutionRules.h"

#include <algorithm>
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

int commandSetCpi(Context& ctx, std::ostream& out, std::ostream& err) {
    const auto& captions = ctx.config().page.resolution;
    ResolutionPage probe = captions;
    const ResolutionRules names(probe);
    const std::string allowed = "choose 2 to 4 of " + valueList(captions) + " (" +
                                std::string(traitsOf(ctx.options().edition).programName) +
                                "), separated by commas, e.g. " + captions.captions[0] + "," +
                                captions.captions[2] + "," + captions.captions[4];
    std::vector<int> labels;
    for (const auto& value : split(ctx.options().operands[1], ',')) {
        const auto label = names.labelOf(trimmed(value));
        if (!label) return refuse(err, "\"" + value + "\" is not a resolution value; " + allowed);
        labels.push_back(*label);
    }
    std::optional<int> current;
    if (const auto c = ctx.options().value("--current")) {
        current = names.labelOf(trimmed(*c));
        if (!current || std::find(labels.begin(), labels.end(), *current) == labels.end())
            return refuse(err, "--current takes one of the values given (" +
                                   ctx.options().operands[1] + "), not \"" + *c + "\"");
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
    return editConfiguration(
        ctx, out, err, "resolution levels", [&](Context& c, std::ostream&) -> int {
            ResolutionRules(c.config().page.resolution).setLevels(labels, current);
            return kOk;
        });
}

int commandSetRate(Context& ctx, std::ostream& out, std::ostream& err) {
    const std::string& value = ctx.options().operands[1];
    const int option = value == "1000" ? 1 : value == "500" ? 2 : 0;
    if (option == 0)
        return refuse(err,
                      "set rate takes 500 or 1000 (reports per second), not \"" + value + "\"");
    return editConfiguration(ctx, out, err, "report rate", [&](Context& c, std::ostream&) -> int {
        ResolutionRules(c.config().page.resolution).chooseRate(option);
        return kOk;
    });
}

// ---- fire keys ------------------------------------------------------------------------------

int commandSetFireKey(Context& ctx, std::ostream& out, std::ostream& err) {
    const auto key = inRange(ctx.options().operands[1], 1, FireKeyRules::kFireKeys);
    if (!key)
        return refuse(err, "set fire-key takes a fire key 1 to 4, not \"" +
                               ctx.options().operands[1] + "\"");
    const auto repeatText = ctx.options().value("--repeat");
    const auto delayText = ctx.options().value("--delay");
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
    return editConfiguration(
        ctx, out, err, "fire key " + std::to_string(*key), [&](Context& c, std::ostream&) -> int {
            FireKeyRules rules(c.config().page.fire);
            // What is not given stays as the page shows it, corrected as a store would.
            rules.setFireKey(n, repeat.value_or(correctedRepeat(rules.repeat(n))),
                             delay.value_or(correctedDelay(rules.delay(n))));
            return kOk;
        });
}

int commandSetFireMode(Context& ctx, std::ostream& out, std::ostream& err) {
    const std::string& list = ctx.options().operands[1];
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
    return editConfiguration(
        ctx, out, err, "fire-mode group", [&](Context& c, std::ostream& e) -> int {
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
        });
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

std::optional<ButtonChoice> resolveFunction(Context& ctx, int key, std::string_view text) {
    const std::string wanted = lower(trimmed(text));
    for (const auto* entry : offeredLeaves(key, ctx.options().edition, ctx.config().readLayout)) {
        if (lower(trimmed(ctx.texts().text(entry->textId))) == wanted)
            return MenuChoice{entry->tag, key <= 3};
    }
    if (key <= 3) return std::nullopt;
    if (isCodeText(text)) return std::string(text);
    if (auto combination = pages::KeyCombination::fromText(text)) return combination->code();
    return std::nullopt;
}

std::string offeredNames(Context& ctx, int key) {
    std::string list;
    for (const std::string& name : offeredFunctionNames(ctx, key))
        list += (list.empty() ? "\"" : ", \"") + name + "\"";
    return list;
}

} // namespace

std::vector<std::string> offeredFunctionNames(Context& ctx, int key) {
    std::vector<std::string> names;
    for (const auto* entry : offeredLeaves(key, ctx.options().edition, ctx.config().readLayout))
        names.push_back(trimmed(ctx.texts().text(entry->textId)));
    return names;
}

int commandSetButton(Context& ctx, std::ostream& out, std::ostream& err) {
    const auto& ops = ctx.options().operands;
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
    const std::string what = "button " + std::to_string(*key) + " of the " + ops[1] + " profile";
    return editConfiguration(ctx, out, err, what, [&](Context& c, std::ostream& e) -> int {
        pages::AssignmentEditor editor(c.config(), c.texts());
        bool stored = false;
        if (const auto* menu = std::get_if<MenuChoice>(&*choice))
            stored = menu->swap ? editor.swapPrimary(profile, *key - 1, menu->tag)
                                : editor.chooseLeaf(profile, *key - 1, menu->tag);
        else
            stored = editor.storeCode(profile, *key - 1, std::get<std::string>(*choice));
        if (!stored) return refuse(e, "\"" + ops[3] + "\" has no code in this edition");
        return kOk;
    });
}

} // namespace orlixctl
