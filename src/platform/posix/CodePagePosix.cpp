#include "platform/CodePage.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace orlix::platform {

namespace {
std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::vector<char> input(in.begin(), in.end());
    std::string out;
    std::vector<char> chunk(4 * in.size() + 16);
    char* inPtr = input.data();
    std::size_t inLeft = input.size();
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = chunk.data();
        std::size_t outLeft = chunk.size();
        std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(chunk.data(), chunk.size() - outLeft);
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    return out;
}
} // namespace

std::optional<std::string> cp936ToUtf8(std::string_view bytes) {
    return convert("UTF-8", "CP936", bytes);
}

std::optional<std::string> utf8ToCp936(std::string_view text) {
    return convert("CP936", "UTF-8", text);
}

} // namespace orlix::platform
