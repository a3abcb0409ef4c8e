#pragma once

// The function tags of the assignment menus as the menus and the mouse define them, written
// out independently of the code: tag, menu entry, code (as stored for the default fire-key
// settings) and the text id that names it. Shared by the model and the menu tests.

#include <string_view>

namespace orlix::test {

struct FunctionTagRow {
    int tag;
    std::string_view control;
    std::string_view code;
    std::string_view nameId;
    bool secondEditionOnly = false;
};

// The fire-key rows hold the codes of the default fire keys: repeat 2, delays 16, 32, 48, 64.
inline constexpr FunctionTagRow kFunctionTags[] = {
    {900, "Key_Left", "01010000", "Str210"},
    {901, "Key_Right", "01020000", "Str211"},
    {902, "Key_Middle", "01040000", "Str212"},
    {903, "Key_B4", "01080000", "Str213"},
    {904, "Key_B5", "01100000", "Str214"},
    {1000, "Key_FireMode", "0F000000", "Str240"},
    {1001, "Key_AIM", "05000000", "Str241", true},
    {1002, "Key_Profile", "07000000", "Str242"},
    {1003, "Key_CPI", "09000000", "Str243"},
    {1004, "Key_ReportRate", "0C000000", "Str244"},
    {1005, "Key_Default", "0D000000", "Str245"},
    {1006, "Key_LEDMode", "0E000000", "Str246"},
    {1007, "Key_CPII", "09010000", "Str247"},
    {1008, "Key_CPID", "09020000", "Str248"},
    {1100, "Key_Power", "04010000", "Str221"},
    {1101, "Key_Sleep", "04020000", "Str222"},
    {1102, "Key_WakeUp", "04030000", "Str223"},
    {1200, "Key_FireMode1", "06120010", "Str231"},
    {1201, "Key_FireMode2", "06120020", "Str232"},
    {1202, "Key_FireMode3", "06120030", "Str233"},
    {1203, "Key_FireMode4", "06120040", "Str234"},
    {1300, "Key_PlayPause", "0300CD00", "Str250"},
    {1301, "Key_Stop", "0300B700", "Str251"},
    {1302, "Key_PreviousTrack", "0300B600", "Str252"},
    {1303, "Key_NextTrack", "0300B500", "Str253"},
    {1304, "Key_VolumePlus", "0300E900", "Str254"},
    {1305, "Key_VolumeMinus", "0300EA00", "Str255"},
    {1306, "Key_Mute", "0300E200", "Str256"},
    {1400, "Key_WWWHome", "03022300", "Str260"},
    {1401, "Key_WWWSearch", "03022100", "Str261"},
    {1402, "Key_WWWBack", "03022400", "Str262"},
    {1403, "Key_WWWForward", "03022500", "Str263"},
    {1404, "Key_WWWStop", "03022600", "Str264"},
    {1405, "Key_WWWRefresh", "03022700", "Str265"},
    {1406, "Key_WWWFavorites", "03022A00", "Str266"},
};

} // namespace orlix::test
