#include "shell/MainWindow.h"

#include "macro/gui/MacroPage.h"
#include "pages/SectionTitles.h"
#include "shell/Captions.h"
#include "shell/DeviceController.h"
#include "shell/LayoutApplier.h"
#include "shell/LoadingWindow.h"
#include "shell/NeededPageButtons.h"
#include "shell/Prompts.h"
#include "shell/QtTranslations.h"
#include "shell/WindowCommands.h"
#include "shell/WindowControls.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SkinStyle.h"
#include "widgets/Visibility.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace orlix::shell {

using pages::Page;
using pages::pageInfo;

namespace {

const QColor kWindowKey(128, 0, 0); // the see-through colour of the shaped edition's skin

appearance::Languages loadLanguages(const appearance::ResourceBundle& resources,
                                    const EditionTraits& traits) {
    auto loaded = appearance::Languages::load(resources, traits);
    for (const auto& problem : loaded.problems)
        qWarning().noquote() << QString::fromStdString(problem);
    return std::move(loaded.languages);
}

std::span<const std::uint8_t> findDefaultResource(const appearance::ResourceBundle& resources) {
    auto data = resources.find("OrlixData");
    if (!data) {
        qWarning("The default data resource OrlixData is missing");
        return {};
    }
    return *data;
}

} // namespace

MainWindow::MainWindow(Edition edition, const appearance::ResourceBundle& resources,
                       device::HidBackend& backend, Prompts& prompts,
                       platform::PointerSettingsStore* pointerSettings, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window), traits_(traitsOf(edition)),
      resources_(resources), prompts_(prompts), pointerStore_(pointerSettings),
      defaultResource_(findDefaultResource(resources)),
      languages_(loadLanguages(resources, traits_)), skin_(resources, traits_), pixmaps_(resources),
      config_(edition), editor_(config_, languages_) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setFixedSize(kWidth, kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + (s.width() - kWidth) / 2, s.y() + (s.height() - kHeight) / 2);
    }
    if (!traits_.shapedWindow) {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, p.color(QPalette::Button));
        setPalette(p);
    }
    qtTexts_ = new QtTranslations(edition, this);
    build();
    readError_ = new QLabel(this);
    readError_->setObjectName(QStringLiteral("lbl_ReadError"));
    readError_->setWordWrap(true);
    readError_->setAttribute(Qt::WA_TransparentForMouseEvents);
    readError_->hide();
    device_ = new DeviceController(backend, config_, languages_, this);
    device_->setLoadingWindow(loading_, this);
    commands_ = new WindowCommands(*this);
    connectParts();

    // Start-up: the default data, the special menu's height, the keys' texts from the image,
    // the pointer settings, then the first language's button as if it had been pressed.
    skin_.loadWebSettings();
    controls_->button(QStringLiteral("Btn_Web"))
        ->setText(QString::fromStdString(skin_.layout().webAddress()));
    config_.startUp(defaultResource_, languages_);
    device_->session().takeTargetsFromDefaults();
    menus_->setStartUpDataType(config_.readLayout);
    disableEditing();
    refreshUI();
    readPointerSettings();
    applyLanguage(1);
}

MainWindow::~MainWindow() {
    // The parts refer to the configuration, texts and images held here: they go first.
    const auto parts = findChildren<QObject*>(Qt::FindDirectChildrenOnly);
    qDeleteAll(parts);
}

