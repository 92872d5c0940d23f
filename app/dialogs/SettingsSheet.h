#pragma once
// Translation > Settings (File, Font): the property sheet of the source script
// (its path, the include-file extensions, the font of source texts) or of one
// translation (its script name, code page and font), with the checks that
// keep a page open, and the command that stores the changes.

#include "project/OptionRules.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLineEdit;
class QTabWidget;

namespace qln {
class CProjectDatabase;
}

namespace qln::ui {

class FontField;
class Prompts;

struct SourceSettings {
    std::string includeExtensions;
    FontChoice font;
};

class SettingsSheet : public QDialog {
    Q_OBJECT
public:
    // The source script's sheet; `includeExtensions` is the list the project uses now.
    SettingsSheet(CProjectDatabase& project, std::filesystem::path script, const SourceSettings& current,
                  Prompts& prompts, QWidget* parent = nullptr);
    // A translation's sheet.
    SettingsSheet(CProjectDatabase& project, std::filesystem::path script, LanguagePair language,
                  const TranslationSettings& current, Prompts& prompts, QWidget* parent = nullptr);

    SourceSettings sourceSettings() const;
    TranslationSettings translationSettings() const;

    QTabWidget* tabs() const { return tabs_; }
    QLineEdit* includeEdit() const { return include_; }
    QLineEdit* fileEdit() const { return file_; }
    QComboBox* codePageBox() const { return codePage_; }
    FontField* fontField() const { return font_; }

    void accept() override;

private:
    void build();
    void addFontPage();

    CProjectDatabase& project_;
    std::filesystem::path script_;
    Prompts& prompts_;
    std::optional<LanguagePair> language_;
    TranslationSettings translation_;
    SourceSettings source_;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* include_ = nullptr;
    QLineEdit* file_ = nullptr;
    QComboBox* codePage_ = nullptr;
    FontField* font_ = nullptr;
};

// What the document supplies to the source script's sheet: the settings
// file's list for a database of an older format, where it is kept there.
struct SettingsHooks {
    std::function<std::string()> settingsFileIncludes;
    std::function<void(const std::string&)> storeSettingsFileIncludes;
};

struct SettingsOutcome {
    bool accepted = false;
    bool modified = false;   // a translation's file name changed
    bool outOfDate = false;  // the include list changed: the database needs an update
};

// The sheet of the source script (nothing) or of a translation, then stores
// what changed and tells the user when the database must be updated.
SettingsOutcome RunSettingsCommand(QWidget* parent, CProjectDatabase& project, const std::filesystem::path& script,
                                   std::optional<LanguagePair> language, const SettingsHooks& hooks,
                                   Prompts& prompts);

// Commands 301 to 331: 301 is the source script, 302 onwards the project's
// translations in column order. Nothing for an id without a translation.
std::optional<std::optional<LanguagePair>> SettingsTarget(CProjectDatabase& project, int commandId);

}  // namespace qln::ui
