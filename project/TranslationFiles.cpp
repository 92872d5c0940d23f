// Writing every translation of a project: file names, defaults and stamps.

#include "project/TranslationWriter.h"

#include "project/Progress.h"
#include "projectdb/Languages.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace qln {
namespace {

// The file name part of a stored name, which may use backslashes.
std::string FileNamePart(std::string_view name)
{
    const std::size_t slash = name.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

}  // namespace

std::filesystem::path ResolveTranslationPath(const std::filesystem::path& sourceDir, std::string_view name)
{
    if (name.empty())
        return {};
    // A Windows drive letter names no place on this system.
    if (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0])))
        return {};
    std::string local(name);
    std::replace(local.begin(), local.end(), '\\', '/');
    std::filesystem::path path(local);
    return path.is_absolute() ? path : sourceDir / path;
}

std::string DefaultTranslationFileName(CProjectDatabase& project, const std::filesystem::path& source, int primary,
                                       int sub)
{
    std::set<std::string> taken{ToLowerAscii(source.filename().string())};
    for (const LanguagePair& other : ListLanguages(project)) {
        if (other.primary == primary && other.sub == sub)
            continue;
        if (auto file = GetTranslationFile(project, other.primary, other.sub))
            taken.insert(ToLowerAscii(FileNamePart(file->fileName)));
    }
    const std::string stem = source.stem().string() + "_" + LanguageIdentString(primary, sub);
    const std::string ext = source.extension().string();
    std::string name = stem + ext;
    for (int n = 2; taken.count(ToLowerAscii(name)) != 0; ++n)
        name = stem + "_" + std::to_string(n) + ext;
    return name;
}

bool RecordTranslationFile(CProjectDatabase& project, int primary, int sub, const std::string& name,
                           const std::filesystem::path& written)
{
    const auto version = project.GetFileVersion();
    if (!version || *version <= 7)
        return false;
    const std::optional<FileStamp> stamp = ReadFileStamp(written);
    return SetTranslationFile(project, primary, sub, {name, stamp ? *stamp : FileStamp{}});
}

TranslationsWriteResult WriteTranslations(CProjectDatabase& project, const std::filesystem::path& source,
                                          const WriteOptions& options)
{
    TranslationsWriteResult all;
    const std::filesystem::path sourceDir = source.parent_path();
    std::vector<LanguagePair> languages;
    try {
        languages = ListLanguages(project);
    } catch (const sql::Error& e) {
        WriteResult failed;
        failed.status = WriteStatus::DatabaseError;
        failed.message = DatabaseErrorMessage(e);
        all.results.push_back(std::move(failed));
        return all;
    }
    for (const LanguagePair& language : languages) {
        WriteResult result;
        try {
            auto file = GetTranslationFile(project, language.primary, language.sub);
            std::string name = file ? file->fileName : std::string();
            const bool generated = name.empty();
            if (generated) {
                if (options.beep)
                    options.beep();
                name = DefaultTranslationFileName(project, source, language.primary, language.sub);
            }
            const std::filesystem::path path = ResolveTranslationPath(sourceDir, name);
            if (options.progress)
                options.progress->Status(msg::Format(msg::StatusSaveFile, {name}));
            result = WriteTranslatedScript(path, source, project, language.primary, language.sub, options);
            if (result.status == WriteStatus::Written) {
                ++all.written;
                // A generated name is kept so the file keeps its name.
                if (!RecordTranslationFile(project, language.primary, language.sub, name, path) && generated)
                    SetTranslationFile(project, language.primary, language.sub,
                                       {name, file ? file->stamp : FileStamp{}});
            }
        } catch (const sql::Error& e) {
            result.status = WriteStatus::DatabaseError;
            result.message = DatabaseErrorMessage(e);
        }
        all.results.push_back(std::move(result));
    }
    return all;
}

}  // namespace qln
