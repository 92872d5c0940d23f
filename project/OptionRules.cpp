#include "project/OptionRules.h"

#include "project/ImportScript.h"
#include "project/ProjectFiles.h"
#include "project/TranslationWriter.h"
#include "projectdb/DefaultCodePage.h"
#include "projectdb/FileChecks.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Schema.h"
#include "rcscript/AsciiText.h"
#include "rcscript/CodePages.h"
#include "rcscript/Messages.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace qln {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kScriptExtensions[] = {".rc"};
constexpr std::size_t kMaxPiece = 21;
constexpr std::size_t kMaxExtension = 3;
constexpr std::string_view kSourceFontSetting = "SOURCE_FONT";

bool IsSeparator(char c) { return c == ' ' || c == ','; }

// The pieces of a list split at runs of blanks and commas.
std::vector<std::string> Pieces(std::string_view text)
{
    std::vector<std::string> pieces;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i]))
            ++i;
        std::size_t start = i;
        while (i < text.size() && !IsSeparator(text[i]))
            ++i;
        if (i > start)
            pieces.emplace_back(text.substr(start, std::min(i - start, kMaxPiece)));
    }
    return pieces;
}

std::set<std::string> ExtensionSet(std::string_view text)
{
    std::set<std::string> set;
    for (const std::string& piece : SplitIncludeExtensions(text))
        set.insert(ToUpperAscii(piece));
    return set;
}

// The WHERE condition that picks one translation in either database format.
struct TranslationRow {
    bool langId;
    LanguagePair language;
    std::string where() const
    {
        return langId ? " WHERE Lang_Id = :LangId" : " WHERE Language = :Lang AND SubLanguage = :SubLang";
    }
    void bind(sql::Statement& st) const
    {
        if (langId)
            st.bind(":LangId", LangIdOf(language.primary, language.sub));
        else
            st.bind(":Lang", language.primary).bind(":SubLang", language.sub);
    }
};

}  // namespace

// --- Include-file extensions ---------------------------------------------------------

std::span<const std::string_view> ScriptExtensions() { return kScriptExtensions; }

IncludeListCheck CheckIncludeExtensions(std::string_view typed)
{
    std::string text = ToLowerAscii(typed);
    text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size() : text.find_first_not_of(' '));
    IncludeListCheck check;
    if (text.empty())
        return check;
    const bool allowed = std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || IsSeparator(c);
    });
    if (!allowed) {
        check.ok = false;
        check.message = msg::Format(msg::IncludeExtensionsBadCharacters, {text});
        return check;
    }
    for (const std::string& piece : Pieces(text)) {
        const bool script = std::any_of(kScriptExtensions, std::end(kScriptExtensions),
                                        [&](std::string_view ext) { return EqualsNoCase("." + piece, ext); });
        if (piece.size() > kMaxExtension || script) {
            check.ok = false;
            check.message = msg::Format(msg::IncludeExtensionRefused, {piece});
            return check;
        }
    }
    return check;
}

std::string NormaliseIncludeExtensions(std::string_view text)
{
    std::vector<std::string> seen;
    for (const std::string& piece : Pieces(text)) {
        std::string upper = ToUpperAscii(piece);
        if (std::find(seen.begin(), seen.end(), upper) == seen.end())
            seen.push_back(std::move(upper));
    }
    return msg::JoinLines(seen, ", ");
}

bool SameIncludeExtensions(std::string_view a, std::string_view b) { return ExtensionSet(a) == ExtensionSet(b); }

std::optional<std::string> StoredIncludeExtensions(CProjectDatabase& project)
{
    if (!project.UsesLangId())
        return std::nullopt;
    const std::optional<SettingValue> setting = project.GetSetting("RES_INCLUDES", 0, 0);
    if (!setting || !setting->text)
        return std::nullopt;
    return setting->text;
}

