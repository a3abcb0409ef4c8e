#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orlix {

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD and is counted in *invalid.
std::string utf16ToUtf8(std::u16string_view text, std::size_t* invalid = nullptr);

// UTF-8 to UTF-16; nullopt when the input is not well-formed UTF-8.
std::optional<std::u16string> utf8ToUtf16(std::string_view text);

} // namespace orlix