void MainWindow::build() {
    controls_ = new WindowControls(this, pixmaps_);
    for (int n = 1; n <= 4; ++n) {
        pages_[static_cast<std::size_t>(n - 1)] = new pages::PageContainer(n, this);
        connect(page(n).background(), &pages::SkinImage::pressed, this, &MainWindow::hideAllMenus);
        // Every page background is there from the start: the covers take their sizes.
        loadPageBackground(n);
    }
    assignmentPage_ = new pages::AssignmentPage(page(1), pixmaps_, this);
    // The settings pages, each on its own page area.
    advancedPage_ =
        new pages::AdvancedPage(config_, page(pageInfo(Page::Advanced).container), pixmaps_, this);
    addPageView(advancedPage_);
    pointerScales_ = new pages::PointerScalesView(page(pageInfo(Page::Advanced).container),
                                                  pixmaps_, pointerStore_, this);
    addPageView(pointerScales_);
    lighting_ =
        new pages::LightingPage(page(pageInfo(Page::Breath).container), pixmaps_, config_, this);
    addPageView(lighting_);
    sectionTitles_ = new pages::SectionTitles(page(pageInfo(Page::Advanced).container),
                                              page(pageInfo(Page::Breath).container), this);
    addPageView(sectionTitles_);
    macroPage_ = new macro::gui::MacroPage(page(pageInfo(Page::Macro).container), this, pixmaps_,
                                           config_, languages_);
    addPageView(macroPage_);
    // A renamed or imported macro shows its name at once in the menus and on the labels.
    connect(macroPage_, &macro::gui::MacroPage::namesChanged, this, [this] {
        QStringList names;
        if (device_ != nullptr && device_->macroDevice())
            for (const auto& n : config_.macroNames)
                names << QString::fromStdString(n);
        menus_->setMacroNames(names);
        if (const auto profile = pageInfo(currentPage()).profile)
            assignmentPage_->setCaptions(editor_.names(*profile));
    });
    controls_->buildButtons();
    menus_ = new pages::AssignmentMenus(traits_.edition, this);
    keyDialog_ = new pages::KeyCombinationDialog(pixmaps_, this);
    loading_ = new LoadingWindow(this);
}

void MainWindow::connectParts() {
    connect(controls_->base(), &pages::SkinImage::pressed, this, &MainWindow::dragFrom);
    connect(controls_->base(), &pages::SkinImage::dragged, this, &MainWindow::dragTo);
    connect(controls_, &WindowControls::clicked, commands_, &WindowCommands::buttonClicked);

    connect(assignmentPage_, &pages::AssignmentPage::keyClicked, this, &MainWindow::keyClicked);
    // The poll waits while the pointer rests on a button label.
    connect(assignmentPage_, &pages::AssignmentPage::hoverStarted, device_->devTimer(),
            qOverload<>(&QTimer::stop));
    connect(assignmentPage_, &pages::AssignmentPage::hoverEnded, this, [this] {
        if (!device_->transferring()) device_->devTimer()->start();
    });

    connect(menus_, &pages::AssignmentMenus::focusLeft, this, [this](int key) {
        if (key >= 1 && key <= kButtonCount)
            assignmentPage_->keyLabel(key)->setFocus(Qt::OtherFocusReason);
    });
    connect(menus_, &pages::AssignmentMenus::leafChosen, this,
            [this](int key, int tag, const QString& caption) {
                const auto profile = pageInfo(currentPage()).profile;
                if (profile && editor_.chooseLeaf(*profile, key - 1, tag))
                    assignmentPage_->setCaption(key, caption);
            });
    connect(menus_, &pages::AssignmentMenus::swapChosen, this, [this](int key, int tag) {
        const auto profile = pageInfo(currentPage()).profile;
        if (!profile || !editor_.swapPrimary(*profile, key - 1, tag)) return;
        const auto names = editor_.names(*profile);
        for (int n = 1; n <= 3; ++n)
            assignmentPage_->setCaption(
                n, QString::fromStdString(names[static_cast<std::size_t>(n - 1)]));
    });
    connect(menus_, &pages::AssignmentMenus::keyCombinationRequested, this, [this] {
        hideAllMenus();
        QCoreApplication::processEvents();
        keyDialog_->open(languages_);
    });
    connect(keyDialog_, &pages::KeyCombinationDialog::confirmed, this,
            [this](const QString& text, const QString& code) {
                storeChoice(menus_->currentKey(), code.toStdString(), text);
            });
    connect(menus_, &pages::AssignmentMenus::macroChosen, this, [this](int key, int index) {
        if (index < 0 || index >= static_cast<int>(kMacroCount)) return;
        const QString name =
            QString::fromStdString(config_.macroNames[static_cast<std::size_t>(index)]);
        storeChoice(key, pages::AssignmentEditor::macroCode(index), name);
    });

    connect(device_, &DeviceController::lockChanged, this, [this](bool locked) {
        if (locked) {
            hideAllMenus();
            lockWindow();
        } else {
            unlockWindow();
        }
    });
    connect(device_, &DeviceController::noDevice, this, &MainWindow::showNoDevice);
    connect(device_, &DeviceController::rejected, this, &MainWindow::showRejected);
    connect(device_, &DeviceController::readStarting, this, [this] {
        for (const char* l : {"lbl_NoDev", "lbl_CheckDev", "lbl_IDError", "lbl_TypeError"})
            controls_->label(QString::fromLatin1(l))->hide();
        readError_->hide();
    });
    connect(device_, &DeviceController::readFailed, this, &MainWindow::showReadFailed);
    connect(device_, &DeviceController::deviceRead, this, [this] {
        refreshUI();
        readPointerSettings();
        showDevicePages();
        // Asked once the poll that read the mouse has ended, so a repair write never runs
        // inside it.
        QTimer::singleShot(0, commands_, [this] { commands_->offerRepair(); });
    });
}

