#include "ImageCodec.h"

#include "FireKeyFields.h"
#include "Hex.h"

#include <algorithm>
#include <vector>

namespace orlix {

namespace {

std::string cpiValueText(const TextSource& texts, int index) {
    return texts.text("Str" + std::to_string(320 + index));
}

std::optional<int> cpiIndexOf(const TextSource& texts, const std::string& caption) {
    if (caption.empty()) return std::nullopt;
    for (int i = 0; i < 12; ++i)
        if (cpiValueText(texts, i) == caption) return i;
    return std::nullopt;
}

template <std::size_t N>
void copyFrom(const ImageBytes& image, std::size_t offset, std::array<std::uint8_t, N>& to) {
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(offset), N, to.begin());
}

template <std::size_t N>
void copyTo(const std::array<std::uint8_t, N>& from, ImageBytes& image, std::size_t offset) {
    std::copy_n(from.begin(), N, image.begin() + static_cast<std::ptrdiff_t>(offset));
}

// What fire key n's record holds, as its fields show it.
int readRepeat(const SectionBuffers& s, std::size_t n) {
    return fireKeyRepeat(fireKeyIn(s.fireKeys, n));
}
int readDelay(const SectionBuffers& s, std::size_t n) {
    return fireKeyDelay(fireKeyIn(s.fireKeys, n));
}
// A field that still shows what the record holds was not changed by the user: it is kept as
// the mouse holds it, even outside the fields' range. A changed field is corrected.
bool repeatChanged(const FireKeyPage& page, const SectionBuffers& s, std::size_t n) {
    return page.repeat[n] != readRepeat(s, n);
}
bool delayChanged(const FireKeyPage& page, const SectionBuffers& s, std::size_t n) {
    return page.delay[n] != readDelay(s, n);
}

std::vector<int> onLabels(const ResolutionPage& page) {
    std::vector<int> on;
    for (int i = 0; i < 8; ++i)
        if (page.on[static_cast<std::size_t>(i)]) on.push_back(i);
    return on;
}

} // namespace

std::size_t fireKeyStartFor(std::uint8_t dataType) {
    return middleLayoutFor(dataType) ? image::kFireKeyStart : image::kCompactFireKeyStart;
}

std::string SectionRepairs::describe() const {
    std::string out;
    const auto add = [&](const char* what) {
        if (!out.empty()) out += ", ";
        out += what;
    };
    if (a) add("section A (checksum)");
    if (b) add(a ? "section B (checksum)" : "section B (checksum), section A (replaced with B)");
    if (fireKeys) add("fire keys (checksum)");
    if (profiles) add("profiles (checksum)");
    return out;
}

SectionRepairs decodeImage(const ImageBytes& img, const DecodeOptions& options, SectionBuffers& s,
                           AssignmentTable& table) {
    SectionRepairs repairs;
    copyFrom(img, 0, s.a);
    repairs.a = checkParameterASection(s, options.identifiedDataType);
    if (!options.macroDevice) {
        copyFrom(img, image::kSectionBStart, s.b);
        repairs.b = checkParameterBSection(s, options.identifiedDataType);
    }
    if (const ImageLayout* row = imageLayoutFor(options.readLayout)) {
        const MiddleLayout* layout = &row->middle;
        const bool breathFromDevice = options.macroDevice && row->macroKeepsBreath;
        if (!breathFromDevice) copyFrom(img, layout->userBreath, s.userBreath);
        copyFrom(img, layout->reserved, s.reserved);
        copyFrom(img, layout->idCode, s.idCode);
        copyFrom(img, layout->eft, s.eft);
    }
    std::size_t p = fireKeyStartFor(options.readLayout);
    copyFrom(img, p, s.fireKeys);
    repairs.fireKeys = checkFireKeySection(s, options.identifiedDataType);
    copyFrom(img, p + image::kFireKeySize, s.profiles);
    repairs.profiles = checkProfileSection(s, options.identifiedDataType);

    for (int prof = 0; prof < kProfileCount; ++prof)
        for (int k = 0; k < kButtonCount; ++k) {
            auto off = profileCodeOffset(prof, k);
            table[static_cast<std::size_t>(prof)][static_cast<std::size_t>(k)] =
                toHex(std::span<const std::uint8_t>(s.profiles.data() + off, 4));
        }
    return repairs;
}

