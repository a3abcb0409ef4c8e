#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orlix::device {

// What the HID capabilities say of one top-level collection of a report descriptor. Report
// lengths are in bytes and include the report id byte (also when the descriptor uses no
// report ids), the way the Windows HID parser reports them; 0 when the collection has no
// report of that kind.
struct CollectionCaps {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t inputReportLength = 0;
    std::uint16_t outputReportLength = 0;
    std::uint16_t featureReportLength = 0;
    std::vector<std::uint8_t> featureReportIds; // ascending; {0} when ids are not used
};

struct DescriptorError {
    std::string message;
    std::size_t offset = 0;
};

// Parses a report descriptor into its top-level collections. Truncated items, unbalanced
// collections, report ids of 0 and absurd report sizes are errors; nothing is read beyond
// the span.
struct ParsedDescriptor {
    std::vector<CollectionCaps> collections;
    std::optional<DescriptorError> error;
};
ParsedDescriptor parseReportDescriptor(std::span<const std::uint8_t> descriptor);

} // namespace orlix::device
