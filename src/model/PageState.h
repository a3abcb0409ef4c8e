#pragma once

#include <array>
#include <optional>
#include <string>

namespace orlix {

// What the settings pages show, as plain data. The window renders these and changes them
// through the page rules; the image conversions read and write them.

struct ResolutionPage {
    std::array<std::string, 8> captions; // the eight value labels' texts
    std::array<bool, 8> on{};            // drawn in the selected colour
    std::optional<int> current;          // label (0..7) whose radio button is checked
    std::optional<int> reportRate;       // 1000 or 500: the checked option
    // The user changed the values or the current level since the image was last shown.
    // Until then the image's level bytes and current level are carried as they are, so
    // levels no label shows are not lost.
    bool touched = false;
};

struct LightingPage {
    std::optional<int> mode;              // 0 random, 1 colourful, 2 custom
    std::array<int, 4> steps{1, 1, 1, 1}; // off, rise, on, fall: 1..10
    std::optional<int> colourMode;        // 1 or 2
    std::array<int, 3> mode1{};           // per cent red, green, blue
    std::array<int, 3> mode2{};
};

struct FireKeyPage {
    // As the fields hold them (an empty field is 0); corrected when stored.
    std::array<int, 4> repeat{2, 2, 2, 2};
    std::array<int, 4> delay{16, 32, 48, 64};
    std::array<bool, 4> modeSelected{}; // the Fire Mode group
};

struct PageState {
    ResolutionPage resolution;
    LightingPage lighting;
    FireKeyPage fire;
    std::optional<int> activeProfile; // 0 main, 1 alternate, 2 reset-control
};

// The report rate the mouse was last shown with, to notice a change at the next write.
struct ReportRateMemory {
    int lastKnown = 0;
    bool changed = false;
};

} // namespace orlix
