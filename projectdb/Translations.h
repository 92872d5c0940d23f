#pragma once
// The translation languages of a project: each is one Translations row and two
// ResourceText columns named by the language's display name (the translation
// and its "_Modified" flag). Adding, deleting, listing and describing them, the
// fonts they are shown with, and the project status they add up to.
//
// The functions work on a project database of any format version (6 and 7
// keep Language/SubLanguage, 8 keeps Lang_Id); those that add or drop columns
// tell the CProjectDatabase to forget the layout it read. Column
// names are always quoted and every value is bound, so a display name can
// never change the meaning of a statement.

#include "projectdb/FileStamp.h"
#include "projectdb/Languages.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;
namespace sql {
class Database;
}

// True when ResourceText has a field named exactly like the language's display
// name; false also when the language has none.
bool HasLanguageColumn(CProjectDatabase& project, int primary, int sub);

// Creates the translation column (Memo) and its flag column (Byte) of a display
// name in ResourceText, each unless a field of that name exists.
void CreateLanguageColumns(sql::Database& db, std::string_view displayName);

// Appends the Translations row of a language and creates its columns, in one
// transaction. Fails (false, database untouched) when the language has no
// display name or a translation with that identifier or display name exists.
// Throws sql::Error on a database failure (nothing is then left half added).
bool AddLanguage(CProjectDatabase& project, int primary, int sub, int codePage);

enum class LanguageStatus { Ok, AlreadyExists, Failed, NoTranslation };

struct LanguageResult {
    LanguageStatus status = LanguageStatus::Failed;
    std::string message;  // empty for Ok
    int errorCode = 0;    // the engine's result code when a database error ended it
};

// The command "New translation" after its questions: refuses a language whose
// column exists (also a second language with the same display name), adds it,
// stores the translated script's name and gives every version BLOCK line whose
// name is a language and code page the new language's block name.
LanguageResult NewTranslation(CProjectDatabase& project, int primary, int sub, int codePage,
                              const std::filesystem::path& translationFile);

// Deletes the translation's two columns and its Translations row, in one transaction.
LanguageResult DeleteLanguage(CProjectDatabase& project, int primary, int sub);

// The project's translations in the order they were added.
std::vector<LanguagePair> ListLanguages(CProjectDatabase& project);

std::optional<int> GetCodePage(CProjectDatabase& project, int primary, int sub);
// False when the project has no such translation.
bool SetCodePage(CProjectDatabase& project, int primary, int sub, int codePage);

struct TranslationFile {
    std::string fileName;
    FileStamp stamp;
};
std::optional<TranslationFile> GetTranslationFile(CProjectDatabase& project, int primary, int sub);
// Stores the path and the stamp of the translated script; false when the
// project has no such translation.
bool SetTranslationFile(CProjectDatabase& project, int primary, int sub, const TranslationFile& file);

// Whether a name may be used for a translation's script. AskOverwrite: the file
// exists and the user must confirm.
enum class FileNameCheck { Ok, IsSourceFile, Invalid, InUse, AskOverwrite };
struct FileNameCheckResult {
    FileNameCheck check = FileNameCheck::Ok;
    std::string message;
};
FileNameCheckResult CheckTranslationFileName(CProjectDatabase& project, const std::filesystem::path& sourceScript,
                                             const std::filesystem::path& candidate);

// Font and character set a language is shown with.
struct LanguageFont {
    std::string fontName;
    int charSet = 1;
};
// Keyed by Lang_Id (primary + 1024 * sub): the source languages of the script
// and the translations (a translation's entry wins); only fonts whose name is
// longer than one character are recorded.
std::map<std::int32_t, LanguageFont> LoadFonts(CProjectDatabase& project);

// The warning about character sets the machine has no font for, or an empty
// string when every one is available. Character set 1 always is.
std::string MissingCharSetsMessage(const std::map<std::int32_t, LanguageFont>& fonts,
                                   const std::set<int>& availableCharSets);

// Project.Status values.
inline constexpr int kStatusNoTranslation = 1;
inline constexpr int kStatusIncomplete = 2;
inline constexpr int kStatusTranslated = 3;
inline constexpr int kStatusUpdateNeeded = 4;

// 1 without translations; 2 when some language has an untranslated text that is
// not excluded; else 3.
int ComputeProjectStatus(CProjectDatabase& project);
// Stores the computed status unless the project waits for an update (4 stays
// until the update runs); returns the stored status.
int RecomputeProjectStatus(CProjectDatabase& project);

}  // namespace qln
