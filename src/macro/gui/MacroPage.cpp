#include "macro/gui/MacroPage.h"

#include "macro/MacroPageStates.h"
#include "widgets/SkinStyle.h"

#include "appearance/Languages.h"
#include "appearance/Layout.h"
#include "appearance/Skin.h"
#include "macro/gui/InsertKindBox.h"
#include "macro/gui/MacroCapture.h"
#include "macro/gui/MacroDialogs.h"
#include "macro/gui/MacroEventList.h"
#include "macro/gui/MacroNameDialog.h"
#include "macro/gui/MacroNameList.h"
#include "widgets/CaptionFont.h"
#include "widgets/FilePath.h"
#include "widgets/Visibility.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>

namespace orlix::macro::gui {

using pages::ButtonLabel;
using pages::setHiddenFor;
using pages::SkinImage;
using pages::toPath;

namespace {

const QSize kCommandSize(80, 25);
const QSize kPanelButtonSize(appearance::kInsertButtonWidth, appearance::kInsertButtonHeight);
const QSize kNameListSize(192, 110);
const QSize kEventListSize(222, 278);
const QSize kGroupSize(207, 162);
const QSize kFieldSize(42, 20);
const QSize kChoiceSize(114, 20);
const QSize kLampSize(17, 18);
const QColor kGrey(114, 113, 113);
const QString kInsertReason = QStringLiteral("insert");
// The recording-scope note shows only while a recording runs.
const QString kNotRecording = QStringLiteral("not recording");

// Qt's form of the page's file dialog filters.
const QString kSaveFilter = QStringLiteral("SaveFile (*.bin)");
const QString kLoadFilter = QStringLiteral("LoadFile (*.bin)");

constexpr std::array<const char*, 3> kChoices{"RecDelay", "DelayTime", "NoDelay"};
constexpr std::array<const char*, 3> kChoiceTexts{"Str414", "Str415", "Str416"};
constexpr std::array<const char*, 4> kInsertKindTexts{"Str410", "Str411", "Str412", "Str413"};

QColor colourOf(const appearance::Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

QLineEdit* makeDelayField(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->resize(kFieldSize);
    field->setMaxLength(5);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), field));
    field->setText(QString::number(kDefaultDelayInitial));
    field->setFrame(false);
    // Whenever the field changes, it is held to 1..65530; an emptied field reads 1 once the
    // user leaves it.
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString& t) {
        if (t.isEmpty()) return;
        const QString clamped = QString::number(MacroEditor::delayFieldValue(t.toStdString()));
        if (clamped != t) field->setText(clamped);
    });
    QObject::connect(field, &QLineEdit::editingFinished, field, [field] {
        field->setText(QString::number(MacroEditor::delayFieldValue(field->text().toStdString())));
    });
    return field;
}

} // namespace

MacroPage::MacroPage(pages::PageContainer& page, QWidget* window, const pages::SkinPixmaps& skin,
                     Configuration& config, const appearance::Languages& languages)
    : QObject(window), page_(page), window_(window), skin_(skin), config_(config),
      languages_(languages),
      editor_(config.macros, config.macroNames, [this] { return clock_ ? clock_() : 0u; }),
      ownDialogs_(std::make_unique<MacroDialogs>()), dialogs_(ownDialogs_.get()) {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    clock_ = [timer] { return static_cast<std::uint32_t>(timer->elapsed()); };
    capture_ = new MacroCapture(
        [this](const RecorderKeyEvent& e) {
            const RecordStep step = editor_.key(e);
            if (step.linesAdded > 0 || step.stopped) showScript();
            if (step.stopped) recordingEnded();
        },
        [this](const RecorderButtonEvent& e, bool overRecordButton) {
            editor_.setPointerOverRecordButton(overRecordButton);
            const RecordStep step = editor_.mouseButton(e);
            if (step.linesAdded > 0 || step.stopped) showScript();
            if (step.stopped) recordingEnded();
        },
        this);
    build();
}

MacroPage::~MacroPage() {
    capture_->stop();
}

void MacroPage::setDialogs(MacroDialogs* dialogs) {
    dialogs_ = dialogs != nullptr ? dialogs : ownDialogs_.get();
}

QString MacroPage::text(std::string_view id) const {
    return QString::fromStdString(languages_.text(id));
}

