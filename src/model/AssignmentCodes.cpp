#include "AssignmentCodes.h"

#include "FireKeyFields.h"
#include "Hex.h"
#include "KeyTables.h"

#include <utility>

namespace orlix {

namespace {

struct FixedCode {
    int tag;
    std::string_view code;
    std::string_view nameId;
};

// Functions whose code does not depend on any setting. The name rules below walk this
// table in the order the names must be tried.
constexpr std::array<FixedCode, 31> kFixed{{
    {tag::kLeft, "01010000", "Str210"},          {tag::kRight, "01020000", "Str211"},
    {tag::kMiddle, "01040000", "Str212"},        {tag::kBackward, "01080000", "Str213"},
    {tag::kForward, "01100000", "Str214"},       {tag::kPower, "04010000", "Str221"},
    {tag::kSleep, "04020000", "Str222"},         {tag::kWakeUp, "04030000", "Str223"},
    {tag::kFireMode, "0F000000", "Str240"},      {tag::kProfile, "07000000", "Str242"},
    {tag::kCpi, "09000000", "Str243"},           {tag::kReportRate, "0C000000", "Str244"},
    {tag::kDefault, "0D000000", "Str245"},       {tag::kLedMode, "0E000000", "Str246"},
    {tag::kCpiUp, "09010000", "Str247"},         {tag::kCpiDown, "09020000", "Str248"},
    {tag::kPlayPause, "0300CD00", "Str250"},     {tag::kPlayPause + 1, "0300B700", "Str251"},
    {tag::kPlayPause + 2, "0300B600", "Str252"}, {tag::kPlayPause + 3, "0300B500", "Str253"},
    {tag::kPlayPause + 4, "0300E900", "Str254"}, {tag::kPlayPause + 5, "0300EA00", "Str255"},
    {tag::kPlayPause + 6, "0300E200", "Str256"}, {tag::kWwwHome, "03022300", "Str260"},
    {tag::kWwwHome + 1, "03022100", "Str261"},   {tag::kWwwHome + 2, "03022400", "Str262"},
    {tag::kWwwHome + 3, "03022500", "Str263"},   {tag::kWwwHome + 4, "03022600", "Str264"},
    {tag::kWwwHome + 5, "03022700", "Str265"},   {tag::kWwwHome + 6, "03022A00", "Str266"},
    {tag::kAim, "05000000", "Str241"},
}};

bool isAim(const FixedCode& f) {
    return f.tag == tag::kAim;
}

std::string lookupName(std::string_view code, const CodeContext& ctx, std::size_t from,
                       std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        const auto& f = kFixed[i];
        if (f.code == code && (!isAim(f) || traitsOf(ctx.edition).offersAimKey))
            return ctx.texts.text(f.nameId);
    }
    return {};
}

std::string upper(std::string_view code) {
    std::string out(code);
    for (auto& c : out)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

} // namespace

bool isCodeText(std::string_view code) {
    return code.size() == 8 && fromHex(code).has_value();
}

std::string fireKeyCode(const FireKeySettings& fire, int n) {
    const auto i = static_cast<std::size_t>(n);
    std::array<std::uint8_t, fire::kKeyBytes> key{};
    key[fire::kDelayHighByte] = fire.highNibble[i];
    writeFireKey(key, fire.repeat[i], fire.delay[i]);
    return toHex(key);
}

std::string CodeForTag(int tagValue, const CodeContext& ctx) {
    if (tagValue == tag::kNone) return "00000000";
    if (tagValue >= tag::kFireKey1 && tagValue < tag::kFireKey1 + 4)
        return fireKeyCode(ctx.fireKeys, tagValue - tag::kFireKey1);
    if (tagValue == tag::kAim && !traitsOf(ctx.edition).offersAimKey) return {};
    for (const auto& f : kFixed)
        if (f.tag == tagValue) return std::string(f.code);
    return {};
}

std::string NameForCode(std::string_view codeIn, const CodeContext& ctx) {
    if (!isCodeText(codeIn)) return {};
    std::string code = upper(codeIn);
    // Mouse buttons, then system functions.
    if (auto name = lookupName(code, ctx, 0, 8); !name.empty()) return name;
    for (int n = 0; n < 4; ++n)
        if (code == fireKeyCode(ctx.fireKeys, n))
            return ctx.texts.text("Str23" + std::to_string(1 + n));
    if (code.starts_with("0F")) return ctx.texts.text("Str240");
    if (traitsOf(ctx.edition).offersAimKey && code == "05000000") return ctx.texts.text("Str241");
    if (auto name = lookupName(code, ctx, 9, 30); !name.empty()) return name;
    return KeyCombinationName(code, ctx);
}

std::string KeyCombinationName(std::string_view codeIn, const CodeContext& ctx) {
    auto bytes = fromHex(codeIn);
    if (!bytes || bytes->size() != 4) return {};
    const auto& b = *bytes;
    if (b[0] == 0x02) {
        std::string name;
        if (b[1] & 0x01) name += "Ctrl+";
        if (b[1] & 0x02) name += "Shift+";
        if (b[1] & 0x04) name += "Alt+";
        if (b[1] & 0x08) name += "Win+";
        if (b[2] != 0) name += UsageName(b[2]);
        if (b[3] != 0) {
            if (b[2] != 0) name += "+";
            name += UsageName(b[3]);
        }
        return name;
    }
    if (b[0] == 0x10) {
        auto n = macroIndexOfCode(codeIn);
        return n ? ctx.macroNames[*n] : std::string();
    }
    return {};
}

} // namespace orlix
