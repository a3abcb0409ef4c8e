// What the mouse answers during identification and a full read: a real conversation with the
// simulated macro mouse whose answers are corrupted by the fuzz input (each get's 8 bytes are
// XORed with the next 8 input bytes, a failing report where the input says so). Whatever
// comes back, the session must end with a result and the decoded configuration stay in range.
#include "appearance/EmbeddedResources.h"
#include "appearance/Languages.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/SimulatedMouse.h"
#include "model/Configuration.h"
#include "model/Edition.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

using namespace orlix;
using namespace orlix::device;

class CorruptingBackend : public HidBackend {
public:
    CorruptingBackend(HidBackend& inner, std::span<const std::uint8_t> noise)
        : inner_(inner), noise_(noise) {}
    std::vector<HidInterfaceInfo> enumerate() override { return inner_.enumerate(); }
    HidHandle open(const std::string& path) override { return inner_.open(path); }
    bool setFeature(HidHandle h, std::span<const std::uint8_t> report) override {
        return inner_.setFeature(h, report);
    }
    bool getFeature(HidHandle h, std::span<std::uint8_t> report) override {
        if (!inner_.getFeature(h, report)) return false;
        if (pos_ + 9 > noise_.size()) return true; // noise used up: the mouse answers truly
        const std::uint8_t control = noise_[pos_++];
        if (control == 0xFF) return false; // this report fails
        for (std::size_t i = 0; i < 8 && i < report.size(); ++i)
            report[i] ^= noise_[pos_++];
        return true;
    }
    void close(HidHandle h) override { inner_.close(h); }

private:
    HidBackend& inner_;
    std::span<const std::uint8_t> noise_;
    std::size_t pos_ = 0;
};

struct Fixture {
    std::vector<std::uint8_t> resource;
    appearance::Languages languages;
    Fixture() {
        const auto& bundle = appearance::orlixEditorResources();
        auto data = bundle.find("OrlixData");
        resource.assign(data->begin(), data->end());
        languages = appearance::Languages::load(bundle, traitsOf(Edition::Editor)).languages;
        languages.select(1);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    if (size < 1) return 0;
    std::array<std::uint8_t, 256> image{};
    std::copy_n(fixture.resource.begin(), image.size(), image.begin());
    SimulatedMouse mouse((data[0] & 1) ? SimulatedMouse::macroMouse(image)
                                       : SimulatedMouse::basicMouse(image));
    CorruptingBackend backend(mouse, {data + 1, size - 1});
    Configuration config(Edition::Editor);
    config.startUp(fixture.resource, fixture.languages);
    DeviceLink link(backend);
    DeviceSession session(link, config);
    session.takeTargetsFromDefaults();
    const auto target = link.targets()[0];
    if (!link.openDevice(target.vendorId, target.productId) || !link.isOpen()) return 0;
    const auto id = session.identify();
    if (id.result == IdentifyResult::Accepted) {
        (void)session.readAll(fixture.languages);
    }
    return 0;
}
