#pragma once

#include <map>
#include <string>
#include <string_view>

namespace orlix {

// Where the model gets the texts of the current language ("Str210", "Title", ...).
// Texts are UTF-8. A missing id gives the empty text.
class TextSource {
public:
    virtual ~TextSource() = default;
    virtual std::string text(std::string_view id) const = 0;
};

// A fixed table of texts; used where no language table is loaded and in tests.
class MapTextSource : public TextSource {
public:
    MapTextSource() = default;
    explicit MapTextSource(std::map<std::string, std::string, std::less<>> texts)
        : texts_(std::move(texts)) {}

    void set(std::string id, std::string value) { texts_[std::move(id)] = std::move(value); }
    std::string text(std::string_view id) const override {
        auto it = texts_.find(id);
        return it == texts_.end() ? std::string() : it->second;
    }

private:
    std::map<std::string, std::string, std::less<>> texts_;
};

} // namespace orlix
