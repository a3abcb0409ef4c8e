#pragma once

#include "device/HidBackend.h"

#include <cstdint>
#include <ostream>

namespace orlix::device {

// Passes everything to another backend and writes one line per feature report:
// "set" or "get", then the report bytes as upper-case hex pairs separated by blanks (for a
// get, the bytes as answered). A report that failed gets " failed" after its bytes.
class TracingBackend : public HidBackend {
public:
    TracingBackend(HidBackend& inner, std::ostream& out) : inner_(inner), out_(out) {}

    std::vector<HidInterfaceInfo> enumerate() override { return inner_.enumerate(); }
    int countInterfaces() override { return inner_.countInterfaces(); }
    HidHandle open(const std::string& path) override { return inner_.open(path); }
    bool setFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
    bool getFeature(HidHandle handle, std::span<std::uint8_t> report) override;
    void close(HidHandle handle) override { inner_.close(handle); }

    std::uint64_t lines() const { return lines_; }

private:
    void write(const char* direction, std::span<const std::uint8_t> report, bool ok);

    HidBackend& inner_;
    std::ostream& out_;
    std::uint64_t lines_ = 0;
};

} // namespace orlix::device
