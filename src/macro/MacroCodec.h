#pragma once

#include "macro/MacroScript.h"
#include "model/MacroStore.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orlix {

// Result of encoding a script into body bytes.
struct EncodedBody {
    std::vector<std::uint8_t> bytes; // event codes and the end code; empty on failure
    std::string hex;                 // two upper-case digits per byte
    // Failure: the event entry (script line badEntry + 1) that is not a valid event line, or
    // the first entry that no longer fits the 1024 bytes of a body.
    std::optional<std::size_t> badEntry;
    bool tooLong = false;
    bool ok() const { return !badEntry.has_value(); }
};

// Encodes the event lines of a script: one code per line, delays up to 65535, then
// the end code. Refuses (with the entry named) a line that is not an event line, or a body
// that would exceed 1024 bytes.
EncodedBody encodeScript(const MacroScript& script);

// Result of decoding a body.
struct DecodedBody {
    MacroScript script; // empty when the macro is empty
    DelayMode mode = DelayMode::NoDelay;
    int defaultDelay = 0; // set when mode is DefaultDelay
    std::string hex;      // the BodyLength bytes as hex text
    bool empty = true;    // BodyLength 0 or above 1024
    // Device-only codes the script cannot show and that were left out, and whether decoding
    // stopped early at a code that does not belong there.
    std::size_t skippedCodes = 0;
    bool truncated = false;
};

// Decodes `length` bytes of a body (the last one is the end code and is not visited). Steps
// over an end code before the last byte; stops at an unknown code or a code that runs into
// the end code; never reads past `length` or the body.
DecodedBody decodeBody(std::span<const std::uint8_t> body, std::size_t length);

// Result of storing a script into the macro store.
struct StoreResult {
    bool ok = false;
    std::size_t length = 0; // the new BodyLength
    std::string hex;        // the diagnostic hex text
    std::optional<std::size_t> badEntry;
    bool tooLong = false;
};

// Encodes the script into body n and sets its BodyLength; body bytes after the new length keep
// their old values. On failure (or with n out of range) the store is left unchanged.
StoreResult ScriptToMacroBody(const MacroScript& script, MacroStore& store, std::size_t n);
// Decodes body n as the editor shows it.
DecodedBody MacroBodyToScript(const MacroStore& store, std::size_t n);

} // namespace orlix
