// Layout texts: every section applied to both editions' layouts; unusable values are reported,
// never trusted, and derived positions never overflow.
#include "appearance/Ini.h"
#include "appearance/Layout.h"
#include "model/Edition.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orlix;
    const auto doc =
        appearance::IniDocument::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (Edition edition : {Edition::Editor, Edition::EditorS}) {
        appearance::Layout layout(traitsOf(edition));
        for (const auto& section : doc.sections()) {
            layout.applyWeb(section, "ORG");
            layout.applyPlacement(section, "ORG");
            layout.applyStyle(section, "ORG");
        }
        (void)layout.takeIssues();
    }
    return 0;
}
