#include "Configuration.h"

#include "Hex.h"
#include "ProfileFile.h"

#include <algorithm>

namespace orlix {

Configuration::Configuration(Edition e) : edition(e) {}

void Configuration::startUp(std::span<const std::uint8_t> defaultResource,
                            const TextSource& texts) {
    loadProfileBytes(defaultResource, working, macros);
    loadDefaults(defaultResource);
    readLayout = working[image::kDataType];
    macroNames = RefreshMacroName(macros);
    decode(texts);
}

void Configuration::loadDefaults(std::span<const std::uint8_t> defaultResource) {
    loadProfileBytes(defaultResource, defaults, defaultMacros);
}

std::uint16_t Configuration::targetVendorId() const {
    return readBigEndian16(working, image::kVendorId);
}

std::uint16_t Configuration::targetProductId() const {
    return readBigEndian16(working, image::kProductId);
}

std::optional<std::array<std::uint8_t, 2>> Configuration::expectedIdCode() const {
    auto layout = middleLayoutFor(defaults[image::kDataType]);
    if (!layout) return std::nullopt;
    return std::array<std::uint8_t, 2>{defaults[layout->idCode], defaults[layout->idCode + 1]};
}

void Configuration::decode(const TextSource& texts, bool sectionsFromImage) {
    for (auto& profile : assignments)
        std::fill(profile.begin(), profile.end(), std::string());
    decodeImage(working,
                DecodeOptions{readLayout, macroDevice && !sectionsFromImage, identifiedDataType},
                sections, assignments);
    for (std::size_t i = 0; i < page.resolution.captions.size(); ++i)
        page.resolution.captions[i] = texts.text("Str" + std::to_string(300 + i));
    showResolution(sections, texts, page.resolution, rate);
    showLighting(sections, page.lighting);
    showFireKeys(sections, page.fire);
    RefreshFireKeyMode(assignments, page.fire);
    std::uint8_t active = sections.b[image::kActiveProfile];
    if (active <= 2) page.activeProfile = active;
}

std::uint8_t Configuration::writeLayout() const {
    // The placement follows the mouse once one is identified; before that the image keeps
    // the placement it was decoded with, so decoding and assembling never disagree.
    return identifiedDataType.value_or(readLayout);
}

void Configuration::assemble(const TextSource& texts, bool forDevice) {
    assembleImage(page, texts, AssembleOptions{forDevice, writeLayout()}, sections, assignments,
                  rate, working);
}

bool Configuration::setAssignment(int profile, int button, std::string_view code) {
    if (profile < 0 || profile >= kProfileCount || button < 0 || button >= kButtonCount)
        return false;
    auto bytes = fromHex(code);
    if (!bytes || bytes->size() != 4) return false;
    auto off = profileCodeOffset(profile, button);
    std::copy(bytes->begin(), bytes->end(),
              sections.profiles.begin() + static_cast<std::ptrdiff_t>(off));
    assignments[static_cast<std::size_t>(profile)][static_cast<std::size_t>(button)] =
        toHex(*bytes);
    return true;
}

FireKeySettings Configuration::currentFireKeys() const {
    return fireKeySettings(page.fire, sections);
}

CodeContext Configuration::codeContext(const TextSource& texts) const {
    return CodeContext{texts, edition, currentFireKeys(), macroNames};
}

FileResult Configuration::saveProfile(const std::filesystem::path& path, const TextSource& texts) {
    assemble(texts, false);
    if (!macroDevice) macros.fill(0xFF);
    return saveProfileFile(path, working, macros);
}

FileResult Configuration::loadProfile(const std::filesystem::path& path, const TextSource& texts) {
    auto result = loadProfileFile(path, working, macros);
    if (result) takeLoadedData(texts);
    return result;
}

void Configuration::takeLoadedData(const TextSource& texts) {
    macroNames = RefreshMacroName(macros);
    // A loaded file must bring all its settings, also on a macro mouse, or its current level,
    // report rate and active profile would silently be replaced by the mouse's.
    decode(texts, true);
}

} // namespace orlix
