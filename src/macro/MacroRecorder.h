#pragma once

#include "macro/MacroScript.h"
#include "macro/RecorderEvents.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orlix {

// Delay settings of one recording.
struct RecordingSettings {
    DelayMode mode = DelayMode::RecordDelay;
    int defaultDelay = kDefaultDelayInitial; // clamped to 1..65530 at start
};

// Where insert-recorded events go relative to the chosen entry.
enum class InsertSide : std::uint8_t { Front, Back };

// Why the last recording ended.
enum class StopReason : std::uint8_t {
    None,         // still running, or never started
    User,         // stop()
    ReleaseLimit, // the 100th release was recorded
    Full,         // the next event would not have fitted the 1024 bytes of a body
};

// What one event did to the script.
struct RecordStep {
    std::size_t linesAdded = 0;        // 0, 1 (the event) or 2 (a delay and the event)
    std::optional<std::size_t> select; // the entry the event list should select
    bool stopped = false;              // the recording stopped by itself on this event
};

// The recording state machine: turns key and button events into script lines, with delays
// taken from an injected millisecond clock. A normal recording starts from an empty script;
// an insert recording adds lines before or after a chosen entry of an existing script. Keys
// roll: a press is recorded only for a key not already held, a release only for a held key.
// Keyboard presses and releases are each limited to 100 per recording; the recording stops by
// itself at the 100th release, and before an event that would not fit the body. Room for the
// release of every key and button held is kept free, so a recording that stops by itself ends
// with those releases and never leaves a key or button held at playback.
class MacroRecorder {
public:
    using Clock = std::function<std::uint32_t()>; // milliseconds, may wrap
    static constexpr std::size_t kEntryLimit = 100;
    // Text id of the message shown when a recording stopped because the macro is full.
    static constexpr const char* kFullMessageId = "Str027";

    explicit MacroRecorder(Clock clock);

    // Starts a normal recording: the script is cleared. Refused while a recording runs.
    bool startNormal(const RecordingSettings& settings);
    // Starts an insert recording into `script` against entry `selected`. Refused while a
    // recording runs, without a valid entry, or when the script's press or release lines
    // already number 100.
    bool startInsert(MacroScript script, std::size_t selected, InsertSide side,
                     const RecordingSettings& settings);
    // Ends the running recording (nothing happens when none runs).
    void stop();

    bool active() const { return active_; }
    bool inserting() const { return active_ && insertSide_.has_value(); }
    StopReason stopReason() const { return stopReason_; }
    // "Str027" when the last recording stopped because the body was full; null otherwise.
    const char* stopMessageId() const;

    // The script being recorded, or the result of the last recording.
    const MacroScript& script() const { return script_; }
    MacroScript takeScript();

    // Press and release counts of the running (or last) recording. For an insert recording
    // they start from the script's own press and release lines.
    std::size_t pressCount() const { return pressCount_; }
    std::size_t releaseCount() const { return releaseCount_; }
    bool atLimits() const { return pressCount_ >= kEntryLimit && releaseCount_ >= kEntryLimit; }

    // While the pointer is over the running kind's Record/Stop button, left-button events are
    // not recorded (that click is the one that stops the recording).
    void setPointerOverRecordButton(bool over) { pointerOverButton_ = over; }
    bool pointerOverRecordButton() const { return pointerOverButton_; }

    RecordStep key(const RecorderKeyEvent& event);
    RecordStep mouseButton(const RecorderButtonEvent& event);

private:
    struct Event {
        std::string line;
        std::size_t bytes;
    };
    // A key or button whose press was recorded and whose release has not come yet.
    struct Held {
        unsigned id; // release code(s), as one number
        Event release;
    };
    // `held` is set for a press: its release must fit as well, or the press is not recorded.
    RecordStep record(const Event& event, const Held* held = nullptr);
    void addLine(std::string line, std::size_t bytes, RecordStep& step, bool selectIt);
    void begin(const RecordingSettings& settings);
    bool isHeld(unsigned id) const;
    void release(unsigned id);
    // Bytes the releases of everything held may take, each with a delay before it.
    std::size_t heldReserve() const;
    // Ends a recording that stops by itself: every press still held gets its release.
    void stopBySelf(StopReason reason, RecordStep& step);

    Clock clock_;
    MacroScript script_;
    bool active_ = false;
    bool pointerOverButton_ = false;
    std::optional<InsertSide> insertSide_;
    std::size_t insertPosition_ = 0;
    DelayMode mode_ = DelayMode::RecordDelay;
    int defaultDelay_ = kDefaultDelayInitial;
    std::optional<std::uint32_t> lastTick_;
    std::size_t pressCount_ = 0;
    std::size_t releaseCount_ = 0;
    std::size_t encodedSize_ = 1;
    std::vector<Held> held_; // in the order they were pressed
    StopReason stopReason_ = StopReason::None;
};

} // namespace orlix
