#include "appearance/TextIds.h"

#include <utility>

namespace orlix::appearance {

std::string strId(int number) {
    std::string digits = std::to_string(number);
    while (digits.size() < 3)
        digits.insert(digits.begin(), '0');
    return "Str" + digits;
}

const std::vector<std::string>& usedTextIds() {
    static const std::vector<std::string> ids = [] {
        constexpr std::pair<int, int> kRanges[] = {
            {0, 14},    {20, 24},   {100, 105}, {200, 206}, {210, 214}, {220, 223},
            {230, 234}, {240, 248}, {250, 256}, {260, 266}, {300, 307}, {310, 313},
            {320, 331}, {400, 418}, {420, 422}, {430, 430}, {500, 502}, {510, 512}};
        std::vector<std::string> all{"Title"};
        for (auto [first, last] : kRanges) {
            for (int n = first; n <= last; ++n)
                all.push_back(strId(n));
        }
        return all;
    }();
    return ids;
}

} // namespace orlix::appearance
