#pragma once

#include "model/MacroStore.h"
#include "model/TextSource.h"
#include "widgets/SkinDialog.h"

#include <QLineEdit>

#include <cstddef>

namespace orlix::macro::gui {

// TForm3: names a macro. Shaped, topmost and not modal, centred over the main window. It is
// bound to the macro that was selected when it opened: choosing another macro meanwhile does
// not redirect the name.
class MacroNameDialog : public pages::SkinDialog {
    Q_OBJECT
public:
    static constexpr int kMaxChars = static_cast<int>(kMacroNameMaxChars);

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
    void confirm();

    std::size_t macro_ = 0;
    QLineEdit* edit_;
};

} // namespace orlix::macro::gui
