#include "rules/Marquee.h"

namespace orlix::pages {

const std::u32string& Marquee::tick() {
    counter_ = counter_ >= kWrapAfter ? 2 : counter_ + 1;
    if (text_.empty()) return text_;
    const char32_t first = text_.front();
    text_.erase(text_.begin());
    if (counter_ == 1) text_ += U"    ";
    text_ += first;
    return text_;
}

} // namespace orlix::pages
