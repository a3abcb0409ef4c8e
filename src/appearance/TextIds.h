#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orlix::appearance {

// Ids of the texts that code outside the language step asks for by name.
namespace textid {
inline constexpr std::string_view Title = "Title";
inline constexpr std::string_view AlternateRefused = "Str020";    // Alternate page refused
inline constexpr std::string_view ResetControlRefused = "Str021"; // Reset-control page refused
inline constexpr std::string_view DeviceNotFound = "Str022";
inline constexpr std::string_view WriteRefused = "Str023"; // the mouse refused the write command
inline constexpr std::string_view TransferInterrupted = "Str024"; // reports failed mid-transfer
inline constexpr std::string_view MenuMarker = "Str200";
inline constexpr std::string_view MacroFunction = "Str206";
inline constexpr std::string_view AlternateProfileFunction = "Str242";
inline constexpr std::string_view AlternateResetFunction = "Str245";
inline constexpr std::string_view Record = "Str400";
inline constexpr std::string_view Stop = "Str401";
inline constexpr std::string_view InsertDelayOk = "Str420";
inline constexpr std::string_view InsertKeyOk = "Str421";
inline constexpr std::string_view ClearMacroQuestion = "Str430";
} // namespace textid

// Every id the program reads from a language table, in table order.
const std::vector<std::string>& usedTextIds();

// "Str" and three digits: Str(7) is "Str007".
std::string strId(int number);

} // namespace orlix::appearance
