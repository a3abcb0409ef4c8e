#pragma once

namespace orlix::appearance {
class Languages;
class Layout;
} // namespace orlix::appearance

namespace orlix::pages {

// What the main window tells a settings page. The button-assignment page is part of the
// window itself; the Advanced, Breathing-light and Macro pages plug in through this.
class PageView {
public:
    virtual ~PageView() = default;
    // A parameter image was taken into the window (start-up, device read, file, reset).
    virtual void refresh() {}
    // A language (and, in orlix-editor, its skin) was applied.
    virtual void applyLanguage(const appearance::Languages&, const appearance::Layout&) {}
    // EnableEditing / DisableEditing.
    virtual void setEditing(bool) {}
    // LockWindow / UnlockWindow.
    virtual void setLocked(bool) {}
    // The kind of mouse changed (macro store or not); false also when the mouse went away.
    virtual void setMacroDevice(bool) {}
};

} // namespace orlix::pages
