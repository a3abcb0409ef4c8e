#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace orlix::shell {

// Everything the window asks the user or the system through a standard dialog: messages, the
// two file dialogs and the web address. Tests replace it to answer in advance.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box without icon and with one OK button, captioned in the current language.
    virtual void message(QWidget* parent, const QString& text);
    // A yes-or-no question (Qt's Yes and No buttons); No is the default and what closing
    // the box answers.
    virtual bool confirm(QWidget* parent, const QString& text);
    // A question whose answers are buttons with the given captions, and Cancel. The index
    // of the answer chosen, or -1 for Cancel and for closing the box.
    virtual int choose(QWidget* parent, const QString& text, const QStringList& answers);
    // The OK caption of the current language (the language tables' own, as Qt's Russian
    // translation keeps the Latin "OK"); empty: Qt's.
    void setOkText(const QString& text) { okText_ = text; }
    const QString& okText() const { return okText_; }
    // The chosen path, or empty when the user cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& filter);
    virtual QString openFileName(QWidget* parent, const QString& filter);
    // Hands the address to the system's handler; the answer is not to be trusted.
    virtual void openUrl(const QUrl& url);

private:
    QString okText_;
};

} // namespace orlix::shell
