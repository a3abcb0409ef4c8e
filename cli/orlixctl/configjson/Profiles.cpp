#include "Sections.h"

#include "model/Hex.h"
#include "model/ImageCodec.h"

#include <array>

namespace orlix::configjson {

namespace {

constexpr std::array<std::string_view, kProfileCount> kProfileNames{"main", "alternate",
                                                                    "resetControl"};
constexpr std::array<std::string_view, 3> kActiveProfileNames{"main", "alternate", "reset-control"};
constexpr std::size_t kCodeBytes = 4;
constexpr int kFireModes = 4;

std::size_t codeAt(int profile, int button) {
    return image::kProfileStart + profileCodeOffset(profile, button);
}

AssignmentTable codesOf(const ImageBytes& img) {
    AssignmentTable table;
    for (int p = 0; p < kProfileCount; ++p)
        for (int k = 0; k < kButtonCount; ++k)
            table[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)] =
                toHex(std::span(img).subspan(codeAt(p, k), kCodeBytes));
    return table;
}

// The Fire Mode group as the page shows it for these codes.
std::vector<int> fireModeGroupOf(const AssignmentTable& table) {
    FireKeyPage page;
    RefreshFireKeyMode(table, page);
    std::vector<int> group;
    for (int m = 0; m < kFireModes; ++m)
        if (page.modeSelected[static_cast<std::size_t>(m)]) group.push_back(m + 1);
    return group;
}

CodeContext codeContextOf(const Profile& p, const MacroNames& names) {
    return {p.context.names, p.context.edition, fireKeySettingsOf(p.img), names};
}

// One button's code, and its function when given, which must be the code's.
void readButton(const Json& b, const std::string& bp, int profile, int k, const CodeContext& codes,
                Profile& p) {
    fields(b, bp, {"button", "code"}, {"function"});
    if (integer(b["button"], at(bp, "button"), 1, kButtonCount) != k + 1)
        throw Fault(at(bp, "button"), "the buttons are listed 1 to 12 in order; this place is "
                                      "button " +
                                          std::to_string(k + 1));
    const std::string& code = text(b["code"], at(bp, "code"));
    const auto codeBytes = fromHex(code);
    if (!isCodeText(code) || !codeBytes || codeBytes->size() != kCodeBytes)
        throw Fault(at(bp, "code"),
                    "\"" + code + "\" is no assignment code (eight hexadecimal digits)");
    const std::string upper = toHex(*codeBytes);
    if (b.contains("function")) {
        const std::string& function = text(b["function"], at(bp, "function"));
        const std::string named = NameForCode(upper, codes);
        if (function != named)
            throw Fault(at(bp, "function"),
                        "\"" + function + "\" is not the function of code " + upper +
                            (named.empty() ? " (it has no name)" : " (\"" + named + "\")") +
                            "; the code counts: change both, or leave the function out");
    }
    std::copy(codeBytes->begin(), codeBytes->end(),
              p.img.begin() + static_cast<std::ptrdiff_t>(codeAt(profile, k)));
}

// The group is no setting of its own: it must be what the Fire Mode codes select.
void checkFireModeGroup(const Json& group, const Profile& p) {
    const std::string gp = "fireModeGroup";
    list(group, gp, SIZE_MAX);
    std::vector<int> given;
    for (std::size_t i = 0; i < group.size(); ++i)
        given.push_back(static_cast<int>(integer(group[i], at(gp, i), 1, kFireModes)));
    const std::vector<int> found = fireModeGroupOf(codesOf(p.img));
    if (given != found) {
        std::string shown;
        for (int m : found)
            shown += (shown.empty() ? "" : ", ") + std::to_string(m);
        throw Fault(gp, "the Fire Mode buttons' codes select [" + shown +
                            "]; the group follows the codes, so change the 0F codes instead");
    }
}

} // namespace

Json writeActiveProfile(const Profile& p) {
    return byteOr(p.img[image::kSectionBStart + image::kActiveProfile], named(kActiveProfileNames));
}

void readActiveProfile(const Json& a, const std::string& path, Profile& p) {
    p.img[image::kSectionBStart + image::kActiveProfile] =
        byteOf(a, path, [](const Json& v, const std::string& vp) {
            return namedByte(v, vp, kActiveProfileNames);
        });
}

std::vector<int> writeFireModeGroup(const Profile& p) {
    return fireModeGroupOf(codesOf(p.img));
}

Json writeProfiles(const Profile& p) {
    const AssignmentTable table = codesOf(p.img);
    const MacroNames names = RefreshMacroName(p.store);
    const CodeContext codes = codeContextOf(p, names);
    Json profiles;
    for (std::size_t pr = 0; pr < kProfileCount; ++pr) {
        Json buttons = Json::array();
        for (std::size_t k = 0; k < kButtonCount; ++k)
            buttons.push_back(Json{{"button", k + 1},
                                   {"function", NameForCode(table[pr][k], codes)},
                                   {"code", table[pr][k]}});
        profiles[std::string(kProfileNames[pr])] = buttons;
    }
    return profiles;
}

void readProfiles(const Json& pr, const std::string& path, const Json& group, Profile& p) {
    fields(pr, path, {"main", "alternate", "resetControl"});
    const MacroNames names = RefreshMacroName(p.store);
    const CodeContext codes = codeContextOf(p, names);
    for (int profile = 0; profile < kProfileCount; ++profile) {
        const std::string_view name = kProfileNames[static_cast<std::size_t>(profile)];
        const std::string pp = at(path, name);
        const Json& buttons = list(pr[std::string(name)], pp, kButtonCount);
        for (int k = 0; k < kButtonCount; ++k)
            readButton(buttons[static_cast<std::size_t>(k)], at(pp, static_cast<std::size_t>(k)),
                       profile, k, codes, p);
    }
    checkFireModeGroup(group, p);
}

} // namespace orlix::configjson
