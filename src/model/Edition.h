#pragma once

#include <optional>
#include <string_view>

namespace orlix {

// The two editions built from this tree. Code that differs between them asks the traits
// below instead of testing the edition itself.
enum class Edition { Editor, EditorS };

enum class ColourEntry {
    Dialog,      // a colour dialog opened from a swatch
    PercentEdits // three edits, 0..100 per cent each
};

enum class LayoutModel {
    SkinPerLanguage, // "ORG1".."ORG3": each language brings its own skin and layout
    SingleLayout     // one "ORG" layout; the languages switch background sets only
};

enum class TableEncoding {
    Utf16Quoted,     // UTF-16LE with a byte-order mark, quoted items
    CodePage936Lines // 8-bit lines; languages 2 and 3 in code page 936
};

// The order of the resolution values is not a trait: it comes with each edition's language
// tables, so the same index can read 1600 in one edition and 2000 in the other.
struct EditionTraits {
    Edition edition;
    std::string_view programName; // also the resource folder's name
    bool offersAimKey;            // menu tag 1001 and code 05000000
    bool shapedWindow;            // outline from the background's colour key
    ColourEntry colourEntry;
    LayoutModel layoutModel;
    TableEncoding tableEncoding;
    bool languageTablesCarryStyle; // text sizes and colours in the language tables
};

const EditionTraits& traitsOf(Edition edition);
std::optional<Edition> editionFromName(std::string_view name);

} // namespace orlix
