#pragma once

#include "model/Edition.h"
#include "model/TextSource.h"

namespace orlix::test {

// The first language's texts that the model reads, as both editions ship them. Tests of the
// model use these so they do not depend on the language tables.
inline MapTextSource language1Texts(Edition edition = Edition::Editor) {
    MapTextSource t({
        {"Str210", "Left Key"},    {"Str211", "Right Key"},     {"Str212", "Middle Key"},
        {"Str213", "Backward"},    {"Str214", "Forward"},       {"Str221", "Power"},
        {"Str222", "Sleep"},       {"Str223", "Wake Up"},       {"Str231", "Double Click"},
        {"Str232", "Fire2 Key"},   {"Str233", "Fire3 Key"},     {"Str234", "Fire4 Key"},
        {"Str240", "Fire Mode"},   {"Str241", "AIM Key"},       {"Str242", "Alternate profile"},
        {"Str243", "CPI"},         {"Str244", "Report Rate"},   {"Str245", "Alternate key reset"},
        {"Str246", "LED Mode"},    {"Str247", "CPI +"},         {"Str248", "CPI -"},
        {"Str250", "Play/Pause"},  {"Str251", "Stop"},          {"Str252", "Previous Track"},
        {"Str253", "Next Track"},  {"Str254", "Volume +"},      {"Str255", "Volume -"},
        {"Str256", "Mute"},        {"Str260", "WWW Home"},      {"Str261", "WWW Search"},
        {"Str262", " Back"},       {"Str263", "Forward"},       {"Str264", "WWW Stop"},
        {"Str265", "WWW Refresh"}, {"Str266", "WWW Favorites"}, {"Str300", "600"},
        {"Str301", "800"},         {"Str302", "1000"},          {"Str303", "1200"},
        {"Str304", "1600"},        {"Str305", "2400"},          {"Str306", "3500"},
        {"Str307", "4800"},
    });
    const char* values[] = {"200",  "400",  "600",  "800",  "1000", "1200",
                            "1600", "2000", "2400", "3500", "4800", "6000"};
    for (int i = 0; i < 12; ++i)
        t.set("Str" + std::to_string(320 + i), values[i]);
    if (edition == Edition::EditorS) {
        t.set("Str326", "2000");
        t.set("Str327", "1600");
    }
    return t;
}

} // namespace orlix::test
