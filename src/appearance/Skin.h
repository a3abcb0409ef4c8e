#pragma once

#include "appearance/Languages.h"
#include "appearance/Layout.h"
#include "appearance/Png.h"
#include "appearance/ResourceBundle.h"
#include "model/Edition.h"

#include <string>
#include <string_view>

namespace orlix::appearance {

// The main window's look for one edition: reads the layout resources from the bundle in the
// order the window needs them and keeps the resulting Layout.
//
//   orlix-editor:   start-up reads "[org]" of "ORG" (web button); language n reads position,
//                   visibility, sizes and colours from "[orgN]" of "ORGN".
//   orlix-editor-s: start-up reads "[org]" of "ORG" (web button, positions, visibility);
//                   language n reads sizes and colours from "[langN]" of its language table.
class Skin {
public:
    Skin(const ResourceBundle& resources, const EditionTraits& traits)
        : resources_(resources), traits_(traits), layout_(traits) {}

    // Start-up, before the first language is applied.
    void loadWebSettings();
    // Language n (1..3) was chosen; `languages` must hold this edition's tables.
    void applyLanguage(int n, const Languages& languages);

    const Layout& layout() const { return layout_; }
    Layout& layout() { return layout_; }

    // Resource names of background set n (1..3): the window, and page 1..4 (button pages,
    // Advanced, Breathing light, Macro).
    static std::string windowBackground(int set);
    static std::string pageBackground(int set, int page);

    ImageResult image(std::string_view name) const { return decodePngResource(resources_, name); }

private:
    const IniSection* section(std::string_view resource, std::string_view name);

    const ResourceBundle& resources_;
    const EditionTraits& traits_;
    Layout layout_;
    IniDocument document_; // the resource last opened
};

} // namespace orlix::appearance