void MacroPage::message(std::string_view textId) {
    dialogs_->message(window_, text(textId));
}

// ---- building ------------------------------------------------------------------------------

ButtonLabel* MacroPage::makeCommand(QWidget* parent, const QString& suffix,
                                    std::string_view restImage, QSize size, bool panelButton) {
    auto* image = new SkinImage(QStringLiteral("Img_") + suffix, parent);
    image->resize(size);
    image->setImage(skin_.pixmap(restImage));
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* label = new ButtonLabel(QStringLiteral("Btn_") + suffix, parent);
    label->resize(size);
    // The caption keeps its margin from the plate's outline, not from the image's edge.
    if (const QRect body = skin_.plateBody(restImage); !body.isEmpty() && body != label->rect())
        label->setTextArea(body);
    const std::string hover = panelButton ? "MacroBtnS_02" : "MacroS_02";
    const std::string rest = panelButton ? "MacroBtnS_01" : "MacroS_01";
    connect(label, &ButtonLabel::entered, this, [this, image, label, hover] {
        if (label->isEnabled()) image->setImage(skin_.pixmap(hover));
    });
    connect(label, &ButtonLabel::left, this,
            [this, image, rest] { image->setImage(skin_.pixmap(rest)); });
    connect(label, &ButtonLabel::clicked, this, [this, label] {
        if (label->isEnabled()) commandClicked(label->objectName());
    });
    if (parent == window_) {
        page_.addControl(image);
        page_.addControl(label);
    }
    return label;
}

void MacroPage::build() {
    names_ = new MacroNameList(window_);
    names_->resize(kNameListSize);
    page_.addControl(names_);
    connect(names_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { macroClicked(names_->row(item)); });

    events_ = new MacroEventList(window_);
    events_->resize(kEventListSize);
    page_.addControl(events_);
    connect(events_, &QListWidget::itemClicked, this, [this] { entryClicked(); });
    connect(events_, &QListWidget::currentRowChanged, this, [this] { entryClicked(); });

    // The script and its hex text, kept beside the list as the page's diagnostic boxes.
    for (auto [box, name] : {std::pair{&script_, "mmo_macro"}, std::pair{&hex_, "mmo_wrscript"}}) {
        *box = new QPlainTextEdit(window_);
        (*box)->setObjectName(QString::fromLatin1(name));
        (*box)->setReadOnly(true);
        (*box)->hide();
    }

    for (const char* c : kCommands)
        makeCommand(window_, QString::fromLatin1(c), "MacroS_01", kCommandSize, false);

    // A line above the page while a recording runs where the capture cannot see the whole
    // desktop, so nobody types into another program in vain.
    scopeNote_ = new QLabel(window_);
    scopeNote_->setObjectName(QStringLiteral("lbl_RecordScope"));
    scopeNote_->setAttribute(Qt::WA_TransparentForMouseEvents);
    page_.addControl(scopeNote_);
    setHiddenFor(scopeNote_, kNotRecording, true);

    buildDelayGroup();
    buildInsertGroup();

    nameDialog_ = new MacroNameDialog(skin_, window_);
    connect(nameDialog_, &MacroNameDialog::confirmed, this, &MacroPage::renamed);
    showNames();
    updateStates();
}

void MacroPage::buildDelayGroup() {
    delayGroup_ = new QWidget(window_);
    delayGroup_->setObjectName(QStringLiteral("Gb_Delay"));
    delayGroup_->resize(kGroupSize);
    page_.addControl(delayGroup_);
    for (int i = 0; i < 3; ++i) {
        const QString choice = QString::fromLatin1(kChoices[static_cast<std::size_t>(i)]);
        auto* radio = new QRadioButton(delayGroup_);
        radio->setObjectName(QStringLiteral("rb_") + choice);
        radio->hide();
        delayRadios_[static_cast<std::size_t>(i)] = radio;
        auto* lamp = new SkinImage(QStringLiteral("LED_") + choice, delayGroup_);
        lamp->resize(kLampSize);
        lamp->setImage(skin_.pixmap("RdS_E"));
        lamp->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* label = new ButtonLabel(QStringLiteral("IB_") + choice, delayGroup_);
        label->resize(kChoiceSize);
        label->setAlignLeft(true);
        label->setTextArea(QRect(20, 0, kChoiceSize.width() - 20, kChoiceSize.height()));
        connect(label, &ButtonLabel::clicked, this, [this, i] {
            if (delayGroup_->isEnabled() && !editor_.recording()) chooseDelay(i, false);
        });
    }
    delayEdit_ = makeDelayField(QStringLiteral("Edt_Delay"), delayGroup_);
    // Its unit, as the insert box's field has one: a delay without it reads as any number.
    auto* unit = new QLabel(delayGroup_);
    unit->setObjectName(QStringLiteral("lbl_DelayUnit"));
    unit->resize(27, 18);
    unit->setAttribute(Qt::WA_TransparentForMouseEvents);
    chooseDelay(0, false);
}

