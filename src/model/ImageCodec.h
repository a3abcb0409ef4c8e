#pragma once

#include "AssignmentCodes.h"
#include "PageState.h"
#include "ParameterImage.h"
#include "SectionBuffers.h"
#include "TextSource.h"

#include <optional>

namespace orlix {

// Where the fire-key and profile sections start for a placement; the middle region is
// used only by the two known data types.
std::size_t fireKeyStartFor(std::uint8_t dataType);

struct DecodeOptions {
    std::uint8_t readLayout = kDataType1D;          // data type of the start-up image
    bool macroDevice = false;                       // B and user breath come from 0x7000/0x7005
    std::optional<std::uint8_t> identifiedDataType; // chooses the repair contents
};

// Image -> section buffers (checked and repaired) and the assignment table.
void decodeImage(const ImageBytes& image, const DecodeOptions& options, SectionBuffers& sections,
                 AssignmentTable& table);

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
void FireKeyModeToDataBuf(const FireKeyPage& page, SectionBuffers& s);
void FireKeyAndFireKeyModeToDataBuf(const FireKeyPage& page, SectionBuffers& s,
                                    AssignmentTable& table);

// The fire-key settings that name and build fire-key codes.
FireKeySettings fireKeySettings(const FireKeyPage& page, const SectionBuffers& s);

struct AssembleOptions {
    bool forDevice = false;            // fill with 0xFF first (byte 255 then stays 0xFF)
    std::uint8_t layout = kDataType1D; // placement of the middle region
};

// Builds the image from the pages and section buffers, in the order the mouse expects.
void assembleImage(const PageState& page, const TextSource& texts, const AssembleOptions& options,
                   SectionBuffers& s, AssignmentTable& table, ReportRateMemory& rate,
                   ImageBytes& image);

} // namespace orlix
