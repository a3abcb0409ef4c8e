#include "Edition.h"

namespace orlix {

namespace {
constexpr EditionTraits kEditor{Edition::Editor,
                                "orlix-editor",
                                false,
                                true,
                                ColourEntry::Dialog,
                                LayoutModel::SkinPerLanguage,
                                TableEncoding::Utf16Quoted,
                                false};
constexpr EditionTraits kEditorS{Edition::EditorS,
                                 "orlix-editor-s",
                                 true,
                                 false,
                                 ColourEntry::PercentEdits,
                                 LayoutModel::SingleLayout,
                                 TableEncoding::CodePage936Lines,
                                 true};
} // namespace

const EditionTraits& traitsOf(Edition edition) {
    return edition == Edition::Editor ? kEditor : kEditorS;
}

std::optional<Edition> editionFromName(std::string_view name) {
    if (name == kEditor.programName) return Edition::Editor;
    if (name == kEditorS.programName) return Edition::EditorS;
    return std::nullopt;
}

} // namespace orlix
