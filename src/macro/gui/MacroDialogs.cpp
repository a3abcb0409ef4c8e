#include "macro/gui/MacroDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace orlix::macro::gui {

void MacroDialogs::message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool MacroDialogs::ask(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, QString(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    return box.exec() == QMessageBox::Yes;
}

QString MacroDialogs::saveFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, QString(), QString(), filter);
}

QString MacroDialogs::openFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

} // namespace orlix::macro::gui
