#pragma once

#include "AssignmentCodes.h"
#include "Edition.h"
#include "FileIo.h"
#include "ImageCodec.h"
#include "MacroStore.h"
#include "PageState.h"
#include "ParameterImage.h"
#include "SectionBuffers.h"
#include "TextSource.h"

#include <filesystem>
#include <optional>
#include <span>

namespace orlix {

// Everything the main window owns about the mouse's configuration for the whole run: the
// working and default images, the macro stores, the decoded sections, the assignment table
// and what the pages show. The window renders it; the device sequences read and fill it.
class Configuration {
public:
    explicit Configuration(Edition edition);

    Edition edition;
    ImageBytes working{};
    ImageBytes defaults{};
    MacroStore macros;
    MacroStore defaultMacros;
    SectionBuffers sections;
    AssignmentTable assignments;
    PageState page;
    MacroNames macroNames; // the macro lists' working copy of the names
    ReportRateMemory rate;

    std::uint8_t readLayout = kDataType1D;          // data type of the start-up image
    std::optional<std::uint8_t> identifiedDataType; // as the mouse reported it, once identified
    bool macroDevice = false;
    // What the last decode found damaged and repaired.
    SectionRepairs lastRepairs;
    // The size of the last profile file loaded.
    std::uint64_t loadedFileSize = 0;

    // Start-up: the resource into the working buffers (and a copy as defaults), then decode.
    void startUp(std::span<const std::uint8_t> defaultResource, const TextSource& texts);
    // The resource into the default buffers, for a reset to defaults.
    void loadDefaults(std::span<const std::uint8_t> defaultResource);

    std::uint16_t targetVendorId() const;
    std::uint16_t targetProductId() const;
    // The identity code the default image expects from the mouse (empty for unknown layouts).
    // Taken from the defaults, which no device read or file load changes.
    std::optional<std::array<std::uint8_t, 2>> expectedIdCode() const;

    // Working image -> sections, assignment table and pages (the table is cleared first).
    // A macro mouse keeps section B and its colour record in records of their own, so a
    // decode after a device read leaves those buffers as the read filled them; data from a
    // file or the defaults brings its own (sectionsFromImage).
    void decode(const TextSource& texts, bool sectionsFromImage = false);
    // Pages and sections -> working image. For the mouse the image is 0xFF-filled first and
    // holds the identity code the mouse is identified by.
    void assemble(const TextSource& texts, bool forDevice);
    // The working image as a write would send it, taken back into the window: what the mouse
    // then holds. Keeps lastRepairs of the decode before.
    void assembleAsWritten(const TextSource& texts);
    // The placement used for the middle region when assembling.
    std::uint8_t writeLayout() const;

    // Stores a code for a button: assignment table and profile section alike.
    bool setAssignment(int profile, int button, std::string_view code);

    CodeContext codeContext(const TextSource& texts) const;
    FireKeySettings currentFireKeys() const;

    // Profile files. Save assembles the working image from the pages first; a mouse without
    // macro memory has its (unused) store set to 0xFF so the file says so. Load refuses a file
    // that is empty, shorter than the image, or made for another mouse (vendor id, product id
    // or data type differ from the default image) and then changes nothing.
    FileResult saveProfile(const std::filesystem::path& path, const TextSource& texts);
    FileResult loadProfile(const std::filesystem::path& path, const TextSource& texts);
    // The checks of loadProfile alone: nothing changes.
    FileResult checkProfile(const std::filesystem::path& path, const TextSource& texts) const;
    // After a file or the defaults filled the working image and store: names, table, pages.
    void takeLoadedData(const TextSource& texts);

private:
    FileResult readProfile(const std::filesystem::path& path, const TextSource& texts,
                           FileStart& file) const;
};

} // namespace orlix
