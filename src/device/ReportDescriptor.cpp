#include "device/ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>

namespace orlix::device {
namespace {

enum class ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };

// Main item tags
constexpr std::uint8_t kInput = 0x8;
constexpr std::uint8_t kOutput = 0x9;
constexpr std::uint8_t kFeature = 0xB;
constexpr std::uint8_t kCollection = 0xA;
constexpr std::uint8_t kEndCollection = 0xC;
// Global item tags
constexpr std::uint8_t kUsagePage = 0x0;
constexpr std::uint8_t kReportSize = 0x7;
constexpr std::uint8_t kReportId = 0x8;
constexpr std::uint8_t kReportCount = 0x9;
constexpr std::uint8_t kPush = 0xA;
constexpr std::uint8_t kPop = 0xB;
// Local item tags
constexpr std::uint8_t kUsage = 0x0;

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::size_t kMaxStackDepth = 32;
constexpr std::uint64_t kMaxReportBits = 0xFFFEull * 8; // the length must fit 16 bits with its id

struct Globals {
    std::uint16_t usagePage = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

struct Building {
    CollectionCaps caps;
    std::map<std::uint8_t, std::uint64_t> inputBits;
    std::map<std::uint8_t, std::uint64_t> outputBits;
    std::map<std::uint8_t, std::uint64_t> featureBits;
};

std::uint16_t longestReport(const std::map<std::uint8_t, std::uint64_t>& bits) {
    std::uint64_t longest = 0;
    for (const auto& [id, count] : bits)
        longest = std::max(longest, (count + 7) / 8 + 1);
    return static_cast<std::uint16_t>(longest);
}

// The parser's state between items. Each item kind has its own step; a step returns the
// fault that ends the parse, if any.
struct Parser {
    Globals globals;
    std::vector<Globals> stack;
    std::uint32_t lastUsage = 0;
    bool haveUsage = false;
    bool usageExtended = false; // a four-byte usage carries its own usage page
    int depth = 0;
    std::vector<Building> collections;
    bool inTopLevel = false;

    std::optional<std::string> main(std::uint8_t tag) {
        std::optional<std::string> fault;
        if (tag == kCollection) {
            if (depth == 0) openTopLevel();
            ++depth;
        } else if (tag == kEndCollection) {
            if (depth == 0) return "end of a collection that was not opened";
            --depth;
            if (depth == 0) inTopLevel = false;
        } else if (tag == kInput || tag == kOutput || tag == kFeature) {
            fault = countReport(tag);
        }
        haveUsage = false;
        lastUsage = 0;
        return fault;
    }

    void openTopLevel() {
        Building b;
        if (haveUsage && usageExtended) {
            b.caps.usagePage = static_cast<std::uint16_t>(lastUsage >> 16);
            b.caps.usage = static_cast<std::uint16_t>(lastUsage & 0xFFFF);
        } else {
            b.caps.usagePage = globals.usagePage;
            b.caps.usage = haveUsage ? static_cast<std::uint16_t>(lastUsage & 0xFFFF) : 0;
        }
        collections.push_back(std::move(b));
        inTopLevel = true;
    }

    std::optional<std::string> countReport(std::uint8_t tag) {
        if (!inTopLevel) return std::nullopt;
        const std::uint64_t bits =
            static_cast<std::uint64_t>(globals.reportSize) * globals.reportCount;
        Building& b = collections.back();
        auto& table = tag == kInput ? b.inputBits : tag == kOutput ? b.outputBits : b.featureBits;
        std::uint64_t& total = table[globals.reportId];
        total += bits;
        if (total > kMaxReportBits) return "report too long";
        return std::nullopt;
    }

    std::optional<std::string> global(std::uint8_t tag, std::uint32_t value) {
        switch (tag) {
        case kUsagePage:
            globals.usagePage = static_cast<std::uint16_t>(value & 0xFFFF);
            break;
        case kReportSize:
            globals.reportSize = value;
            break;
        case kReportCount:
            globals.reportCount = value;
            break;
        case kReportId:
            if (value == 0 || value > 0xFF) return "invalid report id";
            globals.reportId = static_cast<std::uint8_t>(value);
            break;
        case kPush:
            if (stack.size() >= kMaxStackDepth) return "push nested too deep";
            stack.push_back(globals);
            break;
        case kPop:
            if (stack.empty()) return "pop without push";
            globals = stack.back();
            stack.pop_back();
            break;
        default:
            break; // logical and physical ranges, units: no effect on lengths
        }
        return std::nullopt;
    }

    void local(std::uint8_t tag, std::uint32_t value, std::size_t size) {
        if (tag != kUsage) return;
        lastUsage = value;
        haveUsage = true;
        usageExtended = size == 4;
    }
};

} // namespace

ParsedDescriptor parseReportDescriptor(std::span<const std::uint8_t> d) {
    ParsedDescriptor result;
    Parser parser;
    auto fail = [&](std::string message, std::size_t offset) {
        result.error = DescriptorError{std::move(message), offset};
        return result;
    };

    std::size_t pos = 0;
    while (pos < d.size()) {
        const std::size_t itemStart = pos;
        const std::uint8_t prefix = d[pos];
        if (prefix == kLongItemPrefix) {
            if (d.size() - pos < 3) return fail("truncated long item", itemStart);
            const std::size_t size = d[pos + 1];
            if (d.size() - pos - 3 < size) return fail("truncated long item", itemStart);
            pos += 3 + size;
            continue;
        }
        static constexpr std::size_t kSizes[4] = {0, 1, 2, 4};
        const std::size_t size = kSizes[prefix & 0x03];
        const auto type = static_cast<ItemType>((prefix >> 2) & 0x03);
        const std::uint8_t tag = static_cast<std::uint8_t>(prefix >> 4);
        if (d.size() - pos - 1 < size) return fail("truncated item", itemStart);
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i)
            value |= static_cast<std::uint32_t>(d[pos + 1 + i]) << (8 * i);
        pos += 1 + size;

        std::optional<std::string> fault;
        if (type == ItemType::Main) fault = parser.main(tag);
        if (type == ItemType::Global) fault = parser.global(tag, value);
        if (type == ItemType::Local) parser.local(tag, value, size);
        if (fault) return fail(std::move(*fault), itemStart);
    }
    if (parser.depth != 0) return fail("collection not closed", d.size());

    for (Building& b : parser.collections) {
        b.caps.inputReportLength = longestReport(b.inputBits);
        b.caps.outputReportLength = longestReport(b.outputBits);
        b.caps.featureReportLength = longestReport(b.featureBits);
        for (const auto& [id, bits] : b.featureBits)
            b.caps.featureReportIds.push_back(id);
        result.collections.push_back(std::move(b.caps));
    }
    return result;
}

} // namespace orlix::device
