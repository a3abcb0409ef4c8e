#include "platform/CodePage.h"

#include <windows.h>

namespace orlix::platform {

namespace {
std::optional<std::wstring> toWide(UINT codePage, std::string_view in) {
    if (in.empty()) return std::wstring();
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(),
                                static_cast<int>(in.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()),
                        out.data(), n);
    return out;
}

std::optional<std::string> fromWide(UINT codePage, const std::wstring& in) {
    if (in.empty()) return std::string();
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultPtr = codePage == CP_UTF8 ? nullptr : &usedDefault;
    int n = WideCharToMultiByte(codePage, 0, in.data(), static_cast<int>(in.size()), nullptr, 0,
                                nullptr, usedDefaultPtr);
    if (n <= 0) return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, in.data(), static_cast<int>(in.size()), out.data(), n, nullptr,
                        usedDefaultPtr);
    if (usedDefault) return std::nullopt;
    return out;
}
} // namespace

std::optional<std::string> cp936ToUtf8(std::string_view bytes) {
    auto wide = toWide(936, bytes);
    if (!wide) return std::nullopt;
    return fromWide(CP_UTF8, *wide);
}

std::optional<std::string> utf8ToCp936(std::string_view text) {
    auto wide = toWide(CP_UTF8, text);
    if (!wide) return std::nullopt;
    return fromWide(936, *wide);
}

} // namespace orlix::platform
