#pragma once
// Writing translated resource scripts: for one translation language the whole
// script is regenerated from the project database (never from the source
// script), line by line in script order, with every text replaced by its
// translation, the LANGUAGE and #pragma code_page statements set for the
// language, the language's dialog layouts put in, and a comment header and
// footer. Lines end with CR LF.
//
// Encoding: the language's code page decides (1200 = UTF-16LE with byte-order
// mark, 65001 = UTF-8, any other its Windows code page). A text the code page
// cannot hold stops the write for that language. A script is written to a
// temporary file beside its target and renamed over it only when complete,
// so a failed write leaves the previous script untouched.

#include "projectdb/FileStamp.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;

class Progress;

// What a write reports to; batch mode passes nothing.
struct WriteOptions {
    Progress* progress = nullptr;  // lines read out of all lines, every fifth line; status texts
    std::function<void()> beep;    // a language without file name
};

enum class WriteStatus {
    Written,
    NotWritable,      // no readable format version, no such translation column
    BadPath,          // the path cannot name a file here
    FileError,        // creating, writing or renaming failed (see fileCause)
    Unrepresentable,  // a text the code page cannot hold
    DatabaseError,    // reading the rows failed
    ProjectFile,      // the output is a file the project reads: refused, nothing written
};

struct WriteResult {
    WriteStatus status = WriteStatus::NotWritable;
    int fileCause = 0;           // FileErrorCause for FileError
    std::string message;         // text to show; empty when written
    std::filesystem::path path;  // the file written or meant
    int lines = 0;               // physical lines written

    // 1 when written, else 0.
    int Code() const { return status == WriteStatus::Written ? 1 : 0; }
};

// Writes the translated script of one language to `output`. `source` is named
// in the header; it and every other file the project reads (its includes, the
// database) are refused as the output.
WriteResult WriteTranslatedScript(const std::filesystem::path& output, const std::filesystem::path& source,
                                  CProjectDatabase& project, int primary, int sub, const WriteOptions& options = {});

struct TranslationsWriteResult {
    int written = 0;
    std::vector<WriteResult> results;  // one per language, in the project's order

    bool AnyWritten() const { return written > 0; }
};

// Writes one script per translation of the project. A language without a file
// name gets the default name (stored with the language from then on); names
// are relative to the source script's directory unless absolute. In the
// current format the written file's stamp is stored with the language.
TranslationsWriteResult WriteTranslations(CProjectDatabase& project, const std::filesystem::path& source,
                                          const WriteOptions& options = {});

// The writer's last step: stores the name of a translation's written script
// and, read from the file `written`, its stamp, which tells later whether the
// file was changed outside. Only the current database format keeps stamps;
// false for older formats (nothing is stored) and for a language the project
// has no translation for.
bool RecordTranslationFile(CProjectDatabase& project, int primary, int sub, const std::string& name,
                           const std::filesystem::path& written);

// The default file name of a translation: the source name with the language's
// identifier string before the extension (demo.rc -> demo_0407.rc), made
// unique among the project's translation files and the source by a counter
// (demo_0407_2.rc).
std::string DefaultTranslationFileName(CProjectDatabase& project, const std::filesystem::path& source, int primary,
                                       int sub);

// The file a stored translation file name means: backslashes are separators,
// an absolute name is used as it is, any other is relative to `sourceDir`.
// Empty for a name that cannot be a file here (empty, a drive letter).
std::filesystem::path ResolveTranslationPath(const std::filesystem::path& sourceDir, std::string_view name);

// The file error causes of writing, with their texts. 3 (bad path) has a
// message of its own.
namespace filecause {
inline constexpr int None = 0, Generic = 1, FileNotFound = 2, BadPath = 3, TooManyOpenFiles = 4,
                     AccessDenied = 5, InvalidFile = 6, RemoveCurrentDir = 7, DirectoryFull = 8, BadSeek = 9,
                     HardIo = 10, SharingViolation = 11, LockViolation = 12, DiskFull = 13, EndOfFile = 14;
}
int FileErrorCause(int errnoValue);
std::string_view FileErrorText(int cause);

// The LANGUAGE statement written for a language: symbols of the language
// table, or the numbers in hexadecimal when the table does not list it.
std::string LanguageStatement(int primary, int sub);

// The code page a translation is written in: the one stored with it, else
// the language's default.
int TranslationCodePage(CProjectDatabase& project, int primary, int sub);

}  // namespace qln
