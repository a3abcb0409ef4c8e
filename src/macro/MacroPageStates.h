#pragma once

#include "macro/MacroEditor.h"

namespace orlix {

// What the macro page lets the user do in each state: which commands take clicks, which
// captions and fields are greyed, which caption the record buttons show. The page only
// draws the answer.
struct MacroPageSituation {
    bool editing = false;         // a mouse is shown and its pages can be edited
    bool locked = false;          // a transfer runs
    bool recording = false;       // a recording runs (either kind)
    bool insertRecording = false; // the running recording is the insert panel's
    bool insertOpen = false;      // the insert panel is shown
    int delayChoice = 0;          // 0 as recorded, 1 default delay, 2 no delay
    int insertChoice = 0;         // the same, on the insert panel
    InsertKind insertKind = InsertKind::DelayFront;
};

struct MacroPageStates {
    bool commands = false;   // the command column (Rename ... Insert)
    bool start = false;      // Record
    bool startStops = false; // Record reads "Stop" (Str401) instead of "Record" (Str400)
    bool names = false;      // the macro-name list
    bool events = false;     // the event list
    bool delayGroup = false; // the delay choices take clicks
    bool delayChoicesGrey = false;
    bool delayFieldEditable = false;
    bool insertGroup = false; // the insert panel takes clicks
    bool insertKindChoice = false;
    bool insertStart = false; // the panel's Record
    bool insertStartStops = false;
    bool okCancel = false;
    bool cover = false; // the cover over the panel's delay choices
    bool insertChoicesGrey = false;
    // The panel's delay field and its unit, for a key insert only (a delay insert shows its
    // own value and leaves them as it set them).
    bool insertFieldShown = false;
    bool insertFieldEditable = false;
    bool insertUnitGrey = false;
};

MacroPageStates macroPageStates(const MacroPageSituation& s);

} // namespace orlix
