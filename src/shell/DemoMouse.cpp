#include "shell/DemoMouse.h"

#include "macro/MacroCodec.h"
#include "model/Configuration.h"
#include "rules/LightingRules.h"

#include <algorithm>
#include <tuple>

namespace orlix::shell {

namespace {
constexpr int kDemoButton = 5;  // button 6: shown by every layout
constexpr int kMacroButton = 4; // button 5: shown by every layout
constexpr const char* kAlternateProfile = "07000000";
constexpr const char* kAlternateKeyReset = "0D000000";

// Two small macros as a user would record them: copy and paste with the keyboard (measured
// delays), and a double click (a default delay of 50 ms).
MacroStore demoMacros() {
    MacroStore store;
    store.table.fill(0);
    MacroScript copyPaste;
    copyPaste.header = "10";
    for (auto [usage, name, pause] :
         {std::tuple{std::uint8_t{0x06}, "C", 86u}, std::tuple{std::uint8_t{0x19}, "V", 0u}}) {
        copyPaste.events.push_back(modifierLine(true, modifier::kCtrl));
        copyPaste.events.push_back(delayLine(42));
        copyPaste.events.push_back(keyLine(true, usage, name));
        copyPaste.events.push_back(delayLine(71));
        copyPaste.events.push_back(keyLine(false, usage, name));
        copyPaste.events.push_back(delayLine(38));
        copyPaste.events.push_back(modifierLine(false, modifier::kCtrl));
        if (pause > 0) copyPaste.events.push_back(delayLine(pause));
    }
    MacroScript doubleClick;
    doubleClick.header = "0150";
    for (int i = 0; i < 2; ++i) {
        if (i > 0) doubleClick.events.push_back(delayLine(50));
        doubleClick.events.push_back(mouseButtonLine(MouseButton::Left, true));
        doubleClick.events.push_back(delayLine(50));
        doubleClick.events.push_back(mouseButtonLine(MouseButton::Left, false));
    }
    ScriptToMacroBody(copyPaste, store, 0);
    ScriptToMacroBody(doubleClick, store, 1);
    store.setName(0, "Copy & paste");
    store.setName(1, "Double click");
    return store;
}

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
    if (macroKind) demo.setAssignment(0, kMacroButton, macroAssignmentCode(0));
    demo.assemble(texts, false);
    const auto settings = macroKind ? device::SimulatedMouse::macroMouse(demo.working)
                                    : device::SimulatedMouse::basicMouse(demo.working);
    auto mouse = std::make_unique<device::SimulatedMouse>(settings);
    if (macroKind) {
        // Two named macros, the first on button 5 of the main profile.
        const MacroStore store = demoMacros();
        std::copy(store.table.begin(), store.table.end(),
                  mouse->memory().begin() + kMacroTableAddress);
        for (std::size_t n = 0; n < kMacroCount; ++n)
            std::copy(store.bodies[n].begin(), store.bodies[n].end(),
                      mouse->memory().begin() + macroBodyAddress(n));
    }
    return mouse;
}

} // namespace orlix::shell
