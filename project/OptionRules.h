#pragma once
// The rules behind the workbench's option pages and translation dialogs,
// free of any window: the include-file extension list (checked, normalised,
// stored per project), the choice of a translation's script name, the
// languages offered for a new translation, and the settings of the source
// script and of each translation (code page, file name, font).

#include "projectdb/Languages.h"
#include "projectdb/Translations.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;

// --- Include-file extensions ---------------------------------------------------------

// Extensions of resource scripts, with the dot: they can never be include extensions.
std::span<const std::string_view> ScriptExtensions();

struct IncludeListCheck {
    bool ok = true;
    std::string message;  // why the list is refused (exclamation icon)
};

// Letters, digits, "_", "," and blanks only; every extension at most three
// characters and no script extension. An empty list is accepted.
IncludeListCheck CheckIncludeExtensions(std::string_view text);

// The stored form: upper case, each extension once, joined by ", " ("RC2, DLG").
std::string NormaliseIncludeExtensions(std::string_view text);

// Whether two lists name the same extensions (case-blind, any separators).
bool SameIncludeExtensions(std::string_view a, std::string_view b);

// The project's list ("RES_INCLUDES"); nothing for a database of an older
// format, which keeps it in the settings file, or when none is stored.
std::optional<std::string> StoredIncludeExtensions(CProjectDatabase& project);

struct IncludeListChange {
    std::string stored;            // the normalised list
    bool inSettingsFile = false;   // older format: the caller stores it in the settings file
    bool outOfDate = false;        // the set changed: Status is now 4 and the database needs an update
};

// Stores a checked list when it differs from `previous` (the list the page
// showed); a different set of extensions marks the project out of date.
IncludeListChange ApplyIncludeExtensions(CProjectDatabase& project, std::string_view text,
                                         std::string_view previous);

// --- Translation script names --------------------------------------------------------

// Where a stored translation name points: relative names lie beside the script.
std::filesystem::path TranslationFilePath(const std::filesystem::path& script, std::string_view name);

// The name to store: relative to the script's directory when the file lies
// there (so the project can move), else absolute.
std::string StoredTranslationName(const std::filesystem::path& script, const std::filesystem::path& file);

// Whether `candidate` (relative names are taken beside the script) may be the
// script of the translation `editing` (nothing for a new translation): not the
// source or another file the project reads, a valid name in an existing
// folder, not the file of another translation; an existing file asks.
FileNameCheckResult CheckTranslationFileChoice(CProjectDatabase& project, const std::filesystem::path& script,
                                               std::string_view candidate,
                                               std::optional<LanguagePair> editing = std::nullopt);

// --- Languages offered for a new translation ------------------------------------------

struct LanguageChoice {
    const LanguageEntry* entry = nullptr;  // row of the language table
    bool taken = false;        // its translation column exists: adding it is refused
    int defaultCodePage = 0;   // for the script's encoding and the language
    std::string defaultFileName;
    std::string defaultFont;   // for the language's character set
};

// Every row of the language table, in list order.
std::vector<LanguageChoice> NewLanguageChoices(CProjectDatabase& project, const std::filesystem::path& script);

// The code pages a translation can be written in: the listed ones, then UTF-8.
struct CodePageChoice {
    int number;
    std::string label;  // "name,   Code page:  number"
};
std::vector<CodePageChoice> CodePageChoices();

// --- Fonts ------------------------------------------------------------------------------

struct FontChoice {
    std::string name;  // empty: the default font
    int charSet = 1;
};
std::optional<FontChoice> GetSourceFont(CProjectDatabase& project);
void SetSourceFont(CProjectDatabase& project, const FontChoice& font);
std::optional<FontChoice> GetTranslationFont(CProjectDatabase& project, LanguagePair language);
bool SetTranslationFont(CProjectDatabase& project, LanguagePair language, const FontChoice& font);

// --- Adding a translation and changing its settings -------------------------------------

struct NewTranslationChoice {
    LanguagePair language{0, 0};
    int codePage = 0;
    std::string fileName;  // as typed; stored relative to the script when it lies beside it
    FontChoice font;
};

// Adds the translation with its file name and font and recomputes the status.
LanguageResult AddTranslation(CProjectDatabase& project, const std::filesystem::path& script,
                              const NewTranslationChoice& choice);

struct TranslationSettings {
    int codePage = 0;
    std::string fileName;
    FontChoice font;
};
TranslationSettings ReadTranslationSettings(CProjectDatabase& project, LanguagePair language);

// Stores what changed; true when the file name changed (compared without
// regard to case), which marks the document modified.
bool ApplyTranslationSettings(CProjectDatabase& project, const std::filesystem::path& script,
                              LanguagePair language, const TranslationSettings& before,
                              const TranslationSettings& after);

}  // namespace qln
