#include "device/TracingBackend.h"

namespace orlix::device {

bool TracingBackend::setFeature(HidHandle handle, std::span<const std::uint8_t> report) {
    const bool ok = inner_.setFeature(handle, report);
    write("set", report, ok);
    return ok;
}

bool TracingBackend::getFeature(HidHandle handle, std::span<std::uint8_t> report) {
    const bool ok = inner_.getFeature(handle, report);
    write("get", report, ok);
    return ok;
}

void TracingBackend::write(const char* direction, std::span<const std::uint8_t> report, bool ok) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line = direction;
    for (std::uint8_t b : report) {
        line += ' ';
        line += kDigits[b >> 4];
        line += kDigits[b & 0x0F];
    }
    if (!ok) line += " failed";
    line += '\n';
    out_ << line;
    ++lines_;
}

} // namespace orlix::device
