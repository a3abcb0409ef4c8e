#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace orlix::shell {

// Everything the window asks the user or the system through a standard dialog: messages, the
// two file dialogs and the web address. Tests replace it to answer in advance.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box without icon and with one OK button.
    virtual void message(QWidget* parent, const QString& text);
    // The chosen path, or empty when the user cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& filter);
    virtual QString openFileName(QWidget* parent, const QString& filter);
    // Hands the address to the system's handler; the answer is not to be trusted.
    virtual void openUrl(const QUrl& url);
};

} // namespace orlix::shell
