#include "shell/Captions.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

namespace orlix::shell {

namespace {

std::vector<std::pair<QString, std::string>> captionTable() {
    std::vector<std::pair<QString, std::string>> t = {
        {"Btn_Confirm", "Str000"},   {"Btn_Apply", "Str001"},       {"Btn_Reset", "Str002"},
        {"Btn_Exit", "Str003"},      {"Btn_Main", "Str004"},        {"Btn_Switch", "Str005"},
        {"Btn_Fixed", "Str006"},     {"Btn_Adv", "Str007"},         {"Btn_Breath", "Str008"},
        {"Btn_Save", "Str009"},      {"Btn_Load", "Str010"},        {"Btn_Lang1", "Str011"},
        {"Btn_Lang2", "Str012"},     {"Btn_Lang3", "Str013"},       {"Btn_Macro", "Str014"},
        {"lbl_NoDev", "Str100"},     {"lbl_CheckDev", "Str101"},    {"lbl_TypeError", "Str102"},
        {"lbl_IDError", "Str103"},   {"Btn_Start", "Str400"},       {"Btn_New", "Str402"},
        {"Btn_Clear", "Str403"},     {"Btn_ExportOne", "Str404"},   {"Btn_Export", "Str405"},
        {"Btn_ImportOne", "Str406"}, {"Btn_Import", "Str407"},      {"Btn_Del", "Str408"},
        {"Btn_Insert", "Str409"},    {"lbl_Delay", "Str417"},       {"lbl_s_A", "Str418"},
        {"lbl_DelayUnit", "Str418"}, {"Btn_InsertStart", "Str400"}, {"Btn_OK", "Str420"},
        {"Btn_Cancel", "Str422"},
    };
    for (int i = 0; i < 8; ++i)
        t.emplace_back(QStringLiteral("lbl_DPI%1").arg(i + 1), "Str" + std::to_string(300 + i));
    for (int i = 0; i < 4; ++i)
        t.emplace_back(QStringLiteral("lbl_FKMode%1").arg(i + 1), "Str" + std::to_string(310 + i));
    return t;
}

} // namespace

void applyCaptions(const appearance::Languages& languages, QWidget* window) {
    static const auto table = captionTable();
    for (const auto& [control, id] : table) {
        QWidget* w = window->findChild<QWidget*>(control);
        const QString text = QString::fromStdString(languages.text(id));
        if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(text);
    }
}

} // namespace orlix::shell
