#include "Configuration.h"

#include "Hex.h"
#include "ProfileFile.h"

#include <algorithm>

namespace orlix {

namespace {
std::string hexNumber(unsigned value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return "0x" + out;
}
} // namespace

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
    lastRepairs = decodeImage(
        working, DecodeOptions{readLayout, macroDevice && !sectionsFromImage, identifiedDataType},
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
    AssembleOptions options{forDevice, writeLayout(), std::nullopt};
    if (forDevice) options.idCode = expectedIdCode();
    assembleImage(page, texts, options, sections, assignments, rate, working);
}

void Configuration::assembleAsWritten(const TextSource& texts) {
    const SectionRepairs repairs = lastRepairs;
    const ReportRateMemory keptRate = rate;
    assemble(texts, true);
    decode(texts, true);
    lastRepairs = repairs;
    rate = keptRate;
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

FileResult Configuration::readProfile(const std::filesystem::path& path, const TextSource& texts,
                                      FileStart& file) const {
    std::string error;
    auto start = readFileStart(path, kProfileFileSize, &error);
    if (!start) return {false, error};
    const std::string name = "\"" + path.string() + "\"";
    const ProfileCheck check = checkProfileData(start->data, defaults);
    switch (check.fault) {
    case ProfileFault::None:
        break;
    case ProfileFault::Empty:
        return {false, name + " is empty; nothing was loaded"};
    case ProfileFault::Short:
        return {false, name + " holds " + std::to_string(check.found) + " bytes, fewer than the " +
                           std::to_string(kImageSize) + " of a settings image; nothing was loaded"};
    case ProfileFault::DataType:
    case ProfileFault::VendorId:
    case ProfileFault::ProductId: {
        const int digits = check.fault == ProfileFault::DataType ? 2 : 4;
        std::string text = texts.text("Str026");
        if (text.empty())
            text = "This profile file is for another mouse: its %1 is %2, this mouse's is %3. "
                   "Nothing was loaded.";
        const std::pair<std::string, std::string> fields[] = {
            {"%1", std::string(profileFieldName(check.fault))},
            {"%2", hexNumber(check.found, digits)},
            {"%3", hexNumber(check.expected, digits)}};
        for (const auto& [mark, value] : fields)
            if (auto at = text.find(mark); at != std::string::npos)
                text.replace(at, mark.size(), value);
        return {false, text + " (" + path.string() + ")"};
    }
    }
    file = std::move(*start);
    return {};
}

FileResult Configuration::checkProfile(const std::filesystem::path& path,
                                       const TextSource& texts) const {
    FileStart file;
    return readProfile(path, texts, file);
}

FileResult Configuration::loadProfile(const std::filesystem::path& path, const TextSource& texts) {
    FileStart file;
    FileResult result = readProfile(path, texts, file);
    if (!result) return result;
    loadProfileBytes(file.data, working, macros);
    loadedFileSize = file.size;
    takeLoadedData(texts);
    return {};
}

void Configuration::takeLoadedData(const TextSource& texts) {
    macroNames = RefreshMacroName(macros);
    // A loaded file must bring all its settings, also on a macro mouse, or its current level,
    // report rate and active profile would silently be replaced by the mouse's.
    decode(texts, true);
}

} // namespace orlix
