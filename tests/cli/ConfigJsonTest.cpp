// The configuration file converter: every profile comes back byte for byte, every field is
// named, and what does not fit is refused at its path.

#include "ConfigJson.h"

#include "appearance/EmbeddedResources.h"
#include "appearance/Languages.h"
#include "macro/MacroCodec.h"
#include "model/FireKeyFields.h"
#include "model/Hex.h"
#include "model/MacroStore.h"
#include "model/ProfileFile.h"
#include "model/SectionBuffers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <random>

namespace orlix {
namespace {

using Json = nlohmann::ordered_json;
using Bytes = std::vector<std::uint8_t>;

struct EditionData {
    Edition edition;
    Bytes profile; // the default image and an all-zero macro store, as at start-up
    appearance::Languages languages;
};

const EditionData& editionData(Edition edition) {
    static std::map<Edition, EditionData> cache;
    auto it = cache.find(edition);
    if (it != cache.end()) return it->second;
    const auto& bundle = edition == Edition::Editor ? appearance::orlixEditorResources()
                                                    : appearance::orlixEditorSResources();
    EditionData data{edition, Bytes(kProfileFileSize, 0),
                     appearance::Languages::load(bundle, traitsOf(edition)).languages};
    auto image = bundle.find("OrlixData");
    std::copy(image->begin(), image->begin() + kImageSize, data.profile.begin());
    return cache.emplace(edition, std::move(data)).first->second;
}

ConfigJsonContext contextFor(Edition edition) {
    const EditionData& d = editionData(edition);
    return {edition, d.profile[image::kDataType], d.languages.table(1)};
}

Json exported(const Bytes& profile, Edition edition = Edition::Editor) {
    auto text = configurationToJson(profile, contextFor(edition));
    EXPECT_TRUE(text.has_value());
    return text ? Json::parse(*text) : Json();
}

ConfigJsonResult readBack(const Json& j, Edition edition = Edition::Editor) {
    return configurationFromJson(j.dump(1), contextFor(edition));
}

void expectRoundTrip(const Bytes& profile, Edition edition = Edition::Editor) {
    const ConfigJsonResult back = readBack(exported(profile, edition), edition);
    ASSERT_TRUE(back.ok()) << back.message();
    ASSERT_EQ(back.profile.size(), profile.size());
    for (std::size_t i = 0; i < profile.size(); ++i)
        ASSERT_EQ(back.profile[i], profile[i]) << "byte " << i;
}

void setCode(Bytes& profile, int p, int k, std::uint32_t code) {
    const std::size_t at = 110 + profileCodeOffset(p, k);
    for (int i = 0; i < 4; ++i)
        profile[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(code >> (24 - 8 * i));
}

void sealAll(Bytes& p) {
    for (auto [start, length] : {std::pair<std::size_t, std::size_t>{0, 26},
                                 {27, 4},
                                 {85, 3},
                                 {89, 3},
                                 {93, 16},
                                 {110, 144}})
        p[start + length] = sectionChecksum(std::span(p).subspan(start, length));
}

MacroStore storeOf(const Bytes& profile) {
    ImageBytes image{};
    MacroStore store;
    loadProfileBytes(profile, image, store);
    return store;
}

Bytes withStore(Bytes profile, const MacroStore& store) {
    ImageBytes image{};
    std::copy_n(profile.begin(), kImageSize, image.begin());
    return profileBytes(image, store);
}

// Every macro with events of every kind, a 14-character name and old bytes after its end.
Bytes fullMacroStore(Bytes profile) {
    MacroStore store = storeOf(profile);
    for (std::size_t n = 0; n < kMacroCount; ++n) {
        store.bodies[n].fill(static_cast<std::uint8_t>(0xA0 + n));
        MacroScript script;
        script.header = "10";
        script.events = {modifierLine(true, modifier::kCtrl),
                         delayLine(static_cast<unsigned>(10 + n)),
                         keyLine(true, static_cast<std::uint8_t>(0x04 + n), "K"),
                         keyLine(false, static_cast<std::uint8_t>(0x04 + n), "K"),
                         modifierLine(false, modifier::kCtrl),
                         mouseButtonLine(MouseButton::Backward, true),
                         delayLine(65535),
                         mouseButtonLine(MouseButton::Backward, false)};
        for (std::size_t i = 0; i < n * 8; ++i)
            script.events.push_back(delayLine(static_cast<unsigned>(1 + i)));
        EXPECT_TRUE(ScriptToMacroBody(script, store, n).ok) << n;
        store.setName(n, "Macro número" + std::to_string(n % 10) + "x");
    }
    return withStore(std::move(profile), store);
}

Bytes everyFunction() {
    Bytes p = editionData(Edition::EditorS).profile;
    const std::vector<std::uint32_t> codes = {
        0x00000000, 0x01010000, 0x01020000, 0x01040000, 0x01080000, 0x01100000,
        0x02050400, 0x02080700, 0x02010000, 0x0300CD00, 0x0300B700, 0x0300B600,
        0x0300B500, 0x0300E900, 0x0300EA00, 0x0300E200, 0x03022300, 0x03022100,
        0x03022400, 0x03022500, 0x03022600, 0x03022700, 0x03022A00, 0x04010000,
        0x04020000, 0x04030000, 0x05000000, 0x06120010, 0x06120020, 0x06120030,
        0x06120040, 0x07000000, 0x09000000, 0x09010000, 0x09020000, 0x0C000000};
    for (std::size_t i = 0; i < codes.size(); ++i)
        setCode(p, static_cast<int>(i / 12), static_cast<int>(i % 12), codes[i]);
    sealAll(p);
    return p;
}

TEST(ConfigJson, DefaultImagesOfBothEditionsComeBackByteForByte) {
    for (Edition e : {Edition::Editor, Edition::EditorS}) {
        Bytes p = editionData(e).profile;
        expectRoundTrip(p, e);
        // As a basic mouse is saved: the store all 0xFF.
        std::fill(p.begin() + kImageSize, p.end(), 0xFF);
        expectRoundTrip(p, e);
    }
}

TEST(ConfigJson, NamesTheFieldsOfTheDefaultImage) {
    const Json j = exported(editionData(Edition::Editor).profile);
    EXPECT_EQ(j["format"], "orlix-editor configuration");
    EXPECT_EQ(j["version"], 1);
    EXPECT_EQ(j["edition"], "orlix-editor");
    EXPECT_EQ(j["dataType"], "0x1D");
    EXPECT_EQ(j["vendorId"], "0x1BCF");
    EXPECT_EQ(j["productId"], "0x08A6");
    EXPECT_EQ(j["resolution"]["levels"], Json({1000, 1600, 2400, 4800}));
    EXPECT_EQ(j["resolution"]["currentLevel"], 1);
    EXPECT_EQ(j["resolution"]["reportRate"], 500);
    EXPECT_EQ(j["activeProfile"], "main");
    EXPECT_EQ(j["lighting"]["used"], false);
    EXPECT_EQ(j["lighting"]["mode"], Json({{"byte", 4}})); // no mode of the three
    EXPECT_EQ(j["lighting"]["mode1Colour"], Json({60, 10, 7}));
    EXPECT_EQ(j["fireKeys"][1], Json({{"repeat", 2}, {"delay", 32}}));
    EXPECT_EQ(j["profiles"]["main"][6],
              Json({{"button", 7}, {"function", "CPI"}, {"code", "09000000"}}));
    EXPECT_EQ(j["profiles"]["resetControl"][11]["function"], "Win+D");
    EXPECT_EQ(j["reserved"]["block"], "00*3 5A 00*47");
    EXPECT_EQ(j["reserved"]["bytes6to8"], "FF FF EF");
    EXPECT_EQ(j["macros"][0], Json({{"number", 1},
                                    {"name", ""},
                                    {"script", Json::array()},
                                    {"unusedNameBytes", "00*28"},
                                    {"unusedBodyBytes", "00*1024"}}));
    EXPECT_FALSE(j.contains("damagedChecksums"));

    // The second edition names its own list: index 7 is 1600 there.
    const Json s = exported(editionData(Edition::EditorS).profile, Edition::EditorS);
    EXPECT_EQ(s["resolution"]["levels"], Json({1000, 1600, 3500, 4800}));
    EXPECT_EQ(s["resolution"]["currentLevel"], 2);
}

TEST(ConfigJson, EveryKindOfFunctionComesBackWithItsName) {
    Bytes p = everyFunction();
    expectRoundTrip(p, Edition::EditorS);
    Json j = exported(p, Edition::EditorS);
    EXPECT_EQ(j["profiles"]["main"][6]["function"], "Ctrl+Alt+A");
    EXPECT_EQ(j["profiles"]["main"][8]["function"], "Ctrl+");
    EXPECT_EQ(j["profiles"]["resetControl"][2]["function"], "AIM Key");
    EXPECT_EQ(j["profiles"]["resetControl"][9]["function"], "CPI +");
    EXPECT_EQ(j["profiles"]["resetControl"][3]["function"], "Fire1 Key");

    // The rest: alternate key reset, LED mode, a fire mode, macros and a code of no function.
    MacroStore store = storeOf(p);
    store.setName(31, "Last");
    p = withStore(p, store);
    setCode(p, 0, 0, 0x0D000000);
    setCode(p, 0, 1, 0x0E000000);
    setCode(p, 0, 2, 0x0F010300);
    setCode(p, 0, 3, 0x10800000);
    setCode(p, 0, 4, 0x10FC0000);
    setCode(p, 0, 5, 0x0B123456);
    sealAll(p);
    expectRoundTrip(p, Edition::EditorS);
    j = exported(p, Edition::EditorS);
    EXPECT_EQ(j["profiles"]["main"][0]["function"], "KB Reset Key");
    EXPECT_EQ(j["profiles"]["main"][2]["function"], "Fire Mode");
    EXPECT_EQ(j["profiles"]["main"][4]["function"], "Last");
    EXPECT_EQ(j["profiles"]["main"][5]["function"], "");
    EXPECT_EQ(j["fireModeGroup"], Json({1, 3}));
}

TEST(ConfigJson, AFullMacroStoreComesBackAsScriptLines) {
    const Bytes p = fullMacroStore(editionData(Edition::Editor).profile);
    expectRoundTrip(p);
    const Json j = exported(p);
    const Json& m = j["macros"][4];
    EXPECT_EQ(m["name"], "Macro número4x");
    EXPECT_EQ(m["script"][0], "10");
    EXPECT_EQ(m["script"][1], "1 Ctrl CODE:8101");
    EXPECT_EQ(m["script"][7], "0 65535");
    EXPECT_EQ(m["unusedBodyBytes"], "A4*" + std::to_string(1024 - (17 + 3 * 32)));
    // The last macro fills 17 + 3 * 248 bytes.
    EXPECT_EQ(j["macros"][31]["script"].size(), 1u + 8 + 248);
}

TEST(ConfigJson, MacrosTheScriptCannotRebuildKeepTheirBytes) {
    Bytes p = editionData(Edition::Editor).profile;
    MacroStore store = storeOf(p);
    store.bodies[0] = {0x03, 0x82, 0x04, 0x00}; // a code of the mouse's own
    store.setBodyLength(0, 4);
    store.setBodyLength(1, 2000);              // longer than a body
    store.entry(2)[kMacroEntryNameLength] = 5; // an odd name length
    store.entry(3)[kMacroEntryZero] = 0x77;    // the byte that is always written as 0
    store.bodies[4] = {0x82, 0x04, 0x00};
    store.setBodyLength(4, 3);
    store.setName(4, "ok");
    p = withStore(p, store);
    expectRoundTrip(p);
    const Json j = exported(p);
    for (int n : {0, 1, 2, 3})
        EXPECT_TRUE(j["macros"][n].contains("entry")) << n;
    EXPECT_EQ(j["macros"][4]["script"], Json({"00", "1 A CODE:8204"}));
}

TEST(ConfigJson, DamagedChecksumsAreKeptAndEditsResealTheRest) {
    Bytes p = editionData(Edition::Editor).profile;
    p[image::kSectionASize - 1] ^= 0x01;
    p[image::kProfileStart + image::kProfileSize - 1] ^= 0x10;
    expectRoundTrip(p);
    Json j = exported(p);
    EXPECT_EQ(j["damagedChecksums"], Json({{"sectionA", "5C"}, {"profiles", "B5"}}));

    // An edited field gets its section's checksum anew, so a write takes it as meant.
    j.erase("damagedChecksums");
    j["fireKeys"][3] = Json({{"repeat", 5}, {"delay", 300}}); // on no button
    const ConfigJsonResult back = readBack(j);
    ASSERT_TRUE(back.ok()) << back.message();
    const auto key4 = back.profile.begin() + image::kFireKeyStart + 3 * fire::kKeyBytes;
    EXPECT_EQ(Bytes(key4, key4 + fire::kKeyBytes), Bytes({0x06, 0x15, 0x01, 0x2C}));
    for (auto [start, length] : {std::pair<std::size_t, std::size_t>{0, image::kSectionASize - 1},
                                 {image::kFireKeyStart, image::kFireKeySize - 1},
                                 {image::kProfileStart, image::kProfileSize - 1}})
        EXPECT_EQ(back.profile[start + length],
                  sectionChecksum(std::span(back.profile).subspan(start, length)));

    j["damagedChecksums"] =
        Json({{"fireKeys", hexByte(back.profile[image::kFireKeyStart + image::kFireKeySize - 1])}});
    EXPECT_EQ(readBack(j).path, "damagedChecksums.fireKeys");
}

// Any image bytes at all: what a field cannot say goes as {"byte": n} or raw hex.
TEST(ConfigJson, RandomImagesComeBackByteForByte) {
    std::mt19937 random(12);
    for (int round = 0; round < 300; ++round) {
        Bytes p = editionData(Edition::Editor).profile;
        for (std::size_t i = 0; i < p.size(); ++i)
            if (i != image::kDataType && random() % 3 == 0)
                p[i] = static_cast<std::uint8_t>(random());
        // Small values reach the named forms more often.
        for (std::size_t i = 10; i < 32; ++i)
            if (random() % 2 == 0) p[i] = static_cast<std::uint8_t>(random() % 12);
        if (round % 2 == 0) sealAll(p);
        expectRoundTrip(p);
        if (HasFatalFailure()) return;
    }
}

TEST(ConfigJson, TheOtherLayoutPlacesTheMiddleBlocks) {
    const EditionData& d = editionData(Edition::Editor);
    Bytes p = d.profile;
    p[image::kDataType] = kDataType3A;
    p[32] = 40; // mode 2 red in this layout
    p[87] = 0x12;
    const ConfigJsonContext ctx{Edition::Editor, kDataType3A, d.languages.table(1)};
    const Json j = Json::parse(*configurationToJson(p, ctx));
    EXPECT_EQ(j["lighting"]["mode2Colour"][0], 40);
    EXPECT_EQ(j["identityCode"], "12 5A");
    const ConfigJsonResult back = configurationFromJson(j.dump(), ctx);
    ASSERT_TRUE(back.ok()) << back.message();
    EXPECT_EQ(back.profile, p);
}

struct Refusal {
    std::function<void(Json&)> change;
    std::string path;
    std::string words;
};

TEST(ConfigJson, RefusesWhatDoesNotFitAtItsPath) {
    const Json base = exported(fullMacroStore(editionData(Edition::Editor).profile));
    const std::vector<Refusal> refusals = {
        {[](Json& j) { j["edition"] = "orlix-editor-s"; }, "edition", "made for orlix-editor-s"},
        {[](Json& j) { j["dataType"] = "0x3A"; }, "dataType", "data type 0x3A"},
        {[](Json& j) { j["format"] = "something else"; }, "format", "is not"},
        {[](Json& j) { j["version"] = 2; }, "version", "version 2"},
        {[](Json& j) { j.erase("version"); }, "version", "missing"},
        {[](Json& j) { j["colour"] = 1; }, "colour", "unknown field"},
        {[](Json& j) { j["resolution"]["extra"] = true; }, "resolution.extra", "unknown field"},
        {[](Json& j) { j["macros"][3]["notes"] = ""; }, "macros[3].notes", "unknown field"},
        {[](Json& j) { j["lighting"].erase("steps"); }, "lighting.steps", "missing"},
        {[](Json& j) { j["resolution"]["levels"][1] = 1700; }, "resolution.levels[1]", "1700"},
        {[](Json& j) { j["resolution"]["levels"][1] = "1600"; }, "resolution.levels[1]",
         "whole number"},
        {[](Json& j) { j["resolution"]["levels"] = Json({1000}); }, "resolution.levels",
         "4 entries"},
        {[](Json& j) { j["resolution"]["currentLevel"] = 5; }, "resolution.currentLevel", "1..4"},
        {[](Json& j) { j["resolution"]["currentLevel"] = 0; }, "resolution.currentLevel", "1..4"},
        {[](Json& j) { j["resolution"]["reportRate"] = 250; }, "resolution.reportRate", "250"},
        {[](Json& j) { j["resolution"]["reportRate"] = 1000.5; }, "resolution.reportRate",
         "fraction"},
        {[](Json& j) { j["activeProfile"] = "other"; }, "activeProfile", "none of"},
        {[](Json& j) {
             j["lighting"]["mode"] = Json({{"byte", 256}});
         },
         "lighting.mode.byte", "0..255"},
        {[](Json& j) { j["lighting"]["steps"]["rise"] = 11; }, "lighting.steps.rise", "1..10"},
        {[](Json& j) { j["lighting"]["mode1Colour"][2] = 101; }, "lighting.mode1Colour[2]",
         "0..100"},
        {[](Json& j) { j["lighting"]["colourMode"] = 3; }, "lighting.colourMode", "1..2"},
        {[](Json& j) { j["lighting"]["otherFlagBits"] = "FF"; }, "lighting.otherFlagBits",
         "bits 0 and 4"},
        {[](Json& j) { j["lighting"]["used"] = 1; }, "lighting.used", "true or false"},
        {[](Json& j) { j["fireKeys"][2]["repeat"] = 16; }, "fireKeys[2].repeat", "2..15"},
        {[](Json& j) { j["fireKeys"][2]["repeat"] = 1; }, "fireKeys[2].repeat", "2..15"},
        {[](Json& j) { j["fireKeys"][3]["delay"] = 2001; }, "fireKeys[3].delay", "2..2000"},
        {[](Json& j) { j["fireKeys"][3]["delay"] = 1; }, "fireKeys[3].delay", "2..2000"},
        {[](Json& j) {
             j["fireKeys"][0] = Json({{"bytes", "06 12 00"}});
         },
         "fireKeys[0].bytes", "3 bytes"},
        {[](Json& j) { j["fireModeGroup"] = Json({2}); }, "fireModeGroup", "select []"},
        {[](Json& j) { j["profiles"]["main"][0]["code"] = "0101000"; }, "profiles.main[0].code",
         "no assignment code"},
        {[](Json& j) { j["profiles"]["main"][0]["code"] = "0101000G"; }, "profiles.main[0].code",
         "no assignment code"},
        {[](Json& j) { j["profiles"]["alternate"][6]["code"] = "09010000"; },
         "profiles.alternate[6].function", "\"CPI +\""},
        {[](Json& j) { j["profiles"]["main"][1]["button"] = 3; }, "profiles.main[1].button",
         "button 2"},
        {[](Json& j) { j["profiles"]["resetControl"].erase(11); }, "profiles.resetControl",
         "12 entries"},
        {[](Json& j) { j["macros"][5]["number"] = 7; }, "macros[5].number", "in order"},
        {[](Json& j) { j["macros"][5]["script"][2] = "1 A CODE:0204"; }, "macros[5].script[2]",
         "no event line"},
        {[](Json& j) { j["macros"][5]["script"][0] = "11"; }, "macros[5].script[0]", "header"},
        {[](Json& j) { j["macros"][5]["name"] = "fifteen letters"; }, "macros[5].name", "14"},
        {[](Json& j) { j["macros"][5]["unusedBodyBytes"] = "A5*10"; }, "macros[5].unusedBodyBytes",
         "are needed"},
        {[](Json& j) { j["macros"][5]["unusedNameBytes"] = "00*28"; }, "macros[5].unusedNameBytes",
         "are needed"},
        {[](Json& j) {
             for (int i = 0; i < 400; ++i)
                 j["macros"][31]["script"].push_back("0 100");
         },
         "macros[31].script[", "does not fit"},
        {[](Json& j) { j["reserved"]["block"] = "00*50"; }, "reserved.block",
         "50 bytes instead of 51"},
        {[](Json& j) { j["reserved"]["byte0"] = "0"; }, "reserved.byte0", "hexadecimal"},
        {[](Json& j) { j["vendorId"] = "1BCF"; }, "vendorId", "\"0x\""},
        {[](Json& j) { j["profiles"] = Json::array(); }, "profiles", "must be an object"},
    };
    for (const Refusal& r : refusals) {
        Json j = base;
        r.change(j);
        const ConfigJsonResult result = readBack(j);
        EXPECT_FALSE(result.ok()) << r.path;
        EXPECT_TRUE(result.profile.empty()) << r.path;
        EXPECT_TRUE(result.path.starts_with(r.path)) << r.path << " / " << result.message();
        EXPECT_NE(result.error.find(r.words), std::string::npos)
            << r.path << " / " << result.message();
    }
    // The untouched file is taken: the refusals above come from the changes alone.
    EXPECT_TRUE(readBack(base).ok());
}

TEST(ConfigJson, RefusesTextThatIsNoConfiguration) {
    const ConfigJsonContext ctx = contextFor(Edition::Editor);
    for (std::string_view text : {"", "{", "[]", "null", "{\"format\": 1}", "\xFF\xFE{}"}) {
        const ConfigJsonResult r = configurationFromJson(text, ctx);
        EXPECT_FALSE(r.ok()) << text;
        EXPECT_TRUE(r.profile.empty());
    }
    EXPECT_NE(configurationFromJson("{", ctx).error.find("not valid JSON"), std::string::npos);
    // A field given twice is refused, not resolved by taking one of the two.
    std::string twice = exported(editionData(Edition::Editor).profile).dump();
    twice.insert(twice.find("\"reportRate\""), "\"reportRate\": 1000, ");
    const ConfigJsonResult duplicate = configurationFromJson(twice, ctx);
    EXPECT_EQ(duplicate.path, "reportRate");
    EXPECT_NE(duplicate.error.find("given twice"), std::string::npos);
    // Deep nesting is refused without exhausting the stack.
    EXPECT_FALSE(
        configurationFromJson(std::string(100000, '[') + std::string(100000, ']'), ctx).ok());
    EXPECT_FALSE(configurationToJson(Bytes(kImageSize, 0), ctx).has_value());
}

TEST(ConfigJson, HexRunsSpellBytesExactly) {
    EXPECT_EQ(hexRuns(Bytes{}), "");
    EXPECT_EQ(hexRuns(Bytes{0xFF, 0xFF, 0xEF}), "FF FF EF");
    EXPECT_EQ(hexRuns(Bytes{0, 0, 0, 1}), "00*3 01");
    EXPECT_EQ(parseHexRuns("00*3 01"), (Bytes{0, 0, 0, 1}));
    EXPECT_EQ(parseHexRuns("ff fe"), (Bytes{0xFF, 0xFE}));
    EXPECT_EQ(parseHexRuns("AB*1"), (Bytes{0xAB}));
    for (std::string_view bad : {"0", "000", "00 ", " 00", "00  01", "00*", "00*0", "00*x",
                                 "00*34049", "00,01", "GG", "00*99999999999999999999"})
        EXPECT_FALSE(parseHexRuns(bad).has_value()) << bad;
    EXPECT_EQ(parseHexRuns("00*34048")->size(), 34048u);
}

} // namespace
} // namespace orlix

namespace orlix {

TEST(ConfigJson, FireKeysAtTheEdgesOfTheirRangesAreNamedAndOthersKeptAsBytes) {
    // repeat, delay of fire key 2 -> written as numbers (else as its bytes)
    const std::tuple<int, int, bool> rows[] = {{2, 2, true},    {15, 2000, true}, {15, 16, true},
                                               {7, 2000, true}, {1, 16, false},   {0, 16, false},
                                               {5, 1, false},   {5, 2001, false}, {5, 4095, false}};
    for (const auto& [repeat, delay, named] : rows) {
        Bytes profile = editionData(Edition::Editor).profile;
        const std::size_t at = image::kFireKeyStart + 4;
        profile[at + 1] = static_cast<std::uint8_t>(0x10 + repeat);
        profile[at + 2] = static_cast<std::uint8_t>(delay >> 8);
        profile[at + 3] = static_cast<std::uint8_t>(delay & 0xFF);
        sealSection(std::span(profile).subspan(image::kFireKeyStart, image::kFireKeySize));
        const Json j = exported(profile);
        if (named) {
            EXPECT_EQ(j["fireKeys"][1], Json({{"repeat", repeat}, {"delay", delay}}))
                << repeat << "/" << delay;
        } else {
            EXPECT_TRUE(j["fireKeys"][1].contains("bytes")) << repeat << "/" << delay;
        }
        expectRoundTrip(profile);
    }
}

} // namespace orlix
