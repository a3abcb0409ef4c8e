// Profile files are the user's (or anyone's) bytes: loading, decoding and assembling them again
// must never read out of bounds, and the assembled image must carry valid checksums where the
// program writes them.
#include "appearance/EmbeddedResources.h"
#include "appearance/Languages.h"
#include "model/Configuration.h"
#include "model/Edition.h"
#include "model/ProfileFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace orlix;

struct Edition_ {
    std::vector<std::uint8_t> resource;
    appearance::Languages languages;
    explicit Edition_(Edition e) {
        const auto& bundle = e == Edition::Editor ? appearance::orlixEditorResources()
                                                  : appearance::orlixEditorSResources();
        auto data = bundle.find("OrlixData");
        resource.assign(data->begin(), data->end());
        languages = appearance::Languages::load(bundle, traitsOf(e)).languages;
        languages.select(1);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Edition_ editions[] = {Edition_(Edition::Editor), Edition_(Edition::EditorS)};
    if (size < 1) return 0;
    const Edition edition = (data[0] & 1) ? Edition::EditorS : Edition::Editor;
    auto& e = editions[data[0] & 1];
    Configuration config(edition);
    config.startUp(e.resource, e.languages);
    config.macroDevice = (data[0] & 2) != 0;
    loadProfileBytes({data + 1, size - 1}, config.working, config.macros);
    config.takeLoadedData(e.languages);
    config.assemble(e.languages, (data[0] & 4) != 0);
    const auto bytes = profileBytes(config.working, config.macros);
    if (bytes.size() != kProfileFileSize) std::abort();
    return 0;
}
