#pragma once

#include "model/MacroStore.h"
#include "model/ParameterImage.h"

#include <cstdint>
#include <span>
#include <string>

namespace orlix {

// What a mouse looks like when a write was cut short (a signal, an unplug, a crash): the
// erase went through but the new contents did not. Repairing such an image gives the
// default contents, which must not pass for the mouse's own settings.
enum class HalfWrittenSign {
    None,
    ImageErased,       // the 256 image bytes are all 0xFF
    EverySectionFails, // sections A, B, fire keys and profiles all fail their checksums
    MacroTableErased,  // a macro mouse whose macro table reads all 0xFF
};

// `layout`: the data type the image is read with. `macroTable`: the table read from a macro
// mouse, or nullptr for a mouse without macro memory (and for files, whose table of a basic
// mouse is 0xFF by design).
HalfWrittenSign halfWrittenSign(std::span<const std::uint8_t, kImageSize> image,
                                std::uint8_t layout, const MacroTableBytes* macroTable);

// "every section checksum of its image fails", for messages.
std::string describe(HalfWrittenSign sign);

} // namespace orlix
