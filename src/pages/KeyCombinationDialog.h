#pragma once

#include "model/TextSource.h"
#include "rules/KeyCombination.h"
#include "widgets/ButtonLabel.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinPixmaps.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>

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
};

// TForm2: builds a keyboard combination for a mouse button from up to four modifiers and up
// to two keys. Shaped, topmost and not modal: the main window stays usable while it is open,
// and the result goes to whatever button is selected there when Confirm is pressed.
class KeyCombinationDialog : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 354;
    static constexpr int kHeight = 179;
    static constexpr QRgb kColourKey = 0xFF800000; // maroon: see-through

    KeyCombinationDialog(const SkinPixmaps& skin, QWidget* mainWindow);

    // Starts from the initial state, captions from the current language, centred on the main
    // window 40 pixels below its middle, and takes the keyboard focus.
    void open(const TextSource& texts);

    const KeyCombination& combination() const { return model_; }
    QLineEdit* edit() const { return edit_; }

signals:
    void confirmed(const QString& text, const QString& code);

private:
    void buildBackground();
    void refreshEdit();
    void modifierClicked(KeyCombination::Modifier m, bool checked);
    void confirm();
    void clearAll();

    const SkinPixmaps& skin_;
    QWidget* mainWindow_;
    KeyCombination model_;
    SkinImage* background_;
    QLabel* title_;
    KeyCaptureEdit* edit_;
    std::array<QCheckBox*, 4> boxes_{};
    ButtonLabel* confirm_;
    ButtonLabel* clear_;
    ButtonLabel* close_;
    SkinImage* confirmImage_;
    SkinImage* clearImage_;
};

} // namespace orlix::pages
