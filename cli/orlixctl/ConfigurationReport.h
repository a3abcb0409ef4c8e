#pragma once

#include "device/DeviceSession.h"
#include "model/Configuration.h"

#include <optional>
#include <ostream>
#include <string>

namespace orlixctl {

// Where the configuration came from, for the report's header.
struct ReportSource {
    std::string kind; // "mouse" or "file"
    std::string name; // file path, or the mouse's interface
    std::optional<orlix::device::Identification> identification;
    std::string edition;     // whose tables decoded it, and why ("orlix-editor (the default...)")
    std::string editionName; // the edition alone, for JSON
    std::string editionFrom; // "default", "environment" or "option"
};

// The decoded configuration in words, and as JSON for scripts.
void writeText(std::ostream& out, const orlix::Configuration& config,
               const orlix::TextSource& texts, const ReportSource& source);
void writeJson(std::ostream& out, const orlix::Configuration& config,
               const orlix::TextSource& texts, const ReportSource& source);

// One line: levels, current level, report rate, macros ("1000/1600/2400/4800 CPI, level 1,
// 500 reports/s, 2 macros"), for lists of files.
void writeSummaryLine(std::ostream& out, const orlix::Configuration& config,
                      const orlix::TextSource& texts);

// "0x1D"
std::string hexValue(unsigned value, int digits);
std::string kindName(orlix::device::DeviceKind kind);

} // namespace orlixctl
