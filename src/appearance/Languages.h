#pragma once

#include "appearance/LanguageTable.h"
#include "appearance/ResourceBundle.h"
#include "model/Edition.h"
#include "model/TextSource.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix::appearance {

// Texts other parts of the window keep from the language applied last.
struct StoredTexts {
    std::string title;                              // Title
    std::string alternateRefused;                   // Str020
    std::string resetControlRefused;                // Str021
    std::string deviceNotFound;                     // Str022
    std::string writeRefused;                       // Str023
    std::string macroFunction;                      // Str206
    std::string alternateProfileFunction;           // Str242
    std::string alternateResetFunction;             // Str245
    std::array<std::string, 12> resolutionValues{}; // Str320 .. Str331
    std::string record;                             // Str400
    std::string stop;                               // Str401
    std::string insertDelayOk;                      // Str420
    std::string insertKeyOk;                        // Str421
    std::string clearMacroQuestion;                 // Str430
};

// The three language tables of an edition and the current language number (1 at every start).
// As a TextSource it answers with the texts of the current language.
class Languages : public TextSource {
public:
    Languages() = default;
    explicit Languages(std::array<LanguageTable, 3> tables) : tables_(std::move(tables)) {}

    struct Loaded;
    // Reads "lang1" to "lang3" in the edition's table format. A missing resource gives an
    // empty table and a problem message.
    static Loaded load(const ResourceBundle& resources, const EditionTraits& traits);

    int current() const { return current_; }
    // Makes n (1..3) the current language; false and no change for any other n.
    bool select(int n);

    // n is 1..3; throws std::out_of_range otherwise.
    const LanguageTable& table(int n) const;
    const LanguageTable& currentTable() const { return tables_[current_ - 1]; }

    std::string text(std::string_view id) const override { return currentTable().text(id); }

    // The id whose text equals `text` exactly: every table from language 1 to 3, and in each
    // the keys "Str0" to "Str600" (numbers without leading zeros, so only ids 100 to 600 can
    // match); the last match wins. nullopt for an empty text or when nothing matches.
    std::optional<std::string> findTextId(std::string_view text) const;

    // A button label's caption in the current language: the text of the id found for the
    // caption, or the caption unchanged when no id is found (key combinations, macro names).
    std::string recaption(std::string_view caption) const;

    // A function-menu entry: blank, the marker Str200, blank, the text of `id`.
    std::string menuEntryCaption(std::string_view id) const;
    // An insert-box delay choice (Str414 .. Str416): seven blanks, then the text.
    std::string delayChoiceCaption(std::string_view id) const;

    StoredTexts stored() const;

private:
    std::array<LanguageTable, 3> tables_;
    int current_ = 1;
};

struct Languages::Loaded {
    Languages languages;
    std::vector<std::string> problems;
};

} // namespace orlix::appearance