// ---- what the configuration holds, on the pages ------------------------------------------

void MainWindow::refreshUI() {
    QStringList names;
    if (device_ != nullptr && device_->macroDevice())
        for (const auto& n : config_.macroNames)
            names << QString::fromStdString(n);
    menus_->setMacroNames(names);
    for (auto* view : views_)
        view->refresh();

    // The page of the active profile opens, showing that profile's functions.
    const Page page =
        pages::pageForProfile(config_.page.activeProfile.value_or(0)).value_or(Page::Main);
    controls_->pageRadio(static_cast<int>(page))->setChecked(true);
    showContainer(1);
    controls_->setSelectedPageImage(QString::fromLatin1(
        pageInfo(page).image.data(), static_cast<qsizetype>(pageInfo(page).image.size())));
    assignmentPage_->setCaptions(editor_.names(*pageInfo(page).profile));
    // With a mouse shown, the reset-control profile opens read-only as its button opens it.
    if (!errorFlag_ && device_ != nullptr && device_->linkOpen()) {
        if (pageInfo(page).editing)
            enableEditing();
        else
            disableEditing();
    }
    // A loaded profile may switch the lighting on or off.
    showNeededPageButtons();
}

void MainWindow::keyClicked(int n) {
    // Only the main and the alternate profile are edited here; the reset-control profile is
    // shown read-only, so its labels always show what the mouse stores.
    if (!editing_ || locked_ || !pages::profileEditable(currentPage())) return;
    menus_->openFor(n, assignmentPage_->keyLabel(n)->geometry(),
                    assignmentPage_->keyLabel(n)->hasFocus());
}

void MainWindow::storeChoice(int key, const std::string& code, const QString& caption) {
    if (key < 1 || key > kButtonCount) return;
    const auto profile = pageInfo(currentPage()).profile;
    if (profile && editor_.storeCode(*profile, key - 1, code))
        assignmentPage_->setCaption(key, caption);
}

// ---- languages and skins ------------------------------------------------------------------

void MainWindow::applyLanguage(int n) {
    if (n < 1 || n > 3) return;
    controls_->setLanguage(n);
    auto* insertList = findChild<QComboBox*>(QStringLiteral("CB_Insert"));
    const int insertIndex = insertList != nullptr ? insertList->currentIndex() : -1;

    languages_.select(n);
    applySkinImages(n);
    // Menus, lists, message boxes and the focus mark take the accent of this skin.
    pages::setSkinAccent(pages::accentOf(
        pixmaps_.image(appearance::Skin::pageBackground(n, pageInfo(Page::Main).container))));
    menus_->applySkinColours();
    skin_.applyLanguage(n, languages_);
    for (const auto& issue : skin_.layout().takeIssues())
        qWarning().noquote() << QString::fromStdString(issue.message());
    applyLayout(skin_.layout(), this);
    fitStatusLabels();
    applyTexts();
    if (readError_->isVisible()) showReadFailed(); // in the new language
    showNoDeviceTexts();

    if (insertList != nullptr && insertIndex >= 0) insertList->setCurrentIndex(insertIndex);
    // Qt's own buttons and dialogs in the language; the OK of messages from the table.
    qtTexts_->use(n);
    prompts_.setOkText(QString::fromStdString(languages_.text("Str420")));
    QGuiApplication::setApplicationDisplayName(platformTitle());
    applyPlatformTitle();
    refreshAPPage();
    showNeededPageButtons();
}

void MainWindow::applySkinImages(int n) {
    const QPixmap background = pixmaps_.pixmap(appearance::Skin::windowBackground(n));
    controls_->base()->setImage(background);
    if (traits_.shapedWindow && !background.isNull()) {
        const QImage key = background.toImage().convertToFormat(QImage::Format_ARGB32);
        setMask(QBitmap::fromImage(key.createMaskFromColor(kWindowKey.rgb(), Qt::MaskInColor)));
    }
}

