#pragma once

#include <string>

namespace orlix::pages {

// The scrolling caption of a hovered button label: every tick moves the first character to
// the end; the first tick also opens a gap of four blanks so the name's end and start stay
// apart while it runs.
class Marquee {
public:
    static constexpr int kWrapAfter = 65535; // the counter then continues at 2

    void start(std::u32string caption) {
        text_ = std::move(caption);
        counter_ = 0;
    }
    const std::u32string& tick();

    const std::u32string& text() const { return text_; }
    int counter() const { return counter_; }
    // For tests of the long run: as if that many ticks had passed.
    void setCounter(int counter) { counter_ = counter; }

private:
    std::u32string text_;
    int counter_ = 0;
};

} // namespace orlix::pages