void MacroPage::buildInsertGroup() {
    insertBase_ = new SkinImage(QStringLiteral("Img_InsertBase"), window_);
    insertBase_->setImage(skin_.pixmap("InsertDelayBase"));
    insertBase_->setAttribute(Qt::WA_TransparentForMouseEvents);
    page_.addControl(insertBase_);
    insertGroup_ = new QWidget(window_);
    insertGroup_->setObjectName(QStringLiteral("Gb_Insert"));
    insertGroup_->resize(kGroupSize);
    page_.addControl(insertGroup_);

    insertKind_ = new InsertKindBox(insertGroup_);
    insertKind_->resize(133, 22);
    for (int i = 0; i < 4; ++i)
        insertKind_->addItem(QString());
    connect(insertKind_, &QComboBox::activated, this, [this] { applyInsertKind(); });

    auto* delayLabel = new ButtonLabel(QStringLiteral("lbl_Delay"), insertGroup_);
    delayLabel->resize(72, 18);
    delayLabel->setAlignLeft(true);
    delayLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    delayLabel->setFocusPolicy(Qt::NoFocus); // a caption only
    insertDelayEdit_ = makeDelayField(QStringLiteral("Edt_InsertDelay"), insertGroup_);
    // The unit has only the panel's last pixels: a plain label, without the margins of a
    // button caption.
    auto* unit = new QLabel(insertGroup_);
    unit->setObjectName(QStringLiteral("lbl_s_A"));
    unit->resize(27, 18);
    unit->setAttribute(Qt::WA_TransparentForMouseEvents);

    for (int i = 0; i < 3; ++i) {
        const QString choice =
            QStringLiteral("Insert") + QString::fromLatin1(kChoices[static_cast<std::size_t>(i)]);
        auto* radio = new QRadioButton(insertGroup_);
        radio->setObjectName(QStringLiteral("rb_") + choice);
        radio->hide();
        insertRadios_[static_cast<std::size_t>(i)] = radio;
        auto* lamp = new SkinImage(QStringLiteral("LED_") + choice, insertGroup_);
        lamp->resize(kLampSize);
        lamp->setImage(skin_.pixmap("RdS_E"));
        lamp->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* label = new ButtonLabel(QStringLiteral("IB_") + choice, insertGroup_);
        label->resize(kChoiceSize);
        label->setAlignLeft(true);
        label->setTextArea(QRect(20, 0, kChoiceSize.width() - 20, kChoiceSize.height()));
        connect(label, &ButtonLabel::clicked, this, [this, i] {
            if (!editor_.recording()) chooseDelay(i, true);
        });
    }

    makeCommand(insertGroup_, QStringLiteral("InsertStart"), "MacroS_01", kCommandSize, false);
    makeCommand(insertGroup_, QStringLiteral("OK"), "MacroBtnS_01", kPanelButtonSize, true);
    makeCommand(insertGroup_, QStringLiteral("Cancel"), "MacroBtnS_01", kPanelButtonSize, true);

    // GB_Dis: laid over the delay choices while an insert recording runs.
    cover_ = new QWidget(insertGroup_);
    cover_->setObjectName(QStringLiteral("GB_Dis"));
    cover_->setGeometry(14, 30, 122, 74);
    cover_->hide();

    setHiddenFor(insertGroup_, kInsertReason, true);
    setHiddenFor(insertBase_, kInsertReason, true);
    chooseDelay(0, true);
}

// ---- the window's hooks --------------------------------------------------------------------

