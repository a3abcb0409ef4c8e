#include "pages/KeyCombinationDialog.h"

#include "widgets/SkinStyle.h"
#include "widgets/VirtualKeys.h"

#include <QKeyEvent>

namespace orlix::pages {

namespace {

const QRect kEdit(22, 46, 310, 28);
constexpr int kBoxTop = 88;
constexpr std::array<int, 4> kBoxLeft{22, 102, 182, 262};

} // namespace

KeyCaptureEdit::KeyCaptureEdit(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("Edt_Assembly"));
    setReadOnly(true);
}

bool KeyCaptureEdit::event(QEvent* event) {
    // Tab and Backtab would move the focus before keyPressEvent sees them.
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void KeyCaptureEdit::keyPressEvent(QKeyEvent* event) {
    const auto mods = event->modifiers();
    // Esc is a key a mouse button can send, so a bare Esc is captured like any other; a second
    // bare Esc straight after it closes the dialog, as Esc closes every dialog.
    const bool bareEscape =
        event->key() == Qt::Key_Escape && (mods & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (bareEscape && lastWasBareEscape_) {
        lastWasBareEscape_ = false;
        event->accept();
        emit escapePressed();
        return;
    }
    lastWasBareEscape_ = bareEscape;
    KeyCombination::Held held{mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier),
                              mods.testFlag(Qt::AltModifier)};
    event->accept();
    emit keyCaptured(virtualKeyOf(*event), held);
}

KeyCombinationDialog::KeyCombinationDialog(const SkinPixmaps& skin, QWidget* mainWindow)
    : SkinDialog(skin, mainWindow, QStringLiteral("Img_Assembly"), QStringLiteral("lbl_Assembly")),
      edit_(new KeyCaptureEdit(this)) {
    setObjectName(QStringLiteral("TForm2"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    edit_->setGeometry(kEdit);
    edit_->setStyleSheet(QStringLiteral("QLineEdit { background: #1c1f24; color: #ffffff; "
                                        "border: 1px solid #7a8594; padding: 0 4px; }"));
    connect(edit_, &KeyCaptureEdit::keyCaptured, this,
            [this](unsigned vk, KeyCombination::Held held) {
                model_.keyDown(vk, held);
                refreshEdit();
            });

    for (int m = 0; m < 4; ++m) {
        auto* box = new QCheckBox(
            QString::fromLatin1(KeyCombination::kModifierNames[static_cast<std::size_t>(m)]), this);
        box->setObjectName(QStringLiteral("CB_") + box->text());
        box->setGeometry(kBoxLeft[static_cast<std::size_t>(m)], kBoxTop, 76, 24);
        // Drawn in the skin: a dark box, the accent when checked, a tick that stands out.
        box->setStyle(skinStyle());
        QPalette pal = box->palette();
        pal.setColor(QPalette::WindowText, skinColours().text);
        box->setPalette(pal);
        box->setAttribute(Qt::WA_Hover);
        box->setFocusPolicy(Qt::NoFocus);
        boxes_[static_cast<std::size_t>(m)] = box;
        connect(box, &QCheckBox::clicked, this, [this, m](bool checked) {
            modifierClicked(static_cast<KeyCombination::Modifier>(m), checked);
        });
    }

    connect(confirm_, &ButtonLabel::clicked, this, &KeyCombinationDialog::confirm);
    connect(second_, &ButtonLabel::clicked, this, &KeyCombinationDialog::clearAll);
    connect(edit_, &KeyCaptureEdit::escapePressed, this, &QWidget::hide);
}

void KeyCombinationDialog::open(const TextSource& texts) {
    model_.clear();
    for (QCheckBox* box : boxes_)
        box->setChecked(false);
    refreshEdit();
    title_->setText(QString::fromStdString(texts.text("Str500")));
    confirm_->setText(QString::fromStdString(texts.text("Str501")));
    second_->setText(QString::fromStdString(texts.text("Str502")));
    showOverMainWindow(40);
    edit_->setFocus();
}

void KeyCombinationDialog::refreshEdit() {
    edit_->setText(QString::fromStdString(model_.text()));
}

void KeyCombinationDialog::modifierClicked(KeyCombination::Modifier m, bool checked) {
    model_.setModifier(m, checked);
    refreshEdit();
    edit_->setFocus();
}

void KeyCombinationDialog::confirm() {
    const QString text = edit_->text();
    const QString code = QString::fromStdString(model_.code());
    hide();
    emit confirmed(text, code);
}

void KeyCombinationDialog::clearAll() {
    model_.clear();
    for (QCheckBox* box : boxes_)
        box->setChecked(false);
    refreshEdit();
    edit_->setFocus();
}

} // namespace orlix::pages