IncludeListChange ApplyIncludeExtensions(CProjectDatabase& project, std::string_view text, std::string_view previous)
{
    IncludeListChange change;
    change.stored = NormaliseIncludeExtensions(text);
    if (change.stored == previous)
        return change;
    if (project.UsesLangId())
        project.SetSetting("RES_INCLUDES", 0, 0, change.stored, std::nullopt);
    else
        change.inSettingsFile = true;
    if (!SameIncludeExtensions(change.stored, previous)) {
        project.SetStatus(kStatusUpdateNeeded);
        change.outOfDate = true;
    }
    return change;
}

// --- Translation script names --------------------------------------------------------

fs::path TranslationFilePath(const fs::path& script, std::string_view name)
{
    std::error_code ec;
    const fs::path dir = fs::absolute(script, ec).parent_path();
    return ResolveTranslationPath(dir, name);
}

std::string StoredTranslationName(const fs::path& script, const fs::path& file)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(file, ec);
    const fs::path scriptDir = fs::absolute(script, ec).parent_path();
    if (SameFile(absolute.parent_path(), scriptDir))
        return absolute.filename().string();
    return absolute.lexically_normal().string();
}

FileNameCheckResult CheckTranslationFileChoice(CProjectDatabase& project, const fs::path& script,
                                               std::string_view candidate, std::optional<LanguagePair> editing)
{
    FileNameCheckResult result;
    const fs::path path = TranslationFilePath(script, candidate);
    std::error_code ec;
    const bool invalid = path.empty() || candidate.find('\0') != std::string_view::npos ||
                         path.filename().empty() || path.filename() == "." || path.filename() == ".." ||
                         !fs::is_directory(path.parent_path(), ec) || fs::is_directory(path, ec);
    if (invalid) {
        result.check = FileNameCheck::Invalid;
        result.message = msg::Format(msg::TranslationFileInvalid, {candidate});
        return result;
    }
    if (std::string refusal = TranslationFileRefusal(project, script, path); !refusal.empty()) {
        result.check = FileNameCheck::IsSourceFile;
        result.message = std::move(refusal);
        return result;
    }
    for (const LanguagePair& other : ListLanguages(project)) {
        if (editing && other.primary == editing->primary && other.sub == editing->sub)
            continue;
        const std::optional<TranslationFile> file = GetTranslationFile(project, other.primary, other.sub);
        if (file && !file->fileName.empty() && SameFile(TranslationFilePath(script, file->fileName), path)) {
            result.check = FileNameCheck::InUse;
            result.message = msg::Format(msg::TranslationFileInUse, {candidate});
            return result;
        }
    }
    if (fs::exists(path, ec)) {
        result.check = FileNameCheck::AskOverwrite;
        result.message = msg::Format(msg::TranslationFileExists, {candidate});
    }
    return result;
}

// --- Languages offered ------------------------------------------------------------------

std::vector<LanguageChoice> NewLanguageChoices(CProjectDatabase& project, const fs::path& script)
{
    std::vector<LanguageChoice> choices;
    for (const LanguageEntry& entry : LanguageTable()) {
        LanguageChoice choice;
        choice.entry = &entry;
        choice.taken = HasLanguageColumn(project, entry.primary, entry.sub);
        choice.defaultCodePage = DefaultTranslationCodePage(script, entry.primary, entry.sub);
        choice.defaultFileName = DefaultTranslationFileName(project, script, entry.primary, entry.sub);
        const CharSetEntry* charSet = FindCharSet(entry.charSet);
        choice.defaultFont = charSet ? std::string(charSet->defaultFont) : std::string();
        choices.push_back(std::move(choice));
    }
    return choices;
}

std::vector<CodePageChoice> CodePageChoices()
{
    std::vector<CodePageChoice> choices;
    for (const CodePageListEntry& entry : CodePageList())
        choices.push_back({entry.number, msg::Format(msg::CodePageDisplay, {entry.name, entry.text})});
    choices.push_back({65001, msg::Format(msg::CodePageDisplay, {msg::EncodingUtf8, "65001"})});
    return choices;
}

