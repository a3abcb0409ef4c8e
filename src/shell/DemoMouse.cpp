#include "shell/DemoMouse.h"

#include "model/Configuration.h"
#include "pages/rules/LightingRules.h"

#include <algorithm>

namespace orlix::shell {

namespace {
constexpr int kDemoButton = 5; // button 6: shown by every layout
constexpr const char* kAlternateProfile = "07000000";
constexpr const char* kAlternateKeyReset = "0D000000";
} // namespace

std::unique_ptr<device::SimulatedMouse> makeDemoMouse(Edition edition,
                                                      std::span<const std::uint8_t> defaultResource,
                                                      bool macroKind, const TextSource& texts) {
    Configuration demo(edition);
    demo.startUp(defaultResource, texts);
    demo.setAssignment(0, kDemoButton, kAlternateProfile);
    demo.setAssignment(1, kDemoButton, kAlternateKeyReset);
    // The lighting in use, so the Breathing-light page has settings to show.
    auto& flags = demo.sections.a[image::kLightingFlags];
    flags = static_cast<std::uint8_t>(flags & ~kLightingUnused);
    pages::LightingRules lighting(demo);
    using Bar = pages::LightingRules::Bar;
    lighting.chooseMode(1);
    for (auto [bar, step] : {std::pair{Bar::Off, 3}, {Bar::Raise, 6}, {Bar::On, 5}, {Bar::Fall, 7}})
        lighting.setStep(bar, step);
    lighting.chooseColourMode(1);
    lighting.pickColour(255, 140, 0);
    demo.assemble(texts, false);
    const auto settings = macroKind ? device::SimulatedMouse::macroMouse(demo.working)
                                    : device::SimulatedMouse::basicMouse(demo.working);
    auto mouse = std::make_unique<device::SimulatedMouse>(settings);
    if (macroKind) {
        // Two named macros, so the macro list of the button menu has something to offer.
        MacroStore store;
        store.table.fill(0);
        store.setName(0, "Demo macro 1");
        store.setName(1, "Demo macro 2");
        std::copy(store.table.begin(), store.table.end(),
                  mouse->memory().begin() + kMacroTableAddress);
    }
    return mouse;
}

} // namespace orlix::shell
