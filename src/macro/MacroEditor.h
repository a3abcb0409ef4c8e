#pragma once

#include "macro/MacroCodec.h"
#include "macro/MacroFiles.h"
#include "macro/MacroRecorder.h"
#include "macro/MacroScript.h"
#include "model/FileIo.h"
#include "model/MacroStore.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orlix {

// The four kinds of the insert panel, in the order of its list.
enum class InsertKind : std::uint8_t { DelayFront, DelayBack, KeyFront, KeyBack };
constexpr bool isDelayKind(InsertKind kind) {
    return kind == InsertKind::DelayFront || kind == InsertKind::DelayBack;
}

// Why an editing command did nothing.
enum class EditRefusal : std::uint8_t {
    None,
    NoMacro,     // no macro is selected
    NoEntry,     // the command needs a selected event entry
    Busy,        // a recording runs, or the insert panel is (not) open as the command needs
    WouldNotFit, // the body would exceed its 1024 bytes: the user is told (Str028)
};

// The rules of the macro page: which macro and event entry are selected, what the event list
// shows, recording into the selected macro, deleting events in press/release pairs, the insert
// panel, clearing and renaming. It changes only the macro store and the list of names; the
// page's widgets render it. Nothing is ever encoded without a selected macro, and no command
// lets a body grow past 1024 bytes.
class MacroEditor {
public:
    static constexpr const char* kWouldNotFitMessageId = "Str028";

    MacroEditor(MacroStore& store, MacroNames& names, MacroRecorder::Clock clock);

    // ---- selection and what the event list shows
    std::optional<std::size_t> selectedMacro() const { return macro_; }
    // Shows macro n: counts cleared, its body decoded, the last entry selected.
    void selectMacro(std::size_t n);
    // No macro (the mouse went away): the event list empties, the store stays.
    void deselectMacro();
    // Decodes the selected macro again (after an import, a file load or a device read).
    void reload();

    // The script the list shows: the recorder's while a recording runs.
    const MacroScript& script() const;
    std::size_t entryCount() const { return script().events.size(); }
    std::optional<std::size_t> selectedEntry() const { return entry_; }
    void selectEntry(std::optional<std::size_t> k);
    const std::string& hexText() const { return hex_; }
    // The delay mode and default delay the last decode found in the body.
    DelayMode decodedMode() const { return decodedMode_; }
    int decodedDefaultDelay() const { return decodedDelay_; }

    // Press and release counts of the running kind; the list's last row turns red while both
    // reach the limit of one recording.
    std::size_t pressCount() const;
    std::size_t releaseCount() const;
    bool atLimits() const;

    // ---- recording
    // A normal recording replaces the selected macro's events; it is encoded when it stops.
    bool startRecording(const RecordingSettings& settings);
    // An insert recording adds events before or after the selected entry; OK keeps them.
    bool startInsertRecording(const RecordingSettings& settings);
    void stopRecording();
    bool recording() const { return recorder_.active(); }
    bool insertRecording() const { return recorder_.inserting(); }
    // Events of the running recording. A step that stops the recording has already finished
    // it (encoded a normal recording).
    RecordStep key(const RecorderKeyEvent& event);
    RecordStep mouseButton(const RecorderButtonEvent& event);
    void setPointerOverRecordButton(bool over) { recorder_.setPointerOverRecordButton(over); }
    // "Str027" after a recording that stopped because the body was full; null otherwise.
    const char* stopMessageId() const { return recorder_.stopMessageId(); }

    // ---- editing
    // Deletes the selected entry; a press goes with the nearest following release of the same
    // code, a release with the nearest preceding press. Encodes the result.
    EditRefusal deleteEntry();
    // Empties the selected macro: length 0, body 0xFF, the name stays.
    EditRefusal clearMacro();
    // The name (at most 14 characters) goes to the list and the store's table at once; an
    // empty name changes nothing.
    bool rename(std::size_t n, std::string_view name);

    // ---- the insert panel
    void openInsert(InsertKind kind);
    void setInsertKind(InsertKind kind) { kind_ = kind; }
    InsertKind insertKind() const { return kind_; }
    bool insertOpen() const { return insertOpen_; }
    // OK of the panel. Delay kinds insert a delay of `delayMs` before or after the selected
    // entry (refused with WouldNotFit when the body would overflow) and select it; the key
    // kinds keep what the insert recording added. Both encode and close the panel.
    EditRefusal confirmInsert(int delayMs);
    // Cancel: the panel closes, the stored body is shown again with the entry that was
    // selected when the panel opened.
    void cancelInsert();

    // What a delay field stands for: its number clamped to 1..65530; 1 for an empty field or
    // one that holds no number.
    static int delayFieldValue(std::string_view text);

    // ---- files
    MacroFileResult exportOne(const std::filesystem::path& path) const;
    MacroFileResult exportAll(const std::filesystem::path& path) const;
    // After an import the names come from the table and the selected macro is shown anew.
    MacroFileResult importOne(const std::filesystem::path& path);
    MacroFileResult importAll(const std::filesystem::path& path);

private:
    bool encode();
    void takeDecoded(DecodedBody decoded);
    void finishRecording();
    void recount();
    RecordStep afterStep(RecordStep step);

    MacroStore& store_;
    MacroNames& names_;
    MacroRecorder recorder_;
    MacroScript script_;
    std::string hex_;
    std::optional<std::size_t> macro_;
    std::optional<std::size_t> entry_;
    std::optional<std::size_t> rememberedEntry_;
    DelayMode decodedMode_ = DelayMode::NoDelay;
    int decodedDelay_ = kDefaultDelayInitial;
    std::size_t presses_ = 0;
    std::size_t releases_ = 0;
    bool insertOpen_ = false;
    InsertKind kind_ = InsertKind::DelayFront;
};

} // namespace orlix