void MainWindow::applyTexts() {
    applyCaptions(languages_, this);
    // A label keeps a text no table knows (a key combination, a macro name).
    for (int n = 1; n <= kButtonCount; ++n) {
        const std::string caption = assignmentPage_->caption(n).toStdString();
        assignmentPage_->setCaption(n, QString::fromStdString(languages_.recaption(caption)));
    }
    menus_->setTexts(languages_);
    for (auto* view : views_)
        view->applyLanguage(languages_, skin_.layout());
}

void MainWindow::fitStatusLabels() {
    // The status texts run to the window's right edge and wrap there.
    for (const char* l : {"lbl_NoDev", "lbl_CheckDev", "lbl_IDError", "lbl_TypeError"}) {
        QLabel* label = controls_->label(QString::fromLatin1(l));
        const int width = kWidth - label->x() - 16;
        label->resize(width, label->heightForWidth(width) > 0 ? label->heightForWidth(width) : 40);
    }
}

// ---- pages ---------------------------------------------------------------------------------

Page MainWindow::currentPage() const {
    for (int n = 1; n <= 6; ++n)
        if (controls_->pageRadio(n)->isChecked()) return static_cast<Page>(n);
    return Page::Main;
}

void MainWindow::loadPageBackground(int n) {
    page(n).background()->setImage(
        pixmaps_.pixmap(appearance::Skin::pageBackground(languages_.current(), n)));
}

void MainWindow::showContainer(int n) {
    for (int i = 1; i <= 4; ++i)
        page(i).setShown(i == n);
    if (n >= 1 && n <= 4) loadPageBackground(n);
    applyTabOrder();
}

void MainWindow::applyTabOrder() {
    // Tab walks the window as it is read: the web button in the header, the command column,
    // the page's own controls, then the deck of page buttons.
    QList<QWidget*> header{controls_->button(QStringLiteral("Btn_Web"))};
    QList<QWidget*> commands;
    for (const char* b : {"Btn_Confirm", "Btn_Apply", "Btn_Reset", "Btn_Exit"})
        commands << controls_->button(QString::fromLatin1(b));
    QList<QWidget*> pageControls;
    QList<QWidget*> otherPages;
    for (int i = 1; i <= 4; ++i)
        for (const QPointer<QWidget>& c : page(i).controls())
            if (!c.isNull()) (page(i).isShown() ? pageControls : otherPages) << c.data();
    QList<QWidget*> deck;
    for (pages::ButtonLabel* b : findChildren<pages::ButtonLabel*>(Qt::FindDirectChildrenOnly))
        if (!header.contains(b) && !commands.contains(b) && !pageControls.contains(b) &&
            !otherPages.contains(b))
            deck << b;
    // Only what shows now: hidden controls would join rows that are apart.
    auto shown = [this](QList<QWidget*> stops) {
        stops.removeIf([this](QWidget* w) { return !w->isVisibleTo(this); });
        return stops;
    };
    tabChain_ =
        pages::readingOrder({shown(pages::tabStops(header)), shown(pages::tabStops(commands)),
                             shown(pages::tabStops(pageControls)), shown(pages::tabStops(deck))});
}

