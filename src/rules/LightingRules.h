#pragma once

#include "model/Configuration.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orlix::pages {

// The rules of the Breathing-light page over the configuration's lighting state: the
// lighting mode (RGBMode_OnClick), the four ten-step timing bars (OffTime_OnClick ..
// FallTime_OnClick), the colour mode (LEDColModeChange) and the mode-1 colour, from the colour
// dialog or the percentage edits. The mode-2 colour is shown and carried, never edited.
//
// While bit 0 of the image's lighting flags is set the mouse has no lighting settings: the
// image keeps its lighting bytes whatever the page holds, so every change is refused then and
// the page shows itself disabled.
class LightingRules {
public:
    enum class Bar { Off, Raise, On, Fall };
    static constexpr std::array<Bar, 4> kBars{Bar::Off, Bar::Raise, Bar::On, Bar::Fall};
    static constexpr int kSteps = 10;
    static constexpr std::array<std::string_view, 3> kModeNames{"Random", "Colorful", "Custom"};

    // The stored byte of steps 1..10, and the step a stored byte shows.
    static std::array<std::uint8_t, kSteps> stepTable(Bar bar);
    static int stepOf(Bar bar, std::uint8_t stored);
    // "Random", "Colorful", "Custom" (the option's name, as the clicked label carries it).
    static std::optional<int> modeOf(std::string_view option);

    explicit LightingRules(Configuration& config) : config_(config) {}

    // Bit 0 of the lighting flags is clear: the page's changes reach the image.
    bool editable() const;
    // After an image was taken in: a page without lighting settings shows nothing stale.
    void refresh();

    int mode() const;        // 0 random, 1 colourful, 2 custom
    int step(Bar bar) const; // 1..10
    int colourMode() const;  // 1 or 2
    // The percentages of colour mode 1 or 2 as held: a byte read from an image above 100 is
    // kept as it was until the user changes that channel.
    std::array<int, 3> colour(int colourMode) const;

    bool chooseMode(int mode);
    bool setStep(Bar bar, int step);
    bool chooseColourMode(int colourMode);
    // A colour from the dialog, channels 0..255, becomes the mode-1 percentages
    // (channel * 100 / 255, rounded down). Refused in colour mode 2.
    bool pickColour(int red, int green, int blue);
    // A percentage edit of colour mode 1 (channel 0..2) changed to `text`: the value kept is
    // its digits' number, at most 100 (empty is 0). Refused in colour mode 2. Returns the
    // text the edit should show now, or nullopt when refused.
    std::optional<std::string> editPercent(int channel, std::string_view text);

    // RGBParaValue_OnClick: an edit's text after the check (digits only, empty "0", over
    // 100 "100", without leading zeros).
    static std::string correctedPercentText(std::string_view text);
    // The swatch's channel for a percentage: percent * 255 / 100, never above 255.
    static int swatchChannel(int percent);

private:
    LightingPage& page() const { return config_.page.lighting; }

    Configuration& config_;
};

} // namespace orlix::pages
