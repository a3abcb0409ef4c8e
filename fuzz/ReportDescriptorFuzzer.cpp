// Report descriptors come from the device (sysfs on Linux): any bytes must parse or fail
// cleanly, and lengths must stay within what a report can hold.
#include "device/ReportDescriptor.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parsed = orlix::device::parseReportDescriptor({data, size});
    for (const auto& c : parsed.collections) {
        // Ids are listed once each, ascending, and a collection with feature ids has a length.
        for (std::size_t i = 1; i < c.featureReportIds.size(); ++i)
            if (c.featureReportIds[i - 1] >= c.featureReportIds[i]) std::abort();
        if (!c.featureReportIds.empty() && c.featureReportIds != std::vector<std::uint8_t>{0} &&
            c.featureReportLength == 0)
            std::abort();
    }
    return 0;
}
