#include "shell/Prompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace orlix::shell {

void Prompts::message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

QString Prompts::saveFileName(QWidget* parent, const QString& filter) {
    // The dialog asks before it replaces an existing file.
    return QFileDialog::getSaveFileName(parent, QString(), QString(), filter);
}

QString Prompts::openFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

void Prompts::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

} // namespace orlix::shell
