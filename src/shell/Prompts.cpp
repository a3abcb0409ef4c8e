#include "shell/Prompts.h"

#include "widgets/SkinStyle.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace orlix::shell {

void Prompts::message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::NoButton, parent);
    // Dark like the skin, the accent on the focused or hovered button.
    box.setStyleSheet(pages::skinMessageBoxStyleSheet());
    if (okText_.isEmpty()) {
        box.setStandardButtons(QMessageBox::Ok);
    } else {
        // A button of our own: Qt would put its own caption back on a language change.
        QPushButton* ok = box.addButton(okText_, QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    box.exec();
}

bool Prompts::confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

int Prompts::choose(QWidget* parent, const QString& text, const QStringList& answers) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::NoButton, parent);
    QList<QPushButton*> buttons;
    for (const QString& answer : answers)
        buttons << box.addButton(answer, QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return static_cast<int>(buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
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