bool MainWindow::focusNextPrevChild(bool next) {
    // Qt's own chain follows the order of creation; this window's follows its reading order.
    QWidget* focus = focusWidget();
    const qsizetype at = tabChain_.indexOf(focus);
    if (at < 0 && focus != nullptr && focus != this) return QWidget::focusNextPrevChild(next);
    const qsizetype n = tabChain_.size();
    for (qsizetype step = 1; step <= n; ++step) {
        const qsizetype i =
            at < 0 ? (next ? step - 1 : n - step) : ((at + (next ? step : -step)) % n + n) % n;
        QWidget* w = tabChain_[i];
        if (w->isVisible() && w->isEnabled()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

void MainWindow::refreshAPPage() {
    if (errorFlag_) {
        showContainer(0);
        return;
    }
    showContainer(pageInfo(currentPage()).container);
}

void MainWindow::iconInit() {
    controls_->label(QStringLiteral("lbl_IDError"))->hide();
    controls_->label(QStringLiteral("lbl_TypeError"))->hide();
    errorFlag_ = false;
    controls_->clearPageImages();
}

void MainWindow::pageButtonClicked(Page target) {
    const auto p1 = editor_.names(0);
    const auto p2 = editor_.names(1);
    const auto stored = languages_.stored();
    const pages::PageContext context{
        device_->linkOpen(),          errorFlag_, &p1, &p2, stored.alternateProfileFunction,
        stored.alternateResetFunction};
    switch (pages::checkPageButton(target, context)) {
    case pages::PageRefusal::DeviceNotFound:
        message("Str022");
        return;
    case pages::PageRefusal::ErrorState:
        return;
    case pages::PageRefusal::AlternateMissing:
        hideAllMenus();
        message("Str020");
        return;
    case pages::PageRefusal::ResetKeyMissing:
        hideAllMenus();
        message("Str021");
        return;
    case pages::PageRefusal::None:
        break;
    }
    hideAllMenus();
    iconInit();
    const auto& info = pageInfo(target);
    controls_->pageRadio(static_cast<int>(target))->setChecked(true);
    showContainer(info.container);
    if (info.editing)
        enableEditing();
    else
        disableEditing();
    if (info.profile) assignmentPage_->setCaptions(editor_.names(*info.profile));
    controls_->setSelectedPageImage(
        QString::fromLatin1(info.image.data(), static_cast<qsizetype>(info.image.size())));
}

void MainWindow::hideAllMenus() {
    menus_->hideAll();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Esc closes the open menu; the focus goes back to its key.
    if (event->key() == Qt::Key_Escape && menus_->anyOpen()) {
        hideAllMenus();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// ---- window states -------------------------------------------------------------------------

void MainWindow::enableEditing() {
    editing_ = true;
    controls_->disable()->hide();
    for (auto* view : views_)
        view->setEditing(true);
}

void MainWindow::disableEditing() {
    editing_ = false;
    // The cover lies over the page's settings; the key labels stay above it, so hover and
    // the marquee still work there while a click on them is refused (keyClicked).
    controls_->disable()->raise();
    controls_->disable()->show();
    assignmentPage_->raiseKeys();
    if (locked_) controls_->disableAll()->raise();
    for (auto* view : views_)
        view->setEditing(false);
}

void MainWindow::lockWindow() {
    locked_ = true;
    assignmentPage_->endHover();
    controls_->disableAll()->raise();
    controls_->disableAll()->show();
    // The key-combination dialog is a window of its own, out of the cover's reach.
    keyDialog_->setEnabled(false);
    for (auto* view : views_)
        view->setLocked(true);
}

void MainWindow::unlockWindow() {
    locked_ = false;
    controls_->disableAll()->hide();
    keyDialog_->setEnabled(true);
    for (auto* view : views_)
        view->setLocked(false);
    if (closeWhenUnlocked_) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::showDevicePages() {
    const bool macro = device_->macroDevice();
    readError_->hide();
    for (const char* name : {"Btn_Macro", "Img_Macro"})
        pages::setHiddenFor(findChild<QWidget*>(QString::fromLatin1(name)), pages::hide::kDevice,
                            !macro);
    menus_->setMacroDevice(macro);
    for (auto* view : views_)
        view->setMacroDevice(macro);
    showContainer(1);
    enableEditing();
    errorFlag_ = false;
    showNeededPageButtons();
    const Page page = currentPage();
    if (page == Page::Main || page == Page::Switch || page == Page::Fixed) pageButtonClicked(page);
    QCoreApplication::processEvents();
}

void MainWindow::showNoDevice() {
    hideAllMenus();
    readError_->hide();
    controls_->label(QStringLiteral("lbl_TypeError"))->hide();
    controls_->label(QStringLiteral("lbl_IDError"))->hide();
    showNoDeviceTexts();
    controls_->label(QStringLiteral("lbl_NoDev"))->show();
    controls_->label(QStringLiteral("lbl_CheckDev"))->show();
    assignmentPage_->endHover();
    QCoreApplication::processEvents();
    refreshErrorAP();
    menus_->setMacroNames({});
    for (auto* view : views_)
        view->setMacroDevice(false);
}

// The no-device status says whether the mouse is absent or present but closed to this user
// (Str104, Str105): the two need different fixes.
void MainWindow::showNoDeviceTexts() {
    const bool closed = device_->mouseCannotBeOpened();
    const auto put = [this](const char* label, const char* textId) {
        controls_->label(QString::fromLatin1(label))
            ->setText(QString::fromStdString(languages_.text(textId)));
    };
    put("lbl_NoDev", closed ? "Str104" : "Str100");
    put("lbl_CheckDev", closed ? "Str105" : "Str101");
    fitStatusLabels();
}

void MainWindow::refreshErrorAP() {
    device_->dropLink();
    errorFlag_ = true;
    showContainer(0);
    controls_->clearPageImages();
    showNeededPageButtons();
}

// A mouse with macros or lighting gets its pages' buttons where the layout has none; the
// start-up, no-device and error states keep the layout's buttons only.
void MainWindow::showNeededPageButtons() {
    const bool mouseShown = device_ != nullptr && device_->linkOpen() && !errorFlag_;
    controls_->setAddedPageImages(shell::showNeededPageButtons(
        this, skin_.layout().lastPlacement(), mouseShown, mouseShown && device_->macroDevice(),
        pages::LightingRules(config_).editable(), controls_->pagePlateBody(),
        controls_->addedPagePlateBody()));
}

// The mouse was identified but not read completely: its settings are not what the pages
// would show, so no page is shown and nothing can be written until a read completes. The
// link stays open for that read.
void MainWindow::showReadFailed() {
    hideAllMenus();
    for (const char* l : {"lbl_NoDev", "lbl_CheckDev", "lbl_IDError", "lbl_TypeError"})
        controls_->label(QString::fromLatin1(l))->hide();
    // It stands where the other status texts stand, and looks like them.
    const QLabel* model = controls_->label(QStringLiteral("lbl_IDError"));
    readError_->setFont(model->font());
    readError_->setPalette(model->palette());
    readError_->setStyleSheet(model->styleSheet());
    readError_->move(model->pos());
    const int width = kWidth - model->x() - 16;
    readError_->setText(QString::fromStdString(languages_.text("Str025")));
    readError_->resize(width, std::max(40, readError_->heightForWidth(width)));
    readError_->show();
    readError_->raise();
    assignmentPage_->endHover();
    errorFlag_ = true;
    showContainer(0);
    controls_->clearPageImages();
    showNeededPageButtons();
}

void MainWindow::showRejected(device::IdentifyResult why) {
    const bool typeError = why == device::IdentifyResult::DataTypeError;
    readError_->hide();
    controls_->label(QStringLiteral("lbl_TypeError"))->setVisible(typeError);
    controls_->label(QStringLiteral("lbl_IDError"))->setVisible(!typeError);
    controls_->label(QStringLiteral("lbl_NoDev"))->hide();
    controls_->label(QStringLiteral("lbl_CheckDev"))->hide();
    refreshErrorAP();
}

// ---- pointer settings, messages, dragging, closing ----------------------------------------

void MainWindow::readPointerSettings() {
    pointerScales_->readSystem();
}

void MainWindow::writePointerSettings() {
    pointerScales_->apply();
}

void MainWindow::message(std::string_view textId) {
    prompts_.message(this, QString::fromStdString(languages_.text(textId)));
}

void MainWindow::dragFrom(QPoint globalPos) {
    if (traits_.shapedWindow) hideAllMenus();
    dragOffset_ = globalPos - pos();
    // Without a window manager the system move is refused; the window then follows the
    // mouse itself.
    systemMove_ = windowHandle() != nullptr && windowHandle()->startSystemMove();
}

void MainWindow::dragTo(QPoint globalPos) {
    if (!systemMove_) move(globalPos - dragOffset_);
}

QString MainWindow::platformTitle() const {
    return QString::fromStdString(languages_.text("Title"));
}

void MainWindow::applyPlatformTitle() {
    // Qt would show "caption - display name"; the task bar is to show the Title alone, as the
    // application title. The platform window takes it directly, the widget keeps its caption.
    if (QWindow* w = windowHandle()) w->setTitle(platformTitle());
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    applyPlatformTitle();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Never in the middle of a transfer: the window closes once the mouse is written.
    if (locked_) {
        closeWhenUnlocked_ = true;
        event->ignore();
        return;
    }
    device_->shutDown();
    keyDialog_->hide();
    loading_->hide();
    event->accept();
}

} // namespace orlix::shell
