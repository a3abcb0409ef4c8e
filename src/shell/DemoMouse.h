#pragma once

#include "device/SimulatedMouse.h"
#include "model/Edition.h"
#include "model/TextSource.h"

#include <cstdint>
#include <memory>
#include <span>

namespace orlix::shell {

// The simulated mouse of the demo mode: the edition's default image with one button of the
// main profile on "Alternate profile" and one of the alternate profile on "Alternate key
// reset", so every page of the window can be visited without the hardware. The macro kind
// also holds two small named macros, the first assigned to button 5 of the main profile.
std::unique_ptr<device::SimulatedMouse> makeDemoMouse(Edition edition,
                                                      std::span<const std::uint8_t> defaultResource,
                                                      bool macroKind, const TextSource& texts);

} // namespace orlix::shell