void MacroPage::refresh() {
    stopRecording();
    if (editor_.insertOpen()) closeInsertPanel();
    nameDialog_->hide();
    editor_.reload();
    showNames();
    showDecodedMode();
    showScript();
    updateStates();
}

void MacroPage::applyLanguage(const appearance::Languages& languages,
                              const appearance::Layout& layout) {
    const auto& style = layout.style();
    if (style.macro.colour) textColour_ = colourOf(*style.macro.colour);
    if (style.macroListText) fieldColour_ = colourOf(*style.macroListText);
    if (const auto& h = layout.macroNameItemHeight()) names_->setRowHeight(*h);
    const QImage background = skin_.image(appearance::Skin::pageBackground(languages.current(), 4));
    if (!background.isNull()) accent_ = pages::accentOf(background);
    QColor back = Qt::black;
    if (style.macroListBack) back = colourOf(*style.macroListBack);
    names_->setColours(fieldColour_, back, accent_);
    events_->setColours(fieldColour_, back, accent_);
    for (QLineEdit* field : {delayEdit_, insertDelayEdit_})
        field->setStyleSheet(QStringLiteral("QLineEdit { background: %1; border: 1px solid #3a3f47;"
                                            " border-radius: 2px; padding: 0 3px; }")
                                 .arg(back.name()));
    cover_->setStyleSheet(QStringLiteral("background: rgba(20, 22, 26, 150); border-radius: 4px;"));
    // The note stands over the page's top edge, across the lists' width.
    if (style.macro.size) pages::setCaptionSize(scopeNote_, *style.macro.size);
    QPalette notePalette = scopeNote_->palette();
    notePalette.setColor(QPalette::WindowText, textColour_);
    scopeNote_->setPalette(notePalette);
    const QPoint pageAt = page_.background()->pos();
    scopeNote_->setGeometry(pageAt.x() + 20, pageAt.y() - 24, 560, 20);
    if (capture_->active())
        if (const char* id = capture_->scopeNoteId()) scopeNote_->setText(text(id));
    insertKind_->setColours(textColour_, accent_);

    for (int i = 0; i < 3; ++i) {
        const QString caption = text(kChoiceTexts[static_cast<std::size_t>(i)]);
        const QString choice = QString::fromLatin1(kChoices[static_cast<std::size_t>(i)]);
        window_->findChild<QLabel*>(QStringLiteral("IB_") + choice)->setText(caption);
        window_->findChild<QLabel*>(QStringLiteral("IB_Insert") + choice)->setText(caption);
    }
    for (int i = 0; i < 4; ++i)
        insertKind_->setItemText(i, text(kInsertKindTexts[static_cast<std::size_t>(i)]));

    // The captions that depend on the state, not only on the language.
    applyInsertKind();
    updateStates();
}

void MacroPage::setEditing(bool on) {
    editing_ = on;
    updateStates();
}

void MacroPage::setLocked(bool locked) {
    if (locked) stopRecording();
    locked_ = locked;
    updateStates();
}

void MacroPage::setMacroDevice(bool macroDevice) {
    if (macroDevice) return;
    // The mouse went away: the lists empty, the store's bytes stay.
    stopRecording();
    if (editor_.insertOpen()) closeInsertPanel();
    nameDialog_->hide();
    editor_.deselectMacro();
    names_->clear();
    showScript();
    updateStates();
}

// ---- commands ------------------------------------------------------------------------------

void MacroPage::showPressed(const QString& buttonName) {
    const bool panelButton =
        buttonName == QLatin1String("Btn_OK") || buttonName == QLatin1String("Btn_Cancel");
    QString image = buttonName;
    image.replace(0, 4, QStringLiteral("Img_"));
    if (auto* img = window_->findChild<SkinImage*>(image))
        img->setImage(skin_.pixmap(panelButton ? "MacroBtnS_03" : "MacroS_03"));
}

void MacroPage::commandClicked(const QString& name) {
    if (locked_ || !editing_) return;
    const QString c = name.mid(4);
    if (c == QLatin1String("Start")) return recordClicked();
    if (c == QLatin1String("InsertStart")) return insertRecordClicked();
    // Every other command waits while a recording runs.
    if (editor_.recording()) return;
    if (c == QLatin1String("New")) return rename();
    if (c == QLatin1String("Clear")) return clearMacro();
    if (c == QLatin1String("ExportOne")) return exportMacros(false);
    if (c == QLatin1String("Export")) return exportMacros(true);
    if (c == QLatin1String("ImportOne")) return importMacros(false);
    if (c == QLatin1String("Import")) return importMacros(true);
    if (c == QLatin1String("Del")) return deleteEntry();
    if (c == QLatin1String("Insert")) return openInsert();
    if (c == QLatin1String("OK")) return confirmInsert();
    if (c == QLatin1String("Cancel")) return cancelInsert();
}

