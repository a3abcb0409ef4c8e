// Macro import files come from anywhere: an import either takes a well-formed file or leaves
// the store exactly as it was.
#include "macro/MacroFiles.h"
#include "model/MacroStore.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orlix;
    static const std::string path = "/tmp/orlix-fuzz-macro-" + std::to_string(::getpid());
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const auto same = [](const MacroStore& a, const MacroStore& b) {
        return a.table == b.table && a.bodies == b.bodies;
    };
    MacroStore store;
    store.fill(0x5A);
    const MacroStore before = store;
    if (!importOneMacro(path, store, size % kMacroCount) && !same(store, before)) std::abort();
    MacroStore all = before;
    if (!importAllMacros(path, all) && !same(all, before)) std::abort();
    return 0;
}
