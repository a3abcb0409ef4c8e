#include "device/MemoryPlan.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <optional>

namespace orlix::device {

using namespace protocol;

namespace {

constexpr std::uint16_t kTableQuarters = kMacroTableSize / kWritePageLength;
constexpr std::uint16_t kBodyQuarters = kMacroBodySize / kWritePageLength;
constexpr std::size_t kWriteBlocks = 1 + kTableQuarters + kMacroCount * kBodyQuarters + 2;
constexpr std::size_t kReadBlocks = 1 + kMacroCount + 1 + 2;

constexpr MemoryBlock kImageBlock{kImageAddress, kImageLength};
constexpr MemoryBlock kSectionBBlock{kSectionBCopyAddress, kSectionBCopyLength};
constexpr MemoryBlock kUserBreathBlock{kUserBreathCopyAddress, kUserBreathCopyLength};

constexpr MemoryBlock quarter(std::uint16_t base, std::uint16_t n) {
    return {static_cast<std::uint16_t>(base + n * kWritePageLength), kWritePageLength};
}

constexpr std::array<MemoryBlock, kWriteBlocks> makeWriteOrder() {
    std::array<MemoryBlock, kWriteBlocks> blocks{};
    std::size_t i = 0;
    blocks[i++] = kImageBlock;
    for (std::uint16_t q = 0; q < kTableQuarters; ++q)
        blocks[i++] = quarter(kMacroTableAddress, q);
    for (std::size_t n = 0; n < kMacroCount; ++n)
        for (std::uint16_t q = 0; q < kBodyQuarters; ++q)
            blocks[i++] = quarter(macroBodyAddress(n), q);
    blocks[i++] = kSectionBBlock;
    blocks[i++] = kUserBreathBlock;
    return blocks;
}

constexpr std::array<MemoryBlock, kReadBlocks> makeReadOrder() {
    std::array<MemoryBlock, kReadBlocks> blocks{};
    std::size_t i = 0;
    blocks[i++] = kImageBlock;
    for (std::size_t n = 0; n < kMacroCount; ++n)
        blocks[i++] = {macroBodyAddress(n), kMacroBodySize};
    blocks[i++] = {kMacroTableAddress, kMacroTableSize};
    blocks[i++] = kSectionBBlock;
    blocks[i++] = kUserBreathBlock;
    return blocks;
}

constexpr auto kWriteOrder = makeWriteOrder();
constexpr auto kReadOrder = makeReadOrder();

// One area of the map: where it starts on the mouse and how long it is.
struct Area {
    std::uint32_t address;
    std::uint32_t length;
};
// The two section copies lie back to back and form one area.
constexpr std::array<Area, 4> kAreas = {{
    {kImageAddress, kImageLength},
    {kMacroTableAddress, kMacroTableSize},
    {kSectionBCopyAddress, kSectionBCopyLength + kUserBreathCopyLength},
    {kMacroBodyAddress, kMacroCount* kMacroBodySize},
}};

// The body a block lies in, when it lies in one.
std::optional<std::size_t> bodyOf(const MemoryBlock& b) {
    if (b.address < kMacroBodyAddress) return std::nullopt;
    return (b.address - kMacroBodyAddress) / kMacroBodyStride;
}

template <typename Byte, typename Contents>
std::span<Byte> bytesOf(Contents& c, const MemoryBlock& b) {
    const std::uint32_t start = b.address;
    const std::uint32_t end = start + b.length;
    const auto slice = [&](auto& area, std::uint32_t base) -> std::span<Byte> {
        if (start < base || end > base + area.size()) return {};
        return std::span<Byte>(area.data() + (start - base), b.length);
    };
    if (start >= kMacroBodyAddress) {
        const std::size_t n = (start - kMacroBodyAddress) / kMacroBodyStride;
        return slice(c.macros.bodies[n], macroBodyAddress(n));
    }
    if (start >= kUserBreathCopyAddress) return slice(c.userBreath, kUserBreathCopyAddress);
    if (start >= kSectionBCopyAddress) return slice(c.sectionB, kSectionBCopyAddress);
    if (start >= kMacroTableAddress) return slice(c.macros.table, kMacroTableAddress);
    return slice(c.image, kImageAddress);
}

bool blockChanged(const MemoryContents& held, const MemoryContents& target, const MemoryBlock& b) {
    if (const auto n = bodyOf(b); n && !held.bodyKnown[*n])
        return target.macros.usableBodyLength(*n) != 0;
    const auto was = held.bytes(b);
    const auto will = target.bytes(b);
    return !std::equal(was.begin(), was.end(), will.begin(), will.end());
}

} // namespace

namespace memory {

std::span<const MemoryBlock> writeOrder() {
    return kWriteOrder;
}

std::span<const MemoryBlock> readOrder() {
    return kReadOrder;
}

bool inMap(std::uint32_t address, std::uint32_t length) {
    return std::any_of(kAreas.begin(), kAreas.end(), [&](const Area& a) {
        return address >= a.address && address + length <= a.address + a.length;
    });
}

std::uint64_t reportsFor(std::span<const MemoryBlock> blocks) {
    return std::accumulate(
        blocks.begin(), blocks.end(), std::uint64_t{0},
        [](std::uint64_t sum, const MemoryBlock& b) { return sum + reportsFor(b); });
}

} // namespace memory

std::span<const std::uint8_t> MemoryContents::bytes(const MemoryBlock& block) const {
    return bytesOf<const std::uint8_t>(*this, block);
}

std::span<std::uint8_t> MemoryContents::bytes(const MemoryBlock& block) {
    return bytesOf<std::uint8_t>(*this, block);
}

std::uint64_t WritePlan::reports() const {
    return erase.size() + memory::reportsFor(writes) + memory::reportsFor(readBack);
}

WritePlan fullWrite(bool macroMouse) {
    WritePlan plan;
    plan.full = true;
    if (!macroMouse) {
        plan.writes = {kImageBlock};
        plan.readBack = {kImageBlock};
        return plan;
    }
    for (std::size_t s = 0; s < memory::kSectorCount; ++s)
        plan.erase.push_back(static_cast<std::uint8_t>(kFirstSector + 0x10 * s));
    plan.writes.assign(kWriteOrder.begin(), kWriteOrder.end());
    plan.readBack.assign(kReadOrder.begin(), kReadOrder.end());
    return plan;
}

WritePlan planWrite(const MemoryContents& held, const MemoryContents& target, bool macroMouse) {
    WritePlan plan;
    if (!macroMouse) {
        if (held.image != target.image) plan = fullWrite(false);
        plan.full = false;
        return plan;
    }
    std::bitset<memory::kSectorCount> changed;
    for (const MemoryBlock& b : kWriteOrder) {
        const std::size_t s = memory::sectorIndex(memory::sectorOf(b.address));
        if (!changed[s] && blockChanged(held, target, b)) changed[s] = true;
    }
    const auto named = [&](const MemoryBlock& b) {
        return changed[memory::sectorIndex(memory::sectorOf(b.address))];
    };
    for (std::size_t s = 0; s < memory::kSectorCount; ++s)
        if (changed[s]) plan.erase.push_back(static_cast<std::uint8_t>(kFirstSector + 0x10 * s));
    std::copy_if(kWriteOrder.begin(), kWriteOrder.end(), std::back_inserter(plan.writes), named);
    std::copy_if(kReadOrder.begin(), kReadOrder.end(), std::back_inserter(plan.readBack), named);
    return plan;
}

std::vector<MemoryBlock> bodiesInUse(const MacroStore& store) {
    std::vector<MemoryBlock> blocks;
    for (std::size_t n = 0; n < kMacroCount; ++n)
        if (store.usableBodyLength(n) != 0) blocks.push_back({macroBodyAddress(n), kMacroBodySize});
    return blocks;
}

} // namespace orlix::device
