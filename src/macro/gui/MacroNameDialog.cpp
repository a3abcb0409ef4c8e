#include "macro/gui/MacroNameDialog.h"

#include <QKeyEvent>

namespace orlix::macro::gui {

namespace {

const QRect kEdit(22, 64, 310, 30);

} // namespace

MacroNameDialog::MacroNameDialog(const pages::SkinPixmaps& skin, QWidget* mainWindow)
    : SkinDialog(skin, mainWindow, QStringLiteral("Img_MacroName"),
                 QStringLiteral("lbl_MacroName")),
      edit_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("TForm3"));

    edit_->setObjectName(QStringLiteral("Edt_MacroName"));
    edit_->setMaxLength(kMaxChars);
    edit_->setGeometry(kEdit);
    edit_->setStyleSheet(QStringLiteral("QLineEdit { background: #1c1f24; color: #ffffff; "
                                        "border: 1px solid #7a8594; padding: 0 6px; }"));
    connect(edit_, &QLineEdit::returnPressed, this, &MacroNameDialog::confirm);

    connect(confirm_, &pages::ButtonLabel::clicked, this, &MacroNameDialog::confirm);
    // Cancel only empties the field; the dialog stays open.
    connect(second_, &pages::ButtonLabel::clicked, this, [this] {
        edit_->clear();
        edit_->setFocus();
    });
}

void MacroNameDialog::open(std::size_t macro, const QString& currentName, const TextSource& texts) {
    macro_ = macro;
    title_->setText(QString::fromStdString(texts.text("Str510")));
    confirm_->setText(QString::fromStdString(texts.text("Str511")));
    second_->setText(QString::fromStdString(texts.text("Str512")));
    edit_->setText(currentName.left(kMaxChars));
    edit_->selectAll();
    showOverMainWindow(0);
    edit_->setFocus();
}

void MacroNameDialog::confirm() {
    const QString name = edit_->text().left(kMaxChars);
    hide();
    if (!name.isEmpty()) emit confirmed(macro_, name);
}

void MacroNameDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace orlix::macro::gui
