#include "macro/MacroEditor.h"

#include "macro/MacroFiles.h"
#include "model/TextCodec.h"

#include <algorithm>
#include <utility>

namespace orlix {

MacroEditor::MacroEditor(MacroStore& store, MacroNames& names, MacroRecorder::Clock clock)
    : store_(store), names_(names), recorder_(std::move(clock)) {}

const MacroScript& MacroEditor::script() const {
    return recorder_.active() ? recorder_.script() : script_;
}

void MacroEditor::selectEntry(std::optional<std::size_t> k) {
    entry_ = k && *k < entryCount() ? k : std::nullopt;
}

std::size_t MacroEditor::pressCount() const {
    return recorder_.active() ? recorder_.pressCount() : presses_;
}

std::size_t MacroEditor::releaseCount() const {
    return recorder_.active() ? recorder_.releaseCount() : releases_;
}

bool MacroEditor::atLimits() const {
    return pressCount() >= MacroRecorder::kEntryLimit &&
           releaseCount() >= MacroRecorder::kEntryLimit;
}

void MacroEditor::takeDecoded(DecodedBody decoded) {
    script_ = std::move(decoded.script);
    hex_ = std::move(decoded.hex);
    if (!decoded.empty) {
        decodedMode_ = decoded.mode;
        if (decoded.mode == DelayMode::DefaultDelay)
            decodedDelay_ = std::clamp(decoded.defaultDelay, kDefaultDelayMin, kDefaultDelayMax);
    }
    entry_ = script_.events.empty() ? std::nullopt
                                    : std::optional<std::size_t>(script_.events.size() - 1);
}

void MacroEditor::selectMacro(std::size_t n) {
    if (n >= kMacroCount || recorder_.active() || insertOpen_) return;
    macro_ = n;
    presses_ = releases_ = 0;
    takeDecoded(MacroBodyToScript(store_, n));
}

void MacroEditor::deselectMacro() {
    if (recorder_.active()) recorder_.stop();
    macro_.reset();
    entry_.reset();
    script_.clear();
    hex_.clear();
    presses_ = releases_ = 0;
    insertOpen_ = false;
}

void MacroEditor::reload() {
    if (recorder_.active()) stopRecording();
    insertOpen_ = false;
    if (macro_) {
        presses_ = releases_ = 0;
        takeDecoded(MacroBodyToScript(store_, *macro_));
    }
}

bool MacroEditor::encode() {
    if (!macro_) return false;
    StoreResult stored = ScriptToMacroBody(script_, store_, *macro_);
    if (stored.ok) hex_ = std::move(stored.hex);
    return stored.ok;
}

void MacroEditor::recount() {
    presses_ = script_.pressCount();
    releases_ = script_.releaseCount();
}

// ---- recording -----------------------------------------------------------------------------

bool MacroEditor::startRecording(const RecordingSettings& settings) {
    if (!macro_ || insertOpen_ || !recorder_.startNormal(settings)) return false;
    script_.clear();
    hex_.clear();
    entry_.reset();
    return true;
}

bool MacroEditor::startInsertRecording(const RecordingSettings& settings) {
    if (!macro_ || !insertOpen_ || isDelayKind(kind_) || !entry_) return false;
    const InsertSide side = kind_ == InsertKind::KeyFront ? InsertSide::Front : InsertSide::Back;
    return recorder_.startInsert(script_, *entry_, side, settings);
}

void MacroEditor::finishRecording() {
    const bool inserting = insertOpen_;
    presses_ = recorder_.pressCount();
    releases_ = recorder_.releaseCount();
    script_ = recorder_.takeScript();
    // A normal recording goes into the macro now; an insert recording waits for OK.
    if (!inserting) encode();
    if (entry_ && *entry_ >= script_.events.size()) entry_.reset();
}

void MacroEditor::stopRecording() {
    if (!recorder_.active()) return;
    recorder_.stop();
    finishRecording();
}

RecordStep MacroEditor::afterStep(RecordStep step) {
    if (step.select) entry_ = step.select;
    if (step.stopped) finishRecording();
    return step;
}

RecordStep MacroEditor::key(const RecorderKeyEvent& event) {
    if (!recorder_.active()) return {};
    return afterStep(recorder_.key(event));
}

RecordStep MacroEditor::mouseButton(const RecorderButtonEvent& event) {
    if (!recorder_.active()) return {};
    return afterStep(recorder_.mouseButton(event));
}

// ---- editing -------------------------------------------------------------------------------

EditRefusal MacroEditor::deleteEntry() {
    if (recorder_.active() || insertOpen_) return EditRefusal::Busy;
    if (!macro_) return EditRefusal::NoMacro;
    if (!entry_ || *entry_ >= script_.events.size()) return EditRefusal::NoEntry;
    const std::size_t k = *entry_;
    auto& events = script_.events;
    const auto kind = parseEventLine(events[k]);
    const std::optional<std::size_t> partner = script_.partnerOf(k);
    const bool release = kind && kind->kind == LineKind::Release && partner;

    // The later line goes first so the earlier index stays valid.
    if (partner) {
        const std::size_t hi = std::max(k, *partner), lo = std::min(k, *partner);
        events.erase(events.begin() + static_cast<std::ptrdiff_t>(hi));
        events.erase(events.begin() + static_cast<std::ptrdiff_t>(lo));
    } else {
        events.erase(events.begin() + static_cast<std::ptrdiff_t>(k));
    }

    if (events.empty())
        entry_.reset();
    else if (release)
        entry_ = k > 1 ? std::min(k - 2, events.size() - 1) : 0;
    else
        entry_ = k > 0 ? std::min(k - 1, events.size() - 1) : 0;
    if (events.empty()) script_.header.clear();
    encode();
    recount();
    return EditRefusal::None;
}

EditRefusal MacroEditor::clearMacro() {
    if (recorder_.active() || insertOpen_) return EditRefusal::Busy;
    if (!macro_) return EditRefusal::NoMacro;
    store_.clear(*macro_);
    script_.clear();
    hex_.clear();
    entry_.reset();
    presses_ = releases_ = 0;
    return EditRefusal::None;
}

bool MacroEditor::rename(std::size_t n, std::string_view name) {
    if (n >= kMacroCount || name.empty() || !utf8ToUtf16(name)) return false;
    store_.setName(n, name); // which keeps what fits of a longer name
    names_[n] = store_.name(n);
    return true;
}

// ---- the insert panel ----------------------------------------------------------------------

void MacroEditor::openInsert(InsertKind kind) {
    if (recorder_.active()) return;
    insertOpen_ = true;
    kind_ = kind;
    rememberedEntry_ = entry_;
    recount();
}

EditRefusal MacroEditor::confirmInsert(int delayMs) {
    if (!insertOpen_ || recorder_.active()) return EditRefusal::Busy;
    if (!macro_) return EditRefusal::NoMacro;
    if (isDelayKind(kind_)) {
        if (!entry_ || *entry_ >= script_.events.size()) return EditRefusal::NoEntry;
        if (!script_.fitsWith(3)) return EditRefusal::WouldNotFit;
        const unsigned ms =
            static_cast<unsigned>(std::clamp(delayMs, kDefaultDelayMin, kDefaultDelayMax));
        const std::size_t at = *entry_ + (kind_ == InsertKind::DelayBack ? 1 : 0);
        script_.events.insert(script_.events.begin() + static_cast<std::ptrdiff_t>(at),
                              delayLine(ms));
        entry_ = at;
    }
    encode();
    insertOpen_ = false;
    recount();
    return EditRefusal::None;
}

void MacroEditor::cancelInsert() {
    if (recorder_.active()) return;
    insertOpen_ = false;
    if (macro_) {
        takeDecoded(MacroBodyToScript(store_, *macro_));
        selectEntry(rememberedEntry_);
    }
    recount();
}

int MacroEditor::delayFieldValue(std::string_view text) {
    long value = 0;
    bool digits = false;
    for (char c : text) {
        if (c < '0' || c > '9') return kDefaultDelayMin;
        digits = true;
        value = std::min<long>(value * 10 + (c - '0'), kDefaultDelayMax + 1L);
    }
    if (!digits) return kDefaultDelayMin;
    return static_cast<int>(std::clamp<long>(value, kDefaultDelayMin, kDefaultDelayMax));
}

// ---- files ---------------------------------------------------------------------------------

namespace {
MacroFileResult noMacroSelected() {
    MacroFileResult r;
    r.ok = false;
    r.error = "No macro is selected.";
    r.kind = MacroFileError::NoSuchMacro;
    return r;
}
} // namespace

MacroFileResult MacroEditor::exportOne(const std::filesystem::path& path) const {
    if (!macro_) return noMacroSelected();
    return exportOneMacro(path, store_, *macro_);
}

MacroFileResult MacroEditor::exportAll(const std::filesystem::path& path) const {
    return exportAllMacros(path, store_);
}

MacroFileResult MacroEditor::importOne(const std::filesystem::path& path) {
    if (!macro_) return noMacroSelected();
    MacroFileResult result = importOneMacro(path, store_, *macro_);
    if (result) {
        names_ = RefreshMacroName(store_);
        reload();
    }
    return result;
}

MacroFileResult MacroEditor::importAll(const std::filesystem::path& path) {
    MacroFileResult result = importAllMacros(path, store_);
    if (result) {
        names_ = RefreshMacroName(store_);
        reload();
    }
    return result;
}

} // namespace orlix
