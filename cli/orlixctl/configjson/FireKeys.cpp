#include "Sections.h"

#include "model/FireKeyFields.h"

namespace orlix::configjson {

namespace {

constexpr std::size_t kFireKeys = 4;

FireKeyBytes keyOf(const ImageBytes& img, std::size_t n) {
    return fireKeyIn(std::span(img).subspan(image::kFireKeyStart), n);
}

} // namespace

FireKeySettings fireKeySettingsOf(const ImageBytes& img) {
    FireKeySettings f;
    for (std::size_t n = 0; n < kFireKeys; ++n) {
        f.repeat[n] = fireKeyRepeat(keyOf(img, n));
        f.delay[n] = fireKeyDelay(keyOf(img, n));
        f.highNibble[n] = fireKeyCarriedNibble(keyOf(img, n));
    }
    return f;
}

Json writeFireKeys(const Profile& p) {
    Json fire = Json::array();
    for (std::size_t n = 0; n < kFireKeys; ++n) {
        if (const auto values = plainFireKey(keyOf(p.img, n)))
            fire.push_back(Json{{"repeat", values->repeat}, {"delay", values->delay}});
        else
            fire.push_back(Json{{"bytes", hexRuns(keyOf(p.img, n))}});
    }
    return fire;
}

void readFireKeys(const Json& f, const std::string& path, Profile& p) {
    list(f, path, kFireKeys);
    for (std::size_t n = 0; n < kFireKeys; ++n) {
        const std::string kp = at(path, n);
        const WritableFireKeyBytes target =
            writableFireKeyIn(std::span(p.img).subspan(image::kFireKeyStart), n);
        const Json& key = f[n];
        if (key.is_object() && key.contains("bytes")) {
            fields(key, kp, {"bytes"});
            const auto b = bytes(key["bytes"], at(kp, "bytes"), fire::kKeyBytes);
            std::copy(b.begin(), b.end(), target.begin());
            continue;
        }
        fields(key, kp, {"repeat", "delay"});
        const auto repeat =
            integer(key["repeat"], at(kp, "repeat"), fire::kRepeatMin, fire::kRepeatMax);
        const auto delay = integer(key["delay"], at(kp, "delay"), fire::kDelayMin, fire::kDelayMax);
        writeFireKey(target, static_cast<int>(repeat), static_cast<int>(delay));
    }
}

} // namespace orlix::configjson
