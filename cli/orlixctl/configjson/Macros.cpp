#include "Sections.h"

#include "macro/MacroCodec.h"
#include "model/TextCodec.h"

#include <algorithm>

namespace orlix::configjson {

namespace {

// Where a macro's name starts in its table entry: after its body address and length.
constexpr std::size_t kNameStart = kMacroEntrySize - kMacroNameBytes;

// The parts a macro is written as when its script lines rebuild it exactly.
struct MacroParts {
    std::string name;
    std::vector<std::string> script; // header first; empty for a macro of length 0
    std::vector<std::uint8_t> unusedName;
    std::vector<std::uint8_t> unusedBody;
};

// The body from the script lines; returns its length.
std::size_t buildBody(const MacroParts& parts, MacroBodyBytes& body, const std::string& path) {
    if (parts.script.empty()) return 0;
    if (!isHeaderLine(parts.script[0]))
        throw Fault(path + ".script[0]",
                    "\"" + parts.script[0] +
                        "\" is no delay-mode header (\"10\", \"00\" or \"01\" and a delay)");
    MacroScript script;
    script.header = parts.script[0];
    for (std::size_t i = 1; i < parts.script.size(); ++i) {
        if (!parseEventLine(parts.script[i]))
            throw Fault(path + ".script[" + std::to_string(i) + "]",
                        "\"" + parts.script[i] + "\" is no event line");
        script.events.push_back(parts.script[i]);
    }
    const EncodedBody encoded = encodeScript(script);
    if (!encoded.ok())
        throw Fault(path + ".script[" + std::to_string(*encoded.badEntry + 1) + "]",
                    "the macro does not fit its " + std::to_string(kMacroBodySize) +
                        " bytes from this line on");
    std::copy(encoded.bytes.begin(), encoded.bytes.end(), body.begin());
    return encoded.bytes.size();
}

// Builds macro n of `store` from its parts. Throws a Fault under `path` when they do not form
// a macro.
void buildMacro(const MacroParts& parts, MacroStore& store, std::size_t n,
                const std::string& path) {
    auto entry = store.entry(n);
    std::fill(entry.begin(), entry.end(), 0);
    MacroBodyBytes& body = store.bodies[n];
    const std::size_t length = buildBody(parts, body, path);
    if (parts.unusedBody.size() != kMacroBodySize - length)
        throw Fault(path + ".unusedBodyBytes",
                    "holds " + std::to_string(parts.unusedBody.size()) +
                        " bytes; the script takes " + std::to_string(length) + " of the body's " +
                        std::to_string(kMacroBodySize) + ", so " +
                        std::to_string(kMacroBodySize - length) + " are needed");
    std::copy(parts.unusedBody.begin(), parts.unusedBody.end(),
              body.begin() + static_cast<std::ptrdiff_t>(length));
    store.setBodyLength(n, static_cast<std::uint16_t>(length));

    const auto units = utf8ToUtf16(parts.name);
    if (!units || units->size() > kMacroNameMaxChars)
        throw Fault(path + ".name", "a macro name has at most " +
                                        std::to_string(kMacroNameMaxChars) + " characters");
    store.setName(n, parts.name);
    const std::size_t nameBytes = units->size() * 2;
    if (parts.unusedName.size() != kMacroNameBytes - nameBytes)
        throw Fault(path + ".unusedNameBytes",
                    "holds " + std::to_string(parts.unusedName.size()) + " bytes; the name takes " +
                        std::to_string(nameBytes) + " of " + std::to_string(kMacroNameBytes) +
                        ", so " + std::to_string(kMacroNameBytes - nameBytes) + " are needed");
    std::copy(parts.unusedName.begin(), parts.unusedName.end(),
              entry.begin() + static_cast<std::ptrdiff_t>(kNameStart + nameBytes));
}

// The parts of macro n, when they give back its very bytes.
std::optional<MacroParts> exactParts(const MacroStore& store, std::size_t n) {
    const std::uint16_t length = store.bodyLength(n);
    if (length > kMacroBodySize) return std::nullopt;
    MacroParts parts;
    parts.name = store.name(n);
    if (length > 0) parts.script = MacroBodyToScript(store, n).script.lines();
    const auto units = utf8ToUtf16(parts.name);
    const std::size_t nameBytes = units ? units->size() * 2 : 0;
    const auto entry = store.entry(n);
    parts.unusedName.assign(entry.begin() + static_cast<std::ptrdiff_t>(
                                                std::min(kNameStart + nameBytes, kMacroEntrySize)),
                            entry.end());
    const std::size_t used = parts.script.empty() ? 0 : length;
    parts.unusedBody.assign(store.bodies[n].begin() + static_cast<std::ptrdiff_t>(used),
                            store.bodies[n].end());
    MacroStore rebuilt;
    try {
        buildMacro(parts, rebuilt, n, "");
    } catch (const Fault&) {
        return std::nullopt;
    }
    if (!std::ranges::equal(rebuilt.entry(n), entry) || rebuilt.bodies[n] != store.bodies[n])
        return std::nullopt;
    return parts;
}

Json macroJson(const MacroStore& store, std::size_t n) {
    Json m;
    m["number"] = n + 1;
    if (const auto parts = exactParts(store, n)) {
        m["name"] = parts->name;
        m["script"] = parts->script;
        m["unusedNameBytes"] = hexRuns(parts->unusedName);
        m["unusedBodyBytes"] = hexRuns(parts->unusedBody);
    } else {
        m["entry"] = hexRuns(store.entry(n));
        m["body"] = hexRuns(store.bodies[n]);
    }
    return m;
}

void readMacro(const Json& macro, const std::string& mp, std::size_t n, MacroStore& store) {
    if (macro.is_object() && macro.contains("entry"))
        fields(macro, mp, {"number", "entry", "body"});
    else
        fields(macro, mp, {"number", "name", "script", "unusedNameBytes", "unusedBodyBytes"});
    const long long number = integer(macro["number"], at(mp, "number"), 1, kMacroCount);
    if (static_cast<std::size_t>(number) != n + 1)
        throw Fault(at(mp, "number"), "macro " + std::to_string(number) + " stands in place " +
                                          std::to_string(n + 1) +
                                          "; the macros are listed 1 to 32 in order");
    if (macro.contains("entry")) {
        const auto e = bytes(macro["entry"], at(mp, "entry"), kMacroEntrySize);
        const auto b = bytes(macro["body"], at(mp, "body"), kMacroBodySize);
        std::copy(e.begin(), e.end(), store.entry(n).begin());
        std::copy(b.begin(), b.end(), store.bodies[n].begin());
        return;
    }
    MacroParts parts;
    parts.name = text(macro["name"], at(mp, "name"));
    const Json& script = list(macro["script"], at(mp, "script"), SIZE_MAX);
    for (std::size_t i = 0; i < script.size(); ++i)
        parts.script.push_back(text(script[i], at(at(mp, "script"), i)));
    parts.unusedName = bytes(macro["unusedNameBytes"], at(mp, "unusedNameBytes"), SIZE_MAX);
    parts.unusedBody = bytes(macro["unusedBodyBytes"], at(mp, "unusedBodyBytes"), SIZE_MAX);
    buildMacro(parts, store, n, mp);
}

} // namespace

Json writeMacros(const Profile& p) {
    Json macros = Json::array();
    for (std::size_t n = 0; n < kMacroCount; ++n)
        macros.push_back(macroJson(p.store, n));
    return macros;
}

void readMacros(const Json& m, const std::string& path, Profile& p) {
    list(m, path, kMacroCount);
    for (std::size_t n = 0; n < kMacroCount; ++n)
        readMacro(m[n], at(path, n), n, p.store);
}

} // namespace orlix::configjson
