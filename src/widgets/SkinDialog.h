#pragma once

#include "widgets/ButtonLabel.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinPixmaps.h"

#include <QLabel>
#include <QWidget>

namespace orlix::pages {

// The frame the small dialogs share: a shaped, topmost, non-modal panel of one size with a
// title, a close mark and two buttons at its foot (Confirm, and a second one) whose
// highlight shows while the pointer is over them. The dialog adds its own controls between.
class SkinDialog : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 354;
    static constexpr int kHeight = 179;
    static constexpr QRgb kColourKey = 0xFF800000; // colour 128, dark red: see-through

protected:
    // The picture is named `backgroundName`, the title `titleName`.
    SkinDialog(const SkinPixmaps& skin, QWidget* mainWindow, const QString& backgroundName,
               const QString& titleName);

    // Shows the dialog centred on the main window, `below` pixels under its middle, on top
    // and active.
    void showOverMainWindow(int below);

    const SkinPixmaps& skin_;
    QWidget* mainWindow_;
    SkinImage* background_;
    QLabel* title_;
    ButtonLabel* confirm_;
    ButtonLabel* second_;
    ButtonLabel* close_;
    SkinImage* confirmImage_;
    SkinImage* secondImage_;

private:
    void buildBackground();
};

} // namespace orlix::pages
