// The configuration file is text from anywhere: reading it must never crash or read out of
// bounds, and whatever it accepts must export and read back to the very same bytes.
#include "ConfigJson.h"

#include "appearance/EmbeddedResources.h"
#include "appearance/Languages.h"
#include "model/Edition.h"
#include "model/ParameterImage.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace orlix;

struct Edition_ {
    Edition edition;
    std::uint8_t dataType = 0;
    appearance::Languages languages;
    explicit Edition_(Edition e) : edition(e) {
        const auto& bundle = e == Edition::Editor ? appearance::orlixEditorResources()
                                                  : appearance::orlixEditorSResources();
        dataType = (*bundle.find("OrlixData"))[image::kDataType];
        languages = appearance::Languages::load(bundle, traitsOf(e)).languages;
    }
    ConfigJsonContext context() const { return {edition, dataType, languages.table(1)}; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Edition_ editions[] = {Edition_(Edition::Editor), Edition_(Edition::EditorS)};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const Edition_& e : editions) {
        const ConfigJsonResult read = configurationFromJson(text, e.context());
        if (!read.ok()) {
            if (!read.profile.empty()) std::abort(); // a refusal hands out nothing
            continue;
        }
        const auto json = configurationToJson(read.profile, e.context());
        if (!json) std::abort();
        const ConfigJsonResult again = configurationFromJson(*json, e.context());
        if (!again.ok() || again.profile != read.profile) std::abort();
    }
    return 0;
}