void showResolution(const SectionBuffers& s, const TextSource& texts, ResolutionPage& page,
                    ReportRateMemory& rate) {
    std::array<std::string, 4> levels;
    for (std::size_t j = 0; j < 4; ++j) {
        std::uint8_t v = s.a[image::kCpiLevel1 + j];
        if (v < 12) levels[j] = cpiValueText(texts, v);
    }
    for (std::size_t i = 0; i < 8; ++i) {
        const auto& caption = page.captions[i];
        page.on[i] =
            !caption.empty() && std::find(levels.begin(), levels.end(), caption) != levels.end();
    }
    page.touched = false;
    auto on = onLabels(page);
    std::size_t position = s.b[image::kCurrentCpiLevel];
    if (position < on.size())
        page.current = on[position];
    else if (!on.empty())
        page.current = on.front(); // no valid current level: the first value that is on
    else
        page.current.reset();

    if (const auto hz = reportRateOf(s.b[image::kReportRate])) {
        page.reportRate = *hz;
        rate.lastKnown = *hz;
    }
}

void showLighting(const SectionBuffers& s, LightingPage& page) {
    if (s.a[image::kLightingFlags] & kLightingUnused) return;
    std::uint8_t mode = s.b[image::kLightingMode];
    page.mode = (mode == 1 || mode == 2) ? mode : 0;
    page.steps = {decodeHoldStep(s.a[image::kLedOffTime]), decodeRampStep(s.a[image::kLedRiseTime]),
                  decodeHoldStep(s.a[image::kLedOnTime]), decodeRampStep(s.a[image::kLedFallTime])};
    page.colourMode = (s.a[image::kLightingFlags] & kColourMode1) ? 1 : 2;
    for (std::size_t i = 0; i < 3; ++i) {
        page.mode1[i] = s.a[image::kMode1Red + i];
        page.mode2[i] = s.userBreath[i];
    }
}

void showFireKeys(const SectionBuffers& s, FireKeyPage& page) {
    for (std::size_t n = 0; n < 4; ++n) {
        page.repeat[n] = fireKeyRepeat(fireKeyIn(s.fireKeys, n));
        page.delay[n] = fireKeyDelay(fireKeyIn(s.fireKeys, n));
    }
}

void RefreshFireKeyMode(const AssignmentTable& table, FireKeyPage& page) {
    for (const auto& profile : table)
        for (const auto& code : profile) {
            // A Fire Mode button is one whose code is of the fire-mode type, whatever name
            // the language gives it.
            auto bytes = fromHex(code);
            if (!bytes || bytes->size() != 4 || (*bytes)[0] != 0x0F) continue;
            page.modeSelected = {};
            for (std::size_t i = 1; i < 4; ++i) {
                int m = (*bytes)[i];
                if (m >= 1 && m <= 4) page.modeSelected[static_cast<std::size_t>(m - 1)] = true;
            }
        }
}

void UIToDataBuf(const PageState& page, const TextSource& texts, SectionBuffers& s,
                 ReportRateMemory& rate) {
    if (page.resolution.touched) {
        auto on = onLabels(page.resolution);
        if (on.size() > 4) on.resize(4);
        for (std::size_t j = 0; j < 4; ++j) {
            std::uint8_t& level = s.a[image::kCpiLevel1 + j];
            if (j < on.size()) {
                auto idx =
                    cpiIndexOf(texts, page.resolution.captions[static_cast<std::size_t>(on[j])]);
                if (idx) level = static_cast<std::uint8_t>(*idx);
            } else {
                level = kLevelNotUsed;
            }
        }
        if (page.resolution.current) {
            auto it = std::find(on.begin(), on.end(), *page.resolution.current);
            if (it != on.end())
                s.b[image::kCurrentCpiLevel] = static_cast<std::uint8_t>(it - on.begin());
        }
    } else if (page.resolution.current) {
        // Untouched, the current level is carried, unless it names no level in use: the page
        // then shows the first value that is on as current, and that is what is stored.
        const auto levels = std::span<const std::uint8_t>(s.a).subspan(image::kCpiLevel1, 4);
        const auto inUse = std::count_if(levels.begin(), levels.end(),
                                         [](std::uint8_t l) { return l != kLevelNotUsed; });
        if (s.b[image::kCurrentCpiLevel] >= inUse) {
            const auto on = onLabels(page.resolution);
            auto it = std::find(on.begin(), on.end(), *page.resolution.current);
            if (it != on.end())
                s.b[image::kCurrentCpiLevel] = static_cast<std::uint8_t>(it - on.begin());
        }
    }
    if (const auto byte = reportRateByte(page.resolution.reportRate.value_or(0))) {
        const int r = *page.resolution.reportRate;
        s.b[image::kReportRate] = *byte;
        if (rate.lastKnown != r) {
            rate.lastKnown = r;
            rate.changed = true;
        }
    }
    if (!(s.a[image::kLightingFlags] & kLightingUnused)) {
        const auto& l = page.lighting;
        if (l.mode) s.b[image::kLightingMode] = static_cast<std::uint8_t>(*l.mode);
        s.a[image::kLedOffTime] = encodeHoldStep(l.steps[0]);
        s.a[image::kLedRiseTime] = encodeRampStep(l.steps[1]);
        s.a[image::kLedOnTime] = encodeHoldStep(l.steps[2]);
        s.a[image::kLedFallTime] = encodeRampStep(l.steps[3]);
        if (l.colourMode == 1) s.a[image::kLightingFlags] |= kColourMode1;
        if (l.colourMode == 2)
            s.a[image::kLightingFlags] =
                static_cast<std::uint8_t>(s.a[image::kLightingFlags] & ~kColourMode1);
        for (std::size_t i = 0; i < 3; ++i) {
            s.a[image::kMode1Red + i] = static_cast<std::uint8_t>(l.mode1[i] & 0xFF);
            s.userBreath[i] = static_cast<std::uint8_t>(l.mode2[i] & 0xFF);
        }
    }
    if (page.activeProfile && *page.activeProfile >= 0 && *page.activeProfile <= 2)
        s.b[image::kActiveProfile] = static_cast<std::uint8_t>(*page.activeProfile);
}

