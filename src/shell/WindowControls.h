#pragma once

#include "widgets/ButtonLabel.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinPixmaps.h"

#include <QLabel>
#include <QObject>
#include <QRadioButton>
#include <QStringList>

#include <array>

namespace orlix::shell {

// The controls of the main window that belong to no page: the background, the window,
// page, profile-file and language buttons with their images and hover looks, the web button,
// the status labels, the two cover labels and the hidden page and language markers.
class WindowControls : public QObject {
    Q_OBJECT
public:
    // Window buttons (A), page and profile buttons (B) and language buttons (D), by name
    // without the "Btn_" prefix.
    static constexpr std::array<const char*, 4> kWindowButtons{"Confirm", "Apply", "Reset", "Exit"};
    static constexpr std::array<const char*, 6> kPageButtons{"Main", "Switch", "Fixed",
                                                             "Adv",  "Breath", "Macro"};
    static constexpr std::array<const char*, 2> kFileButtons{"Save", "Load"};
    static constexpr std::array<const char*, 3> kLanguageButtons{"Lang1", "Lang2", "Lang3"};

    WindowControls(QWidget* window, const pages::SkinPixmaps& skin);

    // Built first, so everything else lies above it.
    pages::SkinImage* base() const { return base_; }
    // The buttons, status labels and covers; built after the pages.
    void buildButtons();

    pages::ButtonLabel* button(const QString& name) const; // "Btn_Apply"
    pages::SkinImage* image(const QString& name) const;    // "Img_Apply"
    QLabel* label(const QString& name) const;              // "lbl_NoDev"
    QLabel* disable() const { return disable_; }
    QLabel* disableAll() const { return disableAll_; }
    QRadioButton* pageRadio(int n) const { return pageRadios_[static_cast<std::size_t>(n - 1)]; }
    QRadioButton* languageRadio(int n) const {
        return langRadios_[static_cast<std::size_t>(n - 1)];
    }

    // The page button shown as selected ("Img_Main"), or none.
    void setSelectedPageImage(const QString& imageName);
    // ButtonTypeB_1IconInit's look: no page button selected.
    void clearPageImages();
    void setLanguage(int n);
    // A window button's pressed look.
    void showPressed(const QString& buttonName);
    void showImage(const QString& imageName, std::string_view skinImage);
    // The page buttons the window adds where the layout hides them ("Img_Breath"): they take
    // the edition's wider plate ("SetSW") where it has one.
    void setAddedPageImages(const QStringList& imageNames);
    // The drawn width of the current skin's page-button plate, and of the added buttons'
    // wider one (0 without one).
    int pagePlateBody() const;
    int addedPagePlateBody() const;

signals:
    // Any button was clicked ("Btn_Apply", "Btn_Lang2", "Btn_Web" ...).
    void clicked(const QString& buttonName);

private:
    pages::ButtonLabel* makeButton(const QString& suffix, std::string_view restImage, QSize size);
    void fitTextArea(pages::ButtonLabel* label, std::string_view restImage);
    // The skin image a page, profile or language button shows for a "SetS" look.
    std::string pageButtonImage(const QString& imageName, std::string_view look) const;
    void buildCommandAndPageButtons();
    void buildWebButton();
    void buildStatesAndCovers();

    QWidget* window_;
    const pages::SkinPixmaps& skin_;
    pages::SkinImage* base_;
    QLabel* disable_ = nullptr;
    QLabel* disableAll_ = nullptr;
    std::array<QRadioButton*, 6> pageRadios_{};
    std::array<QRadioButton*, 3> langRadios_{};
    QString selectedPageImage_;
    int skinSet_ = 1;
    QStringList addedPageImages_;
};

} // namespace orlix::shell