void MacroPage::macroClicked(int row) {
    if (row < 0 || editor_.recording() || editor_.insertOpen()) return;
    editor_.selectMacro(static_cast<std::size_t>(row));
    names_->setCurrentRow(row);
    showDecodedMode();
    showScript();
    updateStates();
}

void MacroPage::entryClicked() {
    if (editor_.recording()) return;
    editor_.selectEntry(events_->selectedRow());
}

void MacroPage::rename() {
    const auto n = editor_.selectedMacro();
    if (!n) return;
    showPressed(QStringLiteral("Btn_New"));
    nameDialog_->open(*n, QString::fromStdString(config_.macroNames[*n]), languages_);
}

void MacroPage::renamed(std::size_t macro, const QString& name) {
    if (!editor_.rename(macro, name.toStdString())) return;
    showNames();
    emit namesChanged();
}

void MacroPage::recordClicked() {
    // The button acts on the recorder's state; its caption only follows it.
    if (editor_.recording()) {
        if (editor_.insertRecording()) return;
        showPressed(QStringLiteral("Btn_Start"));
        stopRecording();
        return;
    }
    if (editor_.insertOpen() || !editor_.selectedMacro()) return;
    showPressed(QStringLiteral("Btn_Start"));
    if (!editor_.startRecording(settings(false))) return;
    startCapture(window_->findChild<QWidget*>(QStringLiteral("Btn_Start")));
}

void MacroPage::insertRecordClicked() {
    if (editor_.recording()) {
        if (!editor_.insertRecording()) return;
        showPressed(QStringLiteral("Btn_InsertStart"));
        stopRecording();
        return;
    }
    if (!editor_.insertOpen() || isDelayKind(editor_.insertKind())) return;
    editor_.selectEntry(events_->selectedRow());
    showPressed(QStringLiteral("Btn_InsertStart"));
    if (!editor_.startInsertRecording(settings(true))) return;
    startCapture(window_->findChild<QWidget*>(QStringLiteral("Btn_InsertStart")));
}

bool MacroPage::recordingSystemWide() const {
    return recording() && capture_->systemWide();
}

void MacroPage::startCapture(QWidget* button) {
    capture_->start(button);
    if (const char* id = capture_->scopeNoteId()) {
        scopeNote_->setText(text(id));
        setHiddenFor(scopeNote_, kNotRecording, false);
    }
    events_->setFocus();
    showScript();
    updateStates();
}

void MacroPage::stopRecording() {
    if (!editor_.recording()) return;
    editor_.stopRecording();
    recordingEnded();
}

void MacroPage::recordingEnded() {
    capture_->stop();
    setHiddenFor(scopeNote_, kNotRecording, true);
    showScript();
    updateStates();
    // A recording that filled the macro says so once the event that ended it is through.
    if (const char* id = editor_.stopMessageId()) {
        const std::string textId = id;
        QMetaObject::invokeMethod(
            this, [this, textId] { message(textId); }, Qt::QueuedConnection);
    }
}

void MacroPage::clearMacro() {
    if (!editor_.selectedMacro() || editor_.insertOpen()) return;
    showPressed(QStringLiteral("Btn_Clear"));
    if (!dialogs_->ask(window_, text("Str430"))) return;
    editor_.clearMacro();
    showScript();
}

void MacroPage::deleteEntry() {
    editor_.selectEntry(events_->selectedRow());
    if (!editor_.selectedEntry() || editor_.insertOpen()) return;
    showPressed(QStringLiteral("Btn_Del"));
    editor_.deleteEntry();
    showScript();
}

