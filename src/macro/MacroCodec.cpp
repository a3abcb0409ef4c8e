#include "macro/MacroCodec.h"

#include "model/Hex.h"
#include "model/KeyTables.h"

#include <algorithm>
#include <array>

namespace orlix {

namespace {

// Length of the code starting with `c`, 0 for a byte that starts no code. An end code before
// the last byte is one byte long: the walk steps over it, so no event after it is lost.
std::size_t codeLength(std::uint8_t c) {
    switch (c) {
    case macrocode::kEnd:
        return 1;
    case macrocode::kModifierPress:
    case macrocode::kModifierRelease:
    case macrocode::kKeyPress:
    case macrocode::kKeyRelease:
    case 0xFD:
        return 2;
    case macrocode::kDelay:
    case 0x04:
    case 0x83:
        return 3;
    case 0x03:
    case 0xFC:
        return 1;
    default:
        break;
    }
    // Mouse buttons: 0x20 + one button bit, with or without the press bit.
    const std::uint8_t bit = c & 0x1F;
    if ((c & 0x60) == macrocode::kButtonRelease &&
        (bit == 0x01 || bit == 0x02 || bit == 0x04 || bit == 0x08 || bit == 0x10))
        return 1;
    return 0;
}

bool isButtonCode(std::uint8_t c) {
    return codeLength(c) == 1 && c != 0x03 && c != 0xFC && c != macrocode::kEnd;
}

} // namespace

EncodedBody encodeScript(const MacroScript& script) {
    EncodedBody out;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kMacroBodySize);
    for (std::size_t i = 0; i < script.events.size(); ++i) {
        auto e = parseEventLine(script.events[i]);
        if (!e) {
            out.badEntry = i;
            return out;
        }
        if (e->kind == LineKind::Delay) {
            unsigned ms = std::min(e->delayMs, kDelayCodeMax);
            bytes.push_back(macrocode::kDelay);
            bytes.push_back(static_cast<std::uint8_t>(ms >> 8));
            bytes.push_back(static_cast<std::uint8_t>(ms & 0xFF));
        } else {
            bytes.insert(bytes.end(), e->code.begin(), e->code.end());
        }
        if (bytes.size() + 1 > kMacroBodySize) {
            out.badEntry = i;
            out.tooLong = true;
            return out;
        }
    }
    bytes.push_back(macrocode::kEnd);
    out.hex = toHex(bytes);
    out.bytes = std::move(bytes);
    return out;
}

DecodedBody decodeBody(std::span<const std::uint8_t> body, std::size_t length) {
    DecodedBody out;
    if (length == 0 || length > kMacroBodySize || length > body.size()) return out;
    out.empty = false;
    out.hex = toHex(body.first(length));
    out.script.header = "00";

    std::array<unsigned, 4> firstDelays{};
    std::size_t delaysSeen = 0;
    const std::size_t end = length - 1; // the end code is not visited
    std::size_t offset = 0;
    while (offset < end) {
        const std::uint8_t c = body[offset];
        const std::size_t size = codeLength(c);
        if (size == 0 || offset + size > end) {
            out.truncated = true;
            break;
        }
        const std::uint8_t arg = size > 1 ? body[offset + 1] : 0;
        switch (c) {
        case macrocode::kEnd:
            break;
        case macrocode::kModifierPress:
        case macrocode::kModifierRelease:
            out.script.events.push_back(modifierLine(c == macrocode::kModifierPress, arg));
            break;
        case macrocode::kKeyPress:
        case macrocode::kKeyRelease:
            out.script.events.push_back(keyLine(c == macrocode::kKeyPress, arg, UsageName(arg)));
            break;
        case macrocode::kDelay: {
            unsigned ms = static_cast<unsigned>(arg << 8 | body[offset + 2]);
            out.script.events.push_back(delayLine(ms));
            if (delaysSeen < firstDelays.size()) firstDelays[delaysSeen] = ms;
            ++delaysSeen;
            break;
        }
        default:
            if (isButtonCode(c)) {
                auto button = static_cast<MouseButton>(c & 0x1F);
                out.script.events.push_back(
                    mouseButtonLine(button, (c & macrocode::kPressBit) != 0));
            } else {
                ++out.skippedCodes;
            }
            break;
        }
        offset += size;
    }

    const bool allZero =
        std::all_of(firstDelays.begin(), firstDelays.end(), [](unsigned d) { return d == 0; });
    const bool allEqual = std::all_of(firstDelays.begin(), firstDelays.end(),
                                      [&](unsigned d) { return d == firstDelays[0]; });
    if (allZero) {
        out.mode = DelayMode::NoDelay;
    } else if (allEqual) {
        out.mode = DelayMode::DefaultDelay;
        out.defaultDelay = static_cast<int>(firstDelays[0]);
    } else {
        out.mode = DelayMode::RecordDelay;
    }
    out.script.header = delayHeader(out.mode, out.defaultDelay);
    return out;
}

StoreResult ScriptToMacroBody(const MacroScript& script, MacroStore& store, std::size_t n) {
    StoreResult out;
    if (n >= kMacroCount) return out;
    EncodedBody encoded = encodeScript(script);
    out.badEntry = encoded.badEntry;
    out.tooLong = encoded.tooLong;
    if (!encoded.ok()) return out;
    std::copy(encoded.bytes.begin(), encoded.bytes.end(), store.bodies[n].begin());
    store.setBodyLength(n, static_cast<std::uint16_t>(encoded.bytes.size()));
    out.ok = true;
    out.length = encoded.bytes.size();
    out.hex = std::move(encoded.hex);
    return out;
}

DecodedBody MacroBodyToScript(const MacroStore& store, std::size_t n) {
    if (n >= kMacroCount) return {};
    return decodeBody(store.bodies[n], store.bodyLength(n));
}

} // namespace orlix
