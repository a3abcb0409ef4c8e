#pragma once

#include <QString>

class QWidget;

namespace orlix::macro::gui {

// The standard dialogs of the macro page: messages, the Clear question and the export and
// import file dialogs. Tests put in their own to answer in advance.
class MacroDialogs {
public:
    virtual ~MacroDialogs() = default;

    // A message box without icon and with one OK button.
    virtual void message(QWidget* parent, const QString& text);
    // An information question with Yes and No; true for Yes.
    virtual bool ask(QWidget* parent, const QString& text);
    // The chosen path, or empty when the user cancelled. The save dialog asks before
    // replacing a file.
    virtual QString saveFileName(QWidget* parent, const QString& filter);
    virtual QString openFileName(QWidget* parent, const QString& filter);
};

} // namespace orlix::macro::gui
