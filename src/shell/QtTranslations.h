#pragma once

#include "model/Edition.h"

#include <QObject>
#include <QString>

class QTranslator;

namespace orlix::shell {

// Qt's own texts (the OK, Yes and No of message boxes, the file dialogs) in the window's
// current language, from the Qt translations the system has installed. English needs none.
class QtTranslations : public QObject {
    Q_OBJECT
public:
    explicit QtTranslations(Edition edition, QObject* parent = nullptr);
    ~QtTranslations() override;

    // The locale of Qt's translation for a language number of the edition; empty for English.
    static QString localeFor(Edition edition, int language);

    // Switches Qt's texts to language n; false when its translation is not installed (the
    // texts then stay English).
    bool use(int language);
    QString loadedLocale() const { return loaded_; }

private:
    void drop();

    Edition edition_;
    QTranslator* translator_ = nullptr;
    QString loaded_;
};

} // namespace orlix::shell
