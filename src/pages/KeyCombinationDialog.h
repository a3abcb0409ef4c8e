#pragma once

#include "model/TextSource.h"
#include "rules/KeyCombination.h"
#include "widgets/SkinDialog.h"

#include <QCheckBox>
#include <QLineEdit>

#include <array>

namespace orlix::pages {

// The edit of the key-combination dialog: read-only, it takes every key press (Tab included)
// and hands it on as a Windows virtual-key code with the modifier keys held.
class KeyCaptureEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit KeyCaptureEdit(QWidget* parent);

signals:
    void escapePressed();
    void keyCaptured(unsigned virtualKey, KeyCombination::Held held);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool lastWasBareEscape_ = false; // the key just captured was Esc on its own
};

// TForm2: builds a keyboard combination for a mouse button from up to four modifiers and up
// to two keys. Shaped, topmost and not modal: the main window stays usable while it is open,
// and the result goes to whatever button is selected there when Confirm is pressed.
class KeyCombinationDialog : public SkinDialog {
    Q_OBJECT
public:
    KeyCombinationDialog(const SkinPixmaps& skin, QWidget* mainWindow);

    // Starts from the initial state, captions from the current language, centred on the main
    // window 40 pixels below its middle, and takes the keyboard focus.
    void open(const TextSource& texts);

    const KeyCombination& combination() const { return model_; }
    QLineEdit* edit() const { return edit_; }

signals:
    void confirmed(const QString& text, const QString& code);

private:
    void refreshEdit();
    void modifierClicked(KeyCombination::Modifier m, bool checked);
    void confirm();
    void clearAll();

    KeyCombination model_;
    KeyCaptureEdit* edit_;
    std::array<QCheckBox*, 4> boxes_{};
};

} // namespace orlix::pages
