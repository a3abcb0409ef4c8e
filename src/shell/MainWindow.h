#pragma once

#include "appearance/Languages.h"
#include "appearance/ResourceBundle.h"
#include "appearance/Skin.h"
#include "device/DeviceSession.h"
#include "model/Configuration.h"
#include "pages/AdvancedPage.h"
#include "pages/AssignmentMenus.h"
#include "pages/AssignmentPage.h"
#include "pages/KeyCombinationDialog.h"
#include "pages/LightingPage.h"
#include "pages/PointerScalesView.h"
#include "platform/PointerSettings.h"
#include "rules/AssignmentEditor.h"
#include "rules/PageRules.h"
#include "widgets/PageContainer.h"
#include "widgets/PageView.h"
#include "widgets/SkinPixmaps.h"

#include <QPoint>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QLabel;

namespace orlix::macro::gui {
class MacroPage;
}

namespace orlix::shell {

class DeviceController;
class LoadingWindow;
class Prompts;
class QtTranslations;
class WindowCommands;
class WindowControls;

// TForm1: the skinned 800 x 600 main window. It owns the configuration for the whole run and
// wires the parts together: the controls, the pages, the menus, the device controller and
// the window commands. The window states (start-up, no device, error, device shown,
// transfer) are its operations.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Gaming Mouse v1.0";
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    MainWindow(Edition edition, const appearance::ResourceBundle& resources,
               device::HidBackend& backend, Prompts& prompts,
               platform::PointerSettingsStore* pointerSettings = nullptr,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    const EditionTraits& traits() const { return traits_; }
    Configuration& configuration() { return config_; }
    const appearance::Languages& languages() const { return languages_; }
    const appearance::Skin& skin() const { return skin_; }
    const pages::SkinPixmaps& pixmaps() const { return pixmaps_; }
    DeviceController& device() { return *device_; }
    WindowControls& controls() { return *controls_; }
    WindowCommands& commands() { return *commands_; }
    pages::AssignmentPage& assignmentPage() { return *assignmentPage_; }
    pages::AssignmentMenus& menus() { return *menus_; }
    pages::AdvancedPage& advancedPage() { return *advancedPage_; }
    pages::KeyCombinationDialog& keyDialog() { return *keyDialog_; }
    macro::gui::MacroPage& macroPage() { return *macroPage_; }
    LoadingWindow& loadingWindow() { return *loading_; }
    pages::PageContainer& page(int n) { return *pages_[static_cast<std::size_t>(n - 1)]; }
    Prompts& prompts() { return prompts_; }
    std::span<const std::uint8_t> defaultResource() const { return defaultResource_; }
    pages::PointerScalesView& pointerScales() { return *pointerScales_; }
    pages::LightingPage& lightingPage() { return *lighting_; }
    // Settings pages register here to hear about refreshes, languages and window states.
    void addPageView(pages::PageView* view) { views_.push_back(view); }

    // DataBufToUI's window part: what the configuration holds, shown on every page.
    void refreshUI();
    // Btn_Lang1Click .. Btn_Lang3Click.
    void applyLanguage(int n);
    void pageButtonClicked(pages::Page page);
    void refreshAPPage();
    pages::Page currentPage() const;
    bool errorState() const { return errorFlag_; }
    bool editingEnabled() const { return editing_; }
    bool locked() const { return locked_; }

    void enableEditing();
    void disableEditing();
    void lockWindow();
    void unlockWindow();
    void showDevicePages();
    void showNoDevice();
    void refreshErrorAP();
    void hideAllMenus();
    // The pointer scales from the system's settings, and the chosen steps to the system.
    void readPointerSettings();
    void writePointerSettings();

    // The title the task bar shows: the current language's Title. The window's own caption
    // (windowTitle()) stays kCaption.
    QString platformTitle() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void connectParts();
    void applySkinImages(int n);
    void applyTexts();
    void fitStatusLabels();
    void showContainer(int n);
    void loadPageBackground(int n);
    void iconInit();
    void showRejected(device::IdentifyResult why);
    void showReadFailed();
    void showNoDeviceTexts();
    void showNeededPageButtons();
    void keyClicked(int n);
    void storeChoice(int key, const std::string& code, const QString& caption);
    void dragFrom(QPoint globalPos);
    void dragTo(QPoint globalPos);
    void message(std::string_view textId);
    void applyPlatformTitle();

    const EditionTraits& traits_;
    const appearance::ResourceBundle& resources_;
    Prompts& prompts_;
    platform::PointerSettingsStore* pointerStore_;
    std::span<const std::uint8_t> defaultResource_;
    appearance::Languages languages_;
    appearance::Skin skin_;
    pages::SkinPixmaps pixmaps_;
    Configuration config_;
    pages::AssignmentEditor editor_;

    WindowControls* controls_ = nullptr;
    std::array<pages::PageContainer*, 4> pages_{};
    pages::AssignmentPage* assignmentPage_ = nullptr;
    pages::AssignmentMenus* menus_ = nullptr;
    pages::AdvancedPage* advancedPage_ = nullptr;
    pages::KeyCombinationDialog* keyDialog_ = nullptr;
    pages::PointerScalesView* pointerScales_ = nullptr;
    pages::LightingPage* lighting_ = nullptr;
    macro::gui::MacroPage* macroPage_ = nullptr;
    LoadingWindow* loading_ = nullptr;
    DeviceController* device_ = nullptr;
    WindowCommands* commands_ = nullptr;
    QtTranslations* qtTexts_ = nullptr;
    std::vector<pages::PageView*> views_;

    bool errorFlag_ = false;
    QLabel* readError_ = nullptr; // lbl_ReadError: Str025 instead of the pages
    bool editing_ = false;
    bool locked_ = false;
    bool closeWhenUnlocked_ = false;
    bool systemMove_ = false;
    QPoint dragOffset_;
};

} // namespace orlix::shell
