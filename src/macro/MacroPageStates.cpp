#include "macro/MacroPageStates.h"

namespace orlix {

MacroPageStates macroPageStates(const MacroPageSituation& s) {
    const bool usable = s.editing && !s.locked;
    const bool normalRec = s.recording && !s.insertRecording;
    const bool insertRec = s.insertRecording;
    const bool idle = usable && !s.recording && !s.insertOpen;
    MacroPageStates st;
    st.commands = idle;
    st.start = usable && !s.insertOpen && !insertRec;
    st.startStops = normalRec;
    st.names = idle;
    st.events = usable && !s.recording;
    st.delayGroup = usable && !normalRec;
    st.delayChoicesGrey = normalRec;
    st.delayFieldEditable = s.delayChoice == 1 && !normalRec;
    st.insertGroup = usable;
    st.insertKindChoice = !insertRec;
    st.insertStart = usable && s.insertOpen;
    st.insertStartStops = insertRec;
    st.okCancel = usable && s.insertOpen && !insertRec;
    st.cover = insertRec;
    st.insertChoicesGrey = insertRec;
    st.insertFieldShown = s.insertOpen && !isDelayKind(s.insertKind);
    st.insertFieldEditable = s.insertChoice == 1 && !insertRec;
    st.insertUnitGrey = s.insertChoice != 1 || insertRec;
    return st;
}

} // namespace orlix