void MacroPage::exportMacros(bool all) {
    if (editor_.insertOpen() || (!all && !editor_.selectedMacro())) return;
    showPressed(all ? QStringLiteral("Btn_Export") : QStringLiteral("Btn_ExportOne"));
    const QString chosen = dialogs_->saveFileName(window_, kSaveFilter);
    if (chosen.isEmpty()) return;
    const auto target = withBinExtension(toPath(chosen));
    const MacroFileResult result = all ? editor_.exportAll(target) : editor_.exportOne(target);
    if (!result) fileMessage(result, target);
}

void MacroPage::fileMessage(const MacroFileResult& result, const std::filesystem::path& file) {
    const char* id = macroFileMessageId(result.kind);
    const QString what = id != nullptr ? text(id) : QString::fromStdString(result.error);
    dialogs_->message(window_,
                      what + QLatin1Char('\n') +
                          QDir::toNativeSeparators(QString::fromStdU16String(file.u16string())));
}

void MacroPage::importMacros(bool all) {
    if (editor_.insertOpen() || (!all && !editor_.selectedMacro())) return;
    showPressed(all ? QStringLiteral("Btn_Import") : QStringLiteral("Btn_ImportOne"));
    const QString chosen = dialogs_->openFileName(window_, kLoadFilter);
    if (chosen.isEmpty()) return;
    const MacroFileResult result =
        all ? editor_.importAll(toPath(chosen)) : editor_.importOne(toPath(chosen));
    if (!result) {
        fileMessage(result, toPath(chosen));
        return;
    }
    showNames();
    showDecodedMode();
    showScript();
    emit namesChanged();
}

void MacroPage::showEntry(int k) {
    if (k < 0) return;
    events_->scrollToTop();
    events_->setSelectedRow(static_cast<std::size_t>(k));
    entryClicked();
}

void MacroPage::showInsertPanel(InsertKind kind) {
    openInsert();
    if (!editor_.insertOpen()) return;
    insertKind_->setCurrentIndex(static_cast<int>(kind));
    applyInsertKind();
    updateStates();
}

void MacroPage::closePanels() {
    stopRecording();
    if (editor_.insertOpen()) cancelInsert();
    nameDialog_->hide();
}

// ---- the insert panel ----------------------------------------------------------------------

void MacroPage::openInsert() {
    editor_.selectEntry(events_->selectedRow());
    if (!editor_.selectedMacro() || !editor_.selectedEntry() || editor_.insertOpen()) return;
    showPressed(QStringLiteral("Btn_Insert"));
    rememberedTop_ = events_->verticalScrollBar()->value();
    editor_.openInsert(InsertKind::DelayFront);
    setHiddenFor(delayGroup_, kInsertReason, true);
    setHiddenFor(insertBase_, kInsertReason, false);
    setHiddenFor(insertGroup_, kInsertReason, false);
    insertBase_->raise();
    insertGroup_->raise();
    insertKind_->setCurrentIndex(0);
    applyInsertKind();
    updateStates();
}

void MacroPage::applyInsertKind() {
    const int index = std::max(0, insertKind_->currentIndex());
    const auto kind = static_cast<InsertKind>(index);
    if (editor_.insertOpen() && !editor_.recording()) editor_.setInsertKind(kind);
    const bool delayKind = isDelayKind(kind);
    insertBase_->setImage(skin_.pixmap(delayKind ? "InsertDelayBase" : "InsertKeyBase"));
    auto* group = insertGroup_;
    group->findChild<QWidget*>(QStringLiteral("lbl_Delay"))->setVisible(delayKind);
    group->findChild<QLabel*>(QStringLiteral("Btn_OK"))
        ->setText(text(delayKind ? "Str420" : "Str421"));
    for (const char* c : kChoices) {
        const QString choice = QStringLiteral("Insert") + QString::fromLatin1(c);
        group->findChild<QWidget*>(QStringLiteral("IB_") + choice)->setVisible(!delayKind);
    }
    for (const char* n : {"Btn_InsertStart", "Img_InsertStart"})
        group->findChild<QWidget*>(QString::fromLatin1(n))->setVisible(!delayKind);
    if (delayKind) {
        for (const char* c : kChoices)
            group->findChild<QWidget*>(QStringLiteral("LED_Insert") + QString::fromLatin1(c))
                ->hide();
        setFieldLook(insertDelayEdit_, true);
        setGreyLabel(group->findChild<QWidget*>(QStringLiteral("lbl_s_A")), false);
    } else {
        chooseDelay(editor_.insertOpen() && editor_.insertKind() == kind ? insertChoice_ : 0, true);
    }
}

