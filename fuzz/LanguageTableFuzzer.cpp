// Language tables in both encodings: reading never fails, and every text read is valid UTF-8
// the window can show.
#include "appearance/LanguageTable.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80         ? 1
                        : (c >> 5) == 6  ? 2
                        : (c >> 4) == 14 ? 3
                        : (c >> 3) == 30 ? 4
                                         : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orlix::appearance;
    for (auto read : {readQuotedUtf16Table({data, size}, "LANG1"),
                      readCodePage936Table({data, size}, "LANG2")}) {
        for (const auto& entry : read.table.section().entries()) {
            if (!validUtf8(entry.second)) std::abort();
        }
        (void)read.table.text("Str000");
    }
    bool unterminated = false;
    (void)splitQuotedItems(std::string_view(reinterpret_cast<const char*>(data), size),
                           &unterminated);
    return 0;
}
