#pragma once

#include "AssignmentCodes.h"
#include "PageState.h"
#include "ParameterImage.h"
#include "SectionBuffers.h"
#include "TextSource.h"

#include <array>
#include <optional>
#include <string>

namespace orlix {

// Where the fire-key and profile sections start for a placement; the middle region is
// used only by the two known data types.
std::size_t fireKeyStartFor(std::uint8_t dataType);

struct DecodeOptions {
    std::uint8_t readLayout = kDataType1D;          // data type of the start-up image
    bool macroDevice = false;                       // B and user breath come from 0x7000/0x7005
    std::optional<std::uint8_t> identifiedDataType; // chooses the repair contents
};

// The sections a decode found damaged (checksum wrong) and repaired or resealed.
struct SectionRepairs {
    bool a = false;
    bool b = false; // a damaged B also replaces A
    bool fireKeys = false;
    bool profiles = false;
    bool any() const { return a || b || fireKeys || profiles; }
    // "section B (checksum), section A (replaced with B)", empty when nothing was repaired.
    std::string describe() const;
};

// Image -> section buffers (checked and repaired) and the assignment table.
SectionRepairs decodeImage(const ImageBytes& image, const DecodeOptions& options,
                           SectionBuffers& sections, AssignmentTable& table);

// Section buffers -> what the pages show.
void showResolution(const SectionBuffers& s, const TextSource& texts, ResolutionPage& page,
                    ReportRateMemory& rate);
void showLighting(const SectionBuffers& s, LightingPage& page);
void showFireKeys(const SectionBuffers& s, FireKeyPage& page);
// Shows the group of the last Fire Mode button of the three profiles.
void RefreshFireKeyMode(const AssignmentTable& table, FireKeyPage& page);

// Pages -> section buffers.
void UIToDataBuf(const PageState& page, const TextSource& texts, SectionBuffers& s,
                 ReportRateMemory& rate);
// A fire-key field that still shows what its record holds is stored as it was read (even a
// repeat count of 1 or a delay of 4095); a field the user changed is corrected into range.
void FireKeyModeToDataBuf(const FireKeyPage& page, SectionBuffers& s);
void FireKeyAndFireKeyModeToDataBuf(const FireKeyPage& page, SectionBuffers& s,
                                    AssignmentTable& table);

// The fire-key settings that name and build fire-key codes.
FireKeySettings fireKeySettings(const FireKeyPage& page, const SectionBuffers& s);

struct AssembleOptions {
    bool forDevice = false;            // fill with 0xFF first (byte 255 then stays 0xFF)
    std::uint8_t layout = kDataType1D; // placement of the middle region
    // The identity code to place instead of the section buffer's: the code the mouse's
    // identity test compares with, so no file can lock the mouse out.
    std::optional<std::array<std::uint8_t, 2>> idCode;
};

// Builds the image from the pages and section buffers, in the order the mouse expects.
void assembleImage(const PageState& page, const TextSource& texts, const AssembleOptions& options,
                   SectionBuffers& s, AssignmentTable& table, ReportRateMemory& rate,
                   ImageBytes& image);

} // namespace orlix