void MacroPage::confirmInsert() {
    if (!editor_.insertOpen() || editor_.recording()) return;
    editor_.selectEntry(events_->selectedRow());
    showPressed(QStringLiteral("Btn_OK"));
    const EditRefusal r = editor_.confirmInsert(delayValue(true));
    if (r == EditRefusal::WouldNotFit) {
        message(MacroEditor::kWouldNotFitMessageId);
        return;
    }
    if (r != EditRefusal::None) return; // no entry chosen: the panel stays open
    closeInsertPanel();
    showScript();
}

void MacroPage::cancelInsert() {
    if (!editor_.insertOpen() || editor_.recording()) return;
    showPressed(QStringLiteral("Btn_Cancel"));
    editor_.cancelInsert();
    closeInsertPanel();
    showScript();
    events_->verticalScrollBar()->setValue(rememberedTop_);
}

void MacroPage::closeInsertPanel() {
    if (editor_.insertOpen()) editor_.cancelInsert();
    setHiddenFor(insertGroup_, kInsertReason, true);
    setHiddenFor(insertBase_, kInsertReason, true);
    setHiddenFor(delayGroup_, kInsertReason, false);
    updateStates();
}

// ---- delay choices -------------------------------------------------------------------------

void MacroPage::chooseDelay(int choice, bool insert) {
    QWidget* group = insert ? insertGroup_ : delayGroup_;
    const QString infix = insert ? QStringLiteral("Insert") : QString();
    (insert ? insertChoice_ : delayChoice_) = choice;
    auto& radios = insert ? insertRadios_ : delayRadios_;
    radios[static_cast<std::size_t>(choice)]->setChecked(true);
    for (int i = 0; i < 3; ++i) {
        const QString lamp = QStringLiteral("LED_") + infix +
                             QString::fromLatin1(kChoices[static_cast<std::size_t>(i)]);
        group->findChild<QWidget*>(lamp)->setVisible(i == choice);
    }
    const bool editable = choice == 1;
    setFieldLook(insert ? insertDelayEdit_ : delayEdit_, editable && !editor_.recording());
    setGreyLabel(group->findChild<QWidget*>(insert ? QStringLiteral("lbl_s_A")
                                                   : QStringLiteral("lbl_DelayUnit")),
                 !editable);
}

int MacroPage::delayValue(bool insert) const {
    return MacroEditor::delayFieldValue(
        (insert ? insertDelayEdit_ : delayEdit_)->text().toStdString());
}

RecordingSettings MacroPage::settings(bool insert) const {
    const int choice = insert ? insertChoice_ : delayChoice_;
    const DelayMode mode = choice == 0   ? DelayMode::RecordDelay
                           : choice == 1 ? DelayMode::DefaultDelay
                                         : DelayMode::NoDelay;
    // What the field stands for, written back so the field shows what is recorded.
    QLineEdit* field = insert ? insertDelayEdit_ : delayEdit_;
    field->setText(QString::number(delayValue(insert)));
    return {mode, delayValue(insert)};
}

void MacroPage::showDecodedMode() {
    if (!editor_.selectedMacro() || editor_.script().events.empty()) return;
    switch (editor_.decodedMode()) {
    case DelayMode::RecordDelay:
        chooseDelay(0, false);
        break;
    case DelayMode::DefaultDelay:
        delayEdit_->setText(QString::number(editor_.decodedDefaultDelay()));
        chooseDelay(1, false);
        break;
    case DelayMode::NoDelay:
        chooseDelay(2, false);
        break;
    }
}

// ---- what the page shows -------------------------------------------------------------------

void MacroPage::showNames() {
    QStringList list;
    for (const auto& n : config_.macroNames)
        list << QString::fromStdString(n);
    names_->setNames(list);
    if (const auto n = editor_.selectedMacro()) names_->setCurrentRow(static_cast<int>(*n));
}

void MacroPage::showScript() {
    const MacroScript& script = editor_.script();
    // Refilling the list must not read back as the user choosing entries.
    const QSignalBlocker quiet(events_);
    events_->setLines(script.events);
    events_->setLastRowRed(editor_.atLimits());
    events_->setSelectedRow(editor_.selectedEntry());
    QStringList lines;
    for (const auto& l : script.lines())
        lines << QString::fromStdString(l);
    script_->setPlainText(lines.join(QLatin1Char('\n')));
    hex_->setPlainText(QString::fromStdString(editor_.hexText()));
}

