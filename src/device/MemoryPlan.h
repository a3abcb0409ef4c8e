#pragma once

#include "device/Protocol.h"
#include "model/MacroStore.h"
#include "model/ParameterImage.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <span>
#include <vector>

namespace orlix::device {

// One block command's worth of device memory.
struct MemoryBlock {
    std::uint16_t address = 0;
    std::uint16_t length = 0;
    friend bool operator==(const MemoryBlock&, const MemoryBlock&) = default;
};

// The macro mouse's memory as data: the areas the program keeps there, the sectors they sit
// in, and the blocks in which the whole-memory sequences move them.
namespace memory {

// The ten erasable sectors, by their high address byte (0x60, 0x70 ... 0xF0).
inline constexpr std::size_t kSectorCount = 10;
constexpr std::uint8_t sectorOf(std::uint16_t address) {
    return static_cast<std::uint8_t>((address >> 8) & 0xF0);
}
constexpr std::size_t sectorIndex(std::uint8_t sector) {
    return static_cast<std::size_t>((sector - protocol::kFirstSector) >> 4);
}

// The order the whole write sends: image, table quarters, body quarters, the two copies.
std::span<const MemoryBlock> writeOrder();
// The order the whole read takes: image, the 32 bodies, table, the two copies.
std::span<const MemoryBlock> readOrder();

// Whether [address, address + length) lies inside one area the program keeps.
bool inMap(std::uint32_t address, std::uint32_t length);

// Reports a block command with its data takes.
constexpr std::uint64_t reportsFor(const MemoryBlock& b) {
    return 1 + protocol::piecesFor(b.length);
}
std::uint64_t reportsFor(std::span<const MemoryBlock> blocks);

} // namespace memory

// What the mouse holds, or is to hold, in the areas the program keeps in its memory. A basic
// mouse has the image only.
struct MemoryContents {
    ImageBytes image{};
    MacroStore macros;
    std::array<std::uint8_t, protocol::kSectionBCopyLength> sectionB{};
    std::array<std::uint8_t, protocol::kUserBreathCopyLength> userBreath{};
    // Bodies whose bytes are known; one that was never read holds zero bytes here.
    std::bitset<kMacroCount> bodyKnown;

    // The bytes a block covers; empty when it is not inside one area.
    std::span<const std::uint8_t> bytes(const MemoryBlock& block) const;
    std::span<std::uint8_t> bytes(const MemoryBlock& block);
};

// The commands of one write: sectors to erase, blocks to send (in the whole write's order)
// and blocks to read back afterwards.
struct WritePlan {
    bool full = false;
    std::vector<std::uint8_t> erase;
    std::vector<MemoryBlock> writes;
    std::vector<MemoryBlock> readBack;

    bool empty() const { return writes.empty(); }
    std::uint64_t reports() const;
};

// Every sector erased and every block sent and read back.
WritePlan fullWrite(bool macroMouse);
// Only the sectors that hold a byte `target` changes against `held`, each rewritten whole. A
// body not known in `held` counts as changed when `target` uses it (length 1 to 1024).
WritePlan planWrite(const MemoryContents& held, const MemoryContents& target, bool macroMouse);

// The bodies a read takes beside image, table and copies: those whose entry has a length of
// 1 to 1024, in order.
std::vector<MemoryBlock> bodiesInUse(const MacroStore& store);

} // namespace orlix::device
