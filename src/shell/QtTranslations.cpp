#include "shell/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace orlix::shell {

QtTranslations::QtTranslations(Edition edition, QObject* parent)
    : QObject(parent), edition_(edition) {}

QtTranslations::~QtTranslations() {
    drop();
}

QString QtTranslations::localeFor(Edition edition, int language) {
    // orlix-editor: English, Russian, English; orlix-editor-s: English, Traditional and
    // Simplified Chinese.
    if (edition == Edition::Editor) return language == 2 ? QStringLiteral("ru") : QString();
    if (language == 2) return QStringLiteral("zh_TW");
    if (language == 3) return QStringLiteral("zh_CN");
    return {};
}

void QtTranslations::drop() {
    if (translator_ == nullptr) return;
    QCoreApplication::removeTranslator(translator_);
    delete translator_;
    translator_ = nullptr;
    loaded_.clear();
}

bool QtTranslations::use(int language) {
    const QString locale = localeFor(edition_, language);
    if (locale == loaded_ && (translator_ != nullptr || locale.isEmpty())) return true;
    drop();
    if (locale.isEmpty()) return true;
    auto* translator = new QTranslator;
    if (!translator->load(QStringLiteral("qtbase_") + locale,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    translator_ = translator;
    loaded_ = locale;
    return true;
}

} // namespace orlix::shell
