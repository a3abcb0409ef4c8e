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

bool MacroRecorder::isHeld(unsigned id) const {
    return std::any_of(held_.begin(), held_.end(), [id](const Held& h) { return h.id == id; });
}

void MacroRecorder::release(unsigned id) {
    std::erase_if(held_, [id](const Held& h) { return h.id == id; });
}

std::size_t MacroRecorder::heldReserve() const {
    const std::size_t delayBytes = mode_ == DelayMode::NoDelay ? 0 : 3;
    std::size_t n = 0;
    for (const Held& h : held_)
        n += h.release.bytes + delayBytes;
    return n;
}

void MacroRecorder::stopBySelf(StopReason reason, RecordStep& step) {
    // The room for these releases was kept free, so they always fit; the latest press is
    // released first.
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
        addLine(it->release.line, it->release.bytes, step, true);
        if (it->release.bytes == 2) ++releaseCount_;
    }
    active_ = false;
    stopReason_ = reason;
    lastTick_.reset();
    held_.clear();
    step.stopped = true;
}

RecordStep MacroRecorder::record(const Event& event, const Held* held) {
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
    std::size_t needed = event.bytes + (delay ? 3 : 0) + heldReserve();
    if (held) needed += held->release.bytes + (mode_ == DelayMode::NoDelay ? 0 : 3);
    if (encodedSize_ + needed > kMacroBodySize) {
        // The body is full: end the recording before the event rather than lose its bytes.
        stopBySelf(StopReason::Full, step);
        return step;
    }
    if (script_.empty()) script_.header = delayHeader(mode_, defaultDelay_);
    if (delay) addLine(delayLine(*delay), 3, step, false);
    addLine(event.line, event.bytes, step, true);
    if (held) held_.push_back(*held);
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
    if (down == isHeld(id)) return {};

    auto makeLine = [&](bool pressed) {
        if (bit != 0) return modifierLine(pressed, bit);
        const std::string_view name =
            hasOwnName(event.named) ? KeyDisplayName(event.named) : UsageName(usage);
        return keyLine(pressed, usage, name);
    };

    if (down) {
        // A refused press leaves the key unheld, so its release is dropped as well.
        if (pressCount_ >= kEntryLimit) return {};
        const Held held{id, {makeLine(false), 2}};
        RecordStep step = record({makeLine(true), 2}, &held);
        if (step.linesAdded > 0 && !step.stopped) ++pressCount_;
        return step;
    }

    release(id);
    if (releaseCount_ >= kEntryLimit) return {};
    RecordStep step = record({makeLine(false), 2});
    if (step.linesAdded > 0 && !step.stopped) ++releaseCount_;
    if (active_ && releaseCount_ >= kEntryLimit) stopBySelf(StopReason::ReleaseLimit, step);
    return step;
}

RecordStep MacroRecorder::mouseButton(const RecorderButtonEvent& event) {
    if (!active_) return {};
    if (event.button == MouseButton::Left && pointerOverButton_) return {};
    const unsigned id = buttonCode(event.button, false);
    const Event line{mouseButtonLine(event.button, event.pressed), 1};
    if (!event.pressed) {
        release(id);
        return record(line);
    }
    // A second press of a button already down still needs only one release.
    if (isHeld(id)) return record(line);
    const Held held{id, {mouseButtonLine(event.button, false), 1}};
    return record(line, &held);
}

} // namespace orlix