// --- Fonts ------------------------------------------------------------------------------

std::optional<FontChoice> GetSourceFont(CProjectDatabase& project)
{
    const std::optional<SettingValue> setting = project.GetSetting(kSourceFontSetting, 0, 0);
    if (!setting || !setting->text)
        return std::nullopt;
    return FontChoice{*setting->text, setting->number ? static_cast<int>(*setting->number) : 1};
}

void SetSourceFont(CProjectDatabase& project, const FontChoice& font)
{
    sql::Transaction transaction(project.db());
    project.SetSetting(kSourceFontSetting, 0, 0, font.name, font.charSet);
    // The source languages of the script show their texts in it too.
    sql::Statement st = project.db().prepare("UPDATE \"Source File Language\" SET FontName = :Font");
    st.bind(":Font", font.name);
    st.run();
    transaction.commit();
}

std::optional<FontChoice> GetTranslationFont(CProjectDatabase& project, LanguagePair language)
{
    const TranslationRow row{project.UsesLangId(), language};
    sql::Statement st = project.db().prepare("SELECT FontName, CharSet FROM Translations" + row.where());
    row.bind(st);
    if (!st.step() || st.isNull(0))
        return std::nullopt;
    return FontChoice{st.columnText(0), st.isNull(1) ? 1 : st.columnInt(1)};
}

bool SetTranslationFont(CProjectDatabase& project, LanguagePair language, const FontChoice& font)
{
    const TranslationRow row{project.UsesLangId(), language};
    sql::Statement st =
        project.db().prepare("UPDATE Translations SET FontName = :Font, CharSet = :CharSet" + row.where());
    st.bind(":Font", font.name).bind(":CharSet", font.charSet);
    row.bind(st);
    st.run();
    return project.db().changes() > 0;
}

// --- Adding and changing translations ---------------------------------------------------

LanguageResult AddTranslation(CProjectDatabase& project, const fs::path& script, const NewTranslationChoice& choice)
{
    const std::string stored = StoredTranslationName(script, TranslationFilePath(script, choice.fileName));
    LanguageResult result =
        NewTranslation(project, choice.language.primary, choice.language.sub, choice.codePage, stored);
    if (result.status != LanguageStatus::Ok)
        return result;
    try {
        if (!choice.font.name.empty())
            SetTranslationFont(project, choice.language, choice.font);
        RecomputeProjectStatus(project);
    } catch (const sql::Error& e) {
        // The translation stands; only its font or the status could not be stored.
        result.errorCode = e.code();
        result.message = DatabaseErrorMessage(e);
    }
    return result;
}

TranslationSettings ReadTranslationSettings(CProjectDatabase& project, LanguagePair language)
{
    TranslationSettings settings;
    settings.codePage = GetCodePage(project, language.primary, language.sub).value_or(0);
    if (auto file = GetTranslationFile(project, language.primary, language.sub))
        settings.fileName = file->fileName;
    if (auto font = GetTranslationFont(project, language))
        settings.font = *font;
    else
        settings.font.charSet = LanguageCharSet(language.primary, language.sub);
    return settings;
}

bool ApplyTranslationSettings(CProjectDatabase& project, const fs::path& script, LanguagePair language,
                              const TranslationSettings& before, const TranslationSettings& after)
{
    sql::Transaction transaction(project.db());
    if (after.codePage != before.codePage)
        SetCodePage(project, language.primary, language.sub, after.codePage);
    bool modified = false;
    if (!EqualsNoCase(after.fileName, before.fileName)) {
        const std::string stored = StoredTranslationName(script, TranslationFilePath(script, after.fileName));
        // A new file has no stamp yet: the next save writes it.
        SetTranslationFile(project, language.primary, language.sub, {stored, FileStamp{}});
        modified = true;
    }
    if (after.font.name != before.font.name || after.font.charSet != before.font.charSet)
        SetTranslationFont(project, language, after.font);
    transaction.commit();
    return modified;
}

}  // namespace qln
