#pragma once

#include "macro/MacroEditor.h"
#include "model/Configuration.h"
#include "widgets/ButtonLabel.h"
#include "widgets/PageContainer.h"
#include "widgets/PageView.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinPixmaps.h"

#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <array>
#include <functional>
#include <memory>

namespace orlix::appearance {
class Languages;
}

namespace orlix::macro::gui {

class InsertKindBox;
class MacroCapture;
class MacroDialogs;
class MacroEventList;
class MacroNameDialog;
class MacroNameList;

// The Macro page: the macro list, the event list, the commands (Rename, Record/Stop, Clear,
// Export and Import, Delete, Insert), the delay choices, the insert panel and the name
// dialog. The widgets render a MacroEditor, which holds the rules; recording runs through a
// MacroCapture while the window has the focus.
class MacroPage : public QObject, public pages::PageView {
    Q_OBJECT
public:
    // The commands of the page, by name without "Btn_", in the order of their images.
    static constexpr std::array<const char*, 9> kCommands{
        "New", "Start", "Clear", "ExportOne", "Export", "ImportOne", "Import", "Del", "Insert"};

    MacroPage(pages::PageContainer& page, QWidget* window, const pages::SkinPixmaps& skin,
              Configuration& config, const appearance::Languages& languages);
    ~MacroPage() override;

    MacroEditor& editor() { return editor_; }
    MacroNameDialog& nameDialog() { return *nameDialog_; }
    // The recording clock in milliseconds; tests set their own.
    void setClock(std::function<std::uint32_t()> clock) { clock_ = std::move(clock); }
    // Answers for the messages, the Clear question and the file dialogs; tests set their own.
    void setDialogs(MacroDialogs* dialogs);

    // What a click on macro n, on event entry k, on Insert with a kind chosen and on Rename do;
    // for the screenshot run.
    void showMacro(int n) { macroClicked(n); }
    void showEntry(int k);
    void showInsertPanel(InsertKind kind);
    void showNameDialog() { rename(); }
    void closePanels();

    // Ends a running recording (normal or insert) as Stop would. The window calls it before
    // its commands, page and language switches.
    void stopRecording();
    bool recording() const { return editor_.recording(); }

    // PageView
    void refresh() override;
    void applyLanguage(const appearance::Languages& languages,
                       const appearance::Layout& layout) override;
    void setEditing(bool on) override;
    void setLocked(bool locked) override;
    void setMacroDevice(bool macroDevice) override;

signals:
    // A name changed (rename or import): the menus' list and the key labels follow.
    void namesChanged();

private:
    void build();
    void buildDelayGroup();
    void buildInsertGroup();
    pages::ButtonLabel* makeCommand(QWidget* parent, const QString& suffix,
                                    std::string_view restImage, QSize size, bool panelButton);
    void commandClicked(const QString& name);
    void showPressed(const QString& buttonName);

    void macroClicked(int row);
    void entryClicked();
    void rename();
    void renamed(std::size_t macro, const QString& name);
    void recordClicked();
    void insertRecordClicked();
    void startCapture(QWidget* button);
    void recordingEnded();
    void clearMacro();
    void deleteEntry();
    void exportMacros(bool all);
    void importMacros(bool all);
    void openInsert();
    void applyInsertKind();
    void confirmInsert();
    void cancelInsert();
    void closeInsertPanel();

    void chooseDelay(int choice, bool insert);
    int delayValue(bool insert) const;
    RecordingSettings settings(bool insert) const;
    void showDecodedMode();

    void showScript();
    void showNames();
    void updateStates();
    void setCommandEnabled(const QString& suffix, bool on);
    void setFieldLook(QLineEdit* field, bool editable);
    void setGreyLabel(QWidget* label, bool grey);
    void message(std::string_view textId);
    // A failed file command, told in the current language, with the file it was about.
    void fileMessage(const MacroFileResult& result, const std::filesystem::path& file);
    QString text(std::string_view id) const;

    pages::PageContainer& page_;
    QWidget* window_;
    const pages::SkinPixmaps& skin_;
    Configuration& config_;
    const appearance::Languages& languages_;
    std::function<std::uint32_t()> clock_;
    MacroEditor editor_;
    std::unique_ptr<MacroDialogs> ownDialogs_;
    MacroDialogs* dialogs_;
    MacroCapture* capture_ = nullptr;

    MacroNameList* names_ = nullptr;
    MacroEventList* events_ = nullptr;
    QPlainTextEdit* script_ = nullptr; // mmo_macro
    QPlainTextEdit* hex_ = nullptr;    // mmo_wrscript
    QLabel* scopeNote_ = nullptr;      // lbl_RecordScope: what a running recording cannot see
    MacroNameDialog* nameDialog_ = nullptr;

    QWidget* delayGroup_ = nullptr; // Gb_Delay
    QLineEdit* delayEdit_ = nullptr;
    std::array<QRadioButton*, 3> delayRadios_{};
    int delayChoice_ = 0; // 0 Record Delay, 1 Default Delay, 2 No Delay

    QWidget* insertGroup_ = nullptr; // Gb_Insert
    pages::SkinImage* insertBase_ = nullptr;
    InsertKindBox* insertKind_ = nullptr;
    QLineEdit* insertDelayEdit_ = nullptr;
    std::array<QRadioButton*, 3> insertRadios_{};
    int insertChoice_ = 0;
    QWidget* cover_ = nullptr; // GB_Dis
    int rememberedTop_ = 0;

    QColor textColour_{Qt::white};  // Color_F: commands and labels
    QColor fieldColour_{0, 128, 0}; // Color_F_Font: lists and fields
    QColor accent_{0, 160, 200};
    bool editing_ = true;
    bool locked_ = false;
};

} // namespace orlix::macro::gui
