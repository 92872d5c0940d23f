#pragma once
// Translation > New... and Delete...: the dialogs that pick a language (with
// its code page, script name and font) or one of the project's translations,
// and the commands that add or delete it through the core.

#include "project/OptionRules.h"

#include <QDialog>

#include <filesystem>
#include <optional>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qln {
class CProjectDatabase;
}

namespace qln::ui {

class FontField;
class Prompts;

// Checks a translation's script name as typed, tells the user why it is
// refused and asks before an existing file is taken; true when it may be used.
bool ConfirmTranslationFile(QWidget* parent, Prompts& prompts, CProjectDatabase& project,
                            const std::filesystem::path& script, const QString& name,
                            std::optional<LanguagePair> editing);

class NewTranslationDialog : public QDialog {
    Q_OBJECT
public:
    NewTranslationDialog(CProjectDatabase& project, std::filesystem::path script, Prompts& prompts,
                         QWidget* parent = nullptr);

    NewTranslationChoice choice() const;

    QListWidget* languageList() const { return languages_; }
    QComboBox* codePageBox() const { return codePages_; }
    QLineEdit* fileEdit() const { return file_; }
    FontField* fontField() const { return font_; }

    void accept() override;

private:
    void languageChanged(int row);
    void browse();

    CProjectDatabase& project_;
    std::filesystem::path script_;
    Prompts& prompts_;
    std::vector<LanguageChoice> choices_;
    QListWidget* languages_;
    QComboBox* codePages_;
    QLineEdit* file_;
    QPushButton* browse_;
    FontField* font_;
};

class DeleteTranslationDialog : public QDialog {
    Q_OBJECT
public:
    DeleteTranslationDialog(std::vector<LanguagePair> translations, QWidget* parent = nullptr);

    std::optional<LanguagePair> choice() const;
    QListWidget* list() const { return list_; }

private:
    std::vector<LanguagePair> translations_;
    QListWidget* list_;
};

// Fills a code page box with the choices and selects `codePage` (added when unlisted).
void FillCodePages(QComboBox& box, int codePage);
int SelectedCodePage(const QComboBox& box);

// The commands; each returns the language it added or deleted.
std::optional<LanguagePair> RunNewTranslationCommand(QWidget* parent, CProjectDatabase& project,
                                                     const std::filesystem::path& script,
                                                     Prompts& prompts);
std::optional<LanguagePair> RunDeleteTranslationCommand(QWidget* parent, CProjectDatabase& project,
                                                        Prompts& prompts);

}  // namespace qln::ui