void FireKeyModeToDataBuf(const FireKeyPage& page, SectionBuffers& s) {
    for (std::size_t n = 0; n < 4; ++n) {
        auto key = writableFireKeyIn(s.fireKeys, n);
        key[fire::kMarkerByte] = fire::kKeyMarker;
        if (repeatChanged(page, s, n)) {
            const int r = correctedRepeat(page.repeat[n]);
            key[fire::kRepeatByte] = static_cast<std::uint8_t>((r + fire::kRepeatBase) & 0xFF);
        }
        if (delayChanged(page, s, n)) {
            const int d = correctedDelay(page.delay[n]);
            // The delay has twelve bits; never let it spill into the carried high nibble.
            key[fire::kDelayHighByte] = static_cast<std::uint8_t>(
                (key[fire::kDelayHighByte] & fire::kCarriedNibble) | ((d / 256) & 0x0F));
            key[fire::kDelayLowByte] = static_cast<std::uint8_t>(d % 256);
        }
    }
}

void FireKeyAndFireKeyModeToDataBuf(const FireKeyPage& page, SectionBuffers& s,
                                    AssignmentTable& table) {
    std::array<std::uint8_t, 4> code{0x0F, 0, 0, 0};
    std::size_t next = 1;
    for (std::size_t m = 0; m < 4 && next < 4; ++m)
        if (page.modeSelected[m]) code[next++] = static_cast<std::uint8_t>(m + 1);
    for (int prof = 0; prof < kProfileCount; ++prof)
        for (int k = 0; k < kButtonCount; ++k) {
            auto off = profileCodeOffset(prof, k);
            if (s.profiles[off] != 0x0F) continue;
            std::copy(code.begin(), code.end(),
                      s.profiles.begin() + static_cast<std::ptrdiff_t>(off));
            table[static_cast<std::size_t>(prof)][static_cast<std::size_t>(k)] = toHex(code);
        }
}

FireKeySettings fireKeySettings(const FireKeyPage& page, const SectionBuffers& s) {
    FireKeySettings f;
    for (std::size_t n = 0; n < 4; ++n) {
        f.repeat[n] =
            repeatChanged(page, s, n) ? correctedRepeat(page.repeat[n]) : readRepeat(s, n);
        f.delay[n] = delayChanged(page, s, n) ? correctedDelay(page.delay[n]) : readDelay(s, n);
        f.highNibble[n] = fireKeyCarriedNibble(fireKeyIn(s.fireKeys, n));
    }
    return f;
}

void assembleImage(const PageState& page, const TextSource& texts, const AssembleOptions& options,
                   SectionBuffers& s, AssignmentTable& table, ReportRateMemory& rate,
                   ImageBytes& img) {
    if (options.forDevice) img.fill(0xFF);
    UIToDataBuf(page, texts, s, rate);
    sealSection(s.a);
    copyTo(s.a, img, 0);
    sealSection(s.b);
    copyTo(s.b, img, image::kSectionBStart);
    // The page rewrites the mode-2 colour only when the lighting is in use; keep that
    // section's checksum true to its bytes then.
    if (!(s.a[image::kLightingFlags] & kLightingUnused)) sealSection(s.userBreath);
    if (options.idCode) s.idCode = *options.idCode;
    if (auto layout = middleLayoutFor(options.layout)) {
        copyTo(s.reserved, img, layout->reserved);
        copyTo(s.idCode, img, layout->idCode);
        copyTo(s.eft, img, layout->eft);
        copyTo(s.userBreath, img, layout->userBreath);
    }
    std::size_t p = fireKeyStartFor(options.layout);
    FireKeyModeToDataBuf(page.fire, s);
    sealSection(s.fireKeys);
    copyTo(s.fireKeys, img, p);
    FireKeyAndFireKeyModeToDataBuf(page.fire, s, table);
    sealSection(s.profiles);
    copyTo(s.profiles, img, p + image::kFireKeySize);
}

} // namespace orlix
