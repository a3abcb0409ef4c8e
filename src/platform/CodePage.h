#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orlix::platform {

// Conversion between code page 936 (simplified Chinese GBK) and UTF-8. nullopt when the
// input holds a sequence the code page does not have.
std::optional<std::string> cp936ToUtf8(std::string_view bytes);
std::optional<std::string> utf8ToCp936(std::string_view text);

} // namespace orlix::platform