void MacroPage::setFieldLook(QLineEdit* field, bool editable) {
    field->setReadOnly(!editable);
    QPalette p = field->palette();
    p.setColor(QPalette::Text, editable ? fieldColour_ : kGrey);
    field->setPalette(p);
}

void MacroPage::setGreyLabel(QWidget* label, bool grey) {
    if (auto* b = qobject_cast<ButtonLabel*>(label)) {
        b->setTextColour(grey ? kGrey : textColour_);
    } else if (label != nullptr) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, grey ? kGrey : textColour_);
        label->setPalette(p);
    }
}

void MacroPage::setCommandEnabled(const QString& suffix, bool on) {
    auto* label = window_->findChild<ButtonLabel*>(QStringLiteral("Btn_") + suffix);
    if (label == nullptr) return;
    label->setEnabled(on);
    label->setTextColour(on ? textColour_ : kGrey);
    if (!on) {
        // A disabled command drops its hover look.
        const bool panelButton = suffix == QLatin1String("OK") || suffix == QLatin1String("Cancel");
        if (auto* img = window_->findChild<SkinImage*>(QStringLiteral("Img_") + suffix))
            img->setImage(skin_.pixmap(panelButton ? "MacroBtnS_01" : "MacroS_01"));
    }
}

void MacroPage::updateStates() {
    const MacroPageStates st =
        macroPageStates({editing_, locked_, editor_.recording(), editor_.insertRecording(),
                         editor_.insertOpen(), delayChoice_, insertChoice_, editor_.insertKind()});
    window_->findChild<QLabel*>(QStringLiteral("Btn_Start"))
        ->setText(text(st.startStops ? "Str401" : "Str400"));
    window_->findChild<QLabel*>(QStringLiteral("Btn_InsertStart"))
        ->setText(text(st.insertStartStops ? "Str401" : "Str400"));

    for (const char* c : kCommands)
        setCommandEnabled(QString::fromLatin1(c), st.commands);
    setCommandEnabled(QStringLiteral("Start"), st.start);
    names_->setEnabled(st.names);
    events_->setEnabled(st.events);

    delayGroup_->setEnabled(st.delayGroup);
    for (const char* c : kChoices)
        setGreyLabel(
            delayGroup_->findChild<QWidget*>(QStringLiteral("IB_") + QString::fromLatin1(c)),
            st.delayChoicesGrey);
    setFieldLook(delayEdit_, st.delayFieldEditable);
    setGreyLabel(delayGroup_->findChild<QWidget*>(QStringLiteral("lbl_DelayUnit")),
                 !st.delayFieldEditable);

    insertGroup_->setEnabled(st.insertGroup);
    insertKind_->setEnabled(st.insertKindChoice);
    setCommandEnabled(QStringLiteral("InsertStart"), st.insertStart);
    setCommandEnabled(QStringLiteral("OK"), st.okCancel);
    setCommandEnabled(QStringLiteral("Cancel"), st.okCancel);
    if (!st.cover) {
        // White captions on OK and Cancel whenever they can be used.
        for (const char* n : {"Btn_OK", "Btn_Cancel"})
            if (auto* b = insertGroup_->findChild<ButtonLabel*>(QString::fromLatin1(n));
                b != nullptr && b->isEnabled())
                b->setTextColour(Qt::white);
    }
    cover_->setVisible(st.cover);
    if (st.cover) cover_->raise();
    for (const char* c : kChoices)
        setGreyLabel(
            insertGroup_->findChild<QWidget*>(QStringLiteral("IB_Insert") + QString::fromLatin1(c)),
            st.insertChoicesGrey);
    if (st.insertFieldShown) {
        setFieldLook(insertDelayEdit_, st.insertFieldEditable);
        setGreyLabel(insertGroup_->findChild<QWidget*>(QStringLiteral("lbl_s_A")),
                     st.insertUnitGrey);
    }
    setGreyLabel(insertGroup_->findChild<QWidget*>(QStringLiteral("lbl_Delay")), false);
}

} // namespace orlix::macro::gui
