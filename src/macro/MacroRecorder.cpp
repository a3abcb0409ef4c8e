#include "macro/MacroRecorder.h"

#include "model/MacroStore.h"

#include <algorithm>
#include <utility>

namespace orlix {

namespace {

std::uint8_t modifierBitOf(TKeyboardHookKey key) {
    switch (key) {
    case kh_Control:
    case kh_LControl:
    case kh_RControl:
        return modifier::kCtrl;
    case kh_Shift:
    case kh_LShift:
    case kh_RShift:
        return modifier::kShift;
    case kh_Alt:
    case kh_LAlt:
    case kh_RAlt:
        return modifier::kAlt;
    case kh_LWIN:
        return modifier::kLeftWin;
    case kh_RWIN:
        return modifier::kRightWin;
    default:
        return 0;
    }
}

bool hasOwnName(TKeyboardHookKey key) {
    return key != kh_None && key != kh_Demo && key != kh_255 && !KeyDisplayName(key).empty();
}

} // namespace

MacroRecorder::MacroRecorder(Clock clock) : clock_(std::move(clock)) {}

void MacroRecorder::begin(const RecordingSettings& settings) {
    active_ = true;
    mode_ = settings.mode;
    defaultDelay_ = std::clamp(settings.defaultDelay, kDefaultDelayMin, kDefaultDelayMax);
    lastTick_.reset();
    held_.clear();
    stopReason_ = StopReason::None;
    encodedSize_ = script_.encodedSize();
}

bool MacroRecorder::startNormal(const RecordingSettings& settings) {
    if (active_) return false;
    script_.clear();
    insertSide_.reset();
    insertPosition_ = 0;
    pressCount_ = 0;
    releaseCount_ = 0;
    begin(settings);
    return true;
}

bool MacroRecorder::startInsert(MacroScript script, std::size_t selected, InsertSide side,
                                const RecordingSettings& settings) {
    if (active_ || selected >= script.events.size()) return false;
    const std::size_t presses = script.pressCount();
    const std::size_t releases = script.releaseCount();
    if (presses >= kEntryLimit || releases >= kEntryLimit) return false;
    script_ = std::move(script);
    insertSide_ = side;
    insertPosition_ = selected;
    pressCount_ = presses;
    releaseCount_ = releases;
    begin(settings);
    return true;
}

void MacroRecorder::stop() {
    if (!active_) return;
    active_ = false;
    stopReason_ = StopReason::User;
    lastTick_.reset();
    held_.clear();
}

const char* MacroRecorder::stopMessageId() const {
    return stopReason_ == StopReason::Full ? kFullMessageId : nullptr;
}

MacroScript MacroRecorder::takeScript() {
    MacroScript out = std::move(script_);
    script_.clear();
    return out;
}

void MacroRecorder::addLine(std::string line, std::size_t bytes, RecordStep& step, bool selectIt) {
    encodedSize_ += bytes;
    ++step.linesAdded;
    if (!insertSide_) {
        script_.events.push_back(std::move(line));
        if (selectIt) step.select = script_.events.size() - 1;
        return;
    }
    const std::size_t at = insertPosition_ + (*insertSide_ == InsertSide::Front ? 0 : 1);
    script_.events.insert(script_.events.begin() + static_cast<std::ptrdiff_t>(at),
                          std::move(line));
    ++insertPosition_;
    if (selectIt) step.select = insertPosition_;
}

RecordStep MacroRecorder::record(const Event& event) {
    RecordStep step;
    const std::uint32_t now = clock_();
    std::optional<unsigned> delay;
    if (lastTick_) {
        if (mode_ == DelayMode::RecordDelay) {
            const std::uint32_t elapsed = std::min<std::uint32_t>(now - *lastTick_, kDelayCodeMax);
            if (elapsed > 0) delay = elapsed;
        } else if (mode_ == DelayMode::DefaultDelay) {
            delay = static_cast<unsigned>(defaultDelay_);
        }
    }
    const std::size_t extra = event.bytes + (delay ? 3 : 0);
    if (encodedSize_ + extra > kMacroBodySize) {
        // The body is full: end the recording before the event rather than lose its bytes.
        active_ = false;
        stopReason_ = StopReason::Full;
        lastTick_.reset();
        held_.clear();
        step.stopped = true;
        return step;
    }
    if (script_.empty()) script_.header = delayHeader(mode_, defaultDelay_);
    if (delay) addLine(delayLine(*delay), 3, step, false);
    addLine(event.line, event.bytes, step, true);
    if (mode_ != DelayMode::NoDelay) lastTick_ = now;
    return step;
}

RecordStep MacroRecorder::key(const RecorderKeyEvent& event) {
    if (!active_ || event.transition == KeyTransition::Repeat) return {};
    const TKeyboardHookKey physical = event.physical != kh_None ? event.physical : event.named;
    const std::uint8_t bit = modifierBitOf(physical);
    const std::uint8_t usage = KeyToUsage(physical);
    if (bit == 0 && usage == 0) return {};

    // A key is known by its release code, so both Ctrl keys are one modifier.
    const unsigned id = bit != 0 ? (unsigned{macrocode::kModifierRelease} << 8 | bit)
                                 : (unsigned{macrocode::kKeyRelease} << 8 | usage);
    const bool down = event.transition == KeyTransition::Down;
    const bool isHeld = held_.contains(id);
    if (down ? isHeld : !isHeld) return {};

    auto makeLine = [&](bool pressed) {
        if (bit != 0) return modifierLine(pressed, bit);
        const std::string_view name =
            hasOwnName(event.named) ? KeyDisplayName(event.named) : UsageName(usage);
        return keyLine(pressed, usage, name);
    };

    if (down) {
        // A refused press leaves the key unheld, so its release is dropped as well.
        if (pressCount_ >= kEntryLimit) return {};
        RecordStep step = record({makeLine(true), 2});
        if (step.linesAdded > 0) {
            held_.insert(id);
            ++pressCount_;
        }
        return step;
    }

    held_.erase(id);
    if (releaseCount_ >= kEntryLimit) return {};
    RecordStep step = record({makeLine(false), 2});
    if (step.linesAdded > 0) ++releaseCount_;
    if (active_ && releaseCount_ >= kEntryLimit) {
        active_ = false;
        stopReason_ = StopReason::ReleaseLimit;
        lastTick_.reset();
        held_.clear();
        step.stopped = true;
    }
    return step;
}

RecordStep MacroRecorder::mouseButton(const RecorderButtonEvent& event) {
    if (!active_) return {};
    if (event.button == MouseButton::Left && pointerOverButton_) return {};
    return record({mouseButtonLine(event.button, event.pressed), 1});
}

} // namespace orlix
