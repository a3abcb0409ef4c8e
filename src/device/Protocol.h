#pragma once

#include <cstddef>
#include <cstdint>

// The mouse's side of the wire: report ids, command codes, registers and memory map.
namespace orlix::device::protocol {

inline constexpr std::size_t kReportSize = 8;
inline constexpr std::size_t kPayloadSize = 7;

inline constexpr std::uint8_t kCommandReportId = 0x40;
inline constexpr std::uint8_t kDataReportId = 0x41;

// Command codes (byte 1 of a command report).
inline constexpr std::uint8_t kCmdReadRegister = 0x04;
inline constexpr std::uint8_t kCmdDeviceInfo = 0x16;
inline constexpr std::uint8_t kCmdReadShort = 0x0B;  // one-byte address
inline constexpr std::uint8_t kCmdWriteShort = 0x09; // one-byte address
inline constexpr std::uint8_t kCmdReadLong = 0x0E;   // two-byte address
inline constexpr std::uint8_t kCmdWriteLong = 0x12;  // two-byte address
inline constexpr std::uint8_t kCmdEraseSector = 0x11;
inline constexpr std::uint8_t kCmdReload = 0x19;
inline constexpr std::uint8_t kCmdReloadRateFirst = 0x03;
inline constexpr std::uint8_t kCmdReloadRateSecond = 0x18;

// Registers read with kCmdReadRegister.
inline constexpr std::uint16_t kRegSignature = 0x90E7; // reads kSignatureValue
inline constexpr std::uint8_t kSignatureValue = 0xAF;
inline constexpr std::uint16_t kRegConfiguration = 0x90E4;
inline constexpr std::uint16_t kRegFlashId = 0x0008;
inline constexpr std::uint8_t kFlashId32 = 0x9D;
inline constexpr std::uint8_t kFlashId64 = 0xC8;
inline constexpr std::uint16_t kRegProbe = 0x0011; // touched by the open probe

// Device information answer.
inline constexpr std::size_t kInfoDataType = 3;
inline constexpr std::size_t kInfoChipCode = 5;
inline constexpr std::uint8_t kChipBasic = 0x50;
inline constexpr std::uint8_t kChipMacroA0 = 0xA0;
inline constexpr std::uint8_t kChipMacroA5 = 0xA5;
inline constexpr std::uint8_t kChipMacroAA = 0xAA;

// Configuration byte bits that gate the identity test.
inline constexpr std::uint8_t kConfigIdentityMask = 0x0C;

// Device memory. The macro table and bodies are laid out in model/MacroStore.h.
inline constexpr std::uint16_t kImageAddress = 0x6000;
inline constexpr std::uint16_t kImageLength = 256;
inline constexpr std::uint16_t kIdentityAddress1D = 0x6053;
inline constexpr std::uint16_t kIdentityAddress = 0x6057;
inline constexpr std::uint16_t kIdentityLength = 6;
inline constexpr std::uint16_t kSectionBCopyAddress = 0x7000;
inline constexpr std::uint16_t kSectionBCopyLength = 5;
inline constexpr std::uint16_t kUserBreathCopyAddress = 0x7005;
inline constexpr std::uint16_t kUserBreathCopyLength = 4;
inline constexpr std::uint16_t kWritePageLength = 256;

// Flash sectors erased before a macro device is written: 0x6000, 0x7000 ... 0xF000.
inline constexpr std::uint8_t kFirstSector = 0x60;
inline constexpr std::uint8_t kLastSector = 0xF0;
inline constexpr std::uint32_t kSectorSize = 0x1000;

// Data reports a block of `length` bytes takes.
constexpr std::size_t piecesFor(std::size_t length) {
    return length / kPayloadSize + (length % kPayloadSize != 0 ? 1 : 0);
}

} // namespace orlix::device::protocol
