#include "rules/AssignmentEditor.h"

#include "model/AssignmentCodes.h"
#include "model/MacroStore.h"

#include <algorithm>
#include <optional>

namespace orlix::pages {

namespace {

std::optional<std::string> primaryCode(int tagValue) {
    switch (tagValue) {
    case tag::kLeft:
        return "01010000";
    case tag::kRight:
        return "01020000";
    case tag::kMiddle:
        return "01040000";
    default:
        return std::nullopt;
    }
}

} // namespace

std::vector<int> profilesWithoutLeftKey(const AssignmentTable& table) {
    const std::string left = *primaryCode(tag::kLeft);
    std::vector<int> out;
    for (int p = 0; p < kProfileCount; ++p) {
        const auto& row = table[static_cast<std::size_t>(p)];
        if (std::find(row.begin(), row.end(), left) == row.end()) out.push_back(p);
    }
    return out;
}

std::array<std::string, kButtonCount> AssignmentEditor::names(int profile) const {
    std::array<std::string, kButtonCount> out;
    if (profile < 0 || profile >= kProfileCount) return out;
    const CodeContext ctx = config_.codeContext(texts_);
    const auto& row = config_.assignments[static_cast<std::size_t>(profile)];
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = row[i].empty() ? std::string() : NameForCode(row[i], ctx);
    return out;
}

bool AssignmentEditor::chooseLeaf(int profile, int button, int tagValue) {
    if (!editableProfile(profile)) return false;
    const std::string code = CodeForTag(tagValue, config_.codeContext(texts_));
    if (code.empty()) return false;
    return config_.setAssignment(profile, button, code);
}

bool AssignmentEditor::swapPrimary(int profile, int button, int tagValue) {
    if (!editableProfile(profile) || button < 0 || button > 2) return false;
    const auto chosen = primaryCode(tagValue);
    if (!chosen) return false;
    auto& row = config_.assignments[static_cast<std::size_t>(profile)];
    const std::string old = row[static_cast<std::size_t>(button)];
    for (int other = 0; other < 3; ++other) {
        if (other == button || row[static_cast<std::size_t>(other)] != *chosen) continue;
        // A button without a code of its own (cleared table) keeps what it has.
        if (isCodeText(old)) config_.setAssignment(profile, other, old);
    }
    return config_.setAssignment(profile, button, *chosen);
}

bool AssignmentEditor::storeCode(int profile, int button, std::string_view code) {
    if (!editableProfile(profile) || !isCodeText(code)) return false;
    return config_.setAssignment(profile, button, code);
}

std::string AssignmentEditor::macroCode(int index) {
    if (index < 0) return {};
    return macroAssignmentCode(static_cast<std::size_t>(index));
}

} // namespace orlix::pages
