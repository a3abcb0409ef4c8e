#pragma once

#include "model/TextSource.h"
#include "widgets/ButtonLabel.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinPixmaps.h"

#include <QLineEdit>
#include <QWidget>

#include <cstddef>

namespace orlix::macro::gui {

// TForm3: names a macro. Shaped, topmost and not modal, centred over the main window. It is
// bound to the macro that was selected when it opened: choosing another macro meanwhile does
// not redirect the name.
class MacroNameDialog : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 354;
    static constexpr int kHeight = 179;
    static constexpr int kMaxChars = 14;
    static constexpr QRgb kColourKey = 0xFF800000; // colour 128, dark red: see-through

    MacroNameDialog(const pages::SkinPixmaps& skin, QWidget* mainWindow);

    // Opens for macro n with its current name in the field.
    void open(std::size_t macro, const QString& currentName, const TextSource& texts);
    std::size_t macro() const { return macro_; }
    QLineEdit* edit() const { return edit_; }

signals:
    // Confirm with a name that is not empty.
    void confirmed(std::size_t macro, const QString& name);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildBackground();
    void confirm();

    const pages::SkinPixmaps& skin_;
    QWidget* mainWindow_;
    std::size_t macro_ = 0;
    pages::SkinImage* background_;
    QLabel* title_;
    QLineEdit* edit_;
    pages::ButtonLabel* confirm_;
    pages::ButtonLabel* cancel_;
    pages::ButtonLabel* close_;
    pages::SkinImage* confirmImage_;
    pages::SkinImage* cancelImage_;
};

} // namespace orlix::macro::gui
