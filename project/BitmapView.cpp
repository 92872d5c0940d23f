#include "project/BitmapView.h"

#include "project/TextForms.h"
#include "project/TranslationWriter.h"
#include "projectdb/FileStamp.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"

#include <fstream>

namespace qln {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint16_t kSignature = 0x4D42;  // "BM"
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

const QueryText kBitmapSource{
    "BitmapView_SourceText", "SELECT SourceText FROM ResourceText WHERE LineIndex = :LineIndex", "", ""};

std::string Unquoted(std::string text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

std::uint32_t Read16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return Read16(b, at) | (Read16(b, at + 2) << 16);
}

// The folder relative bitmap names are taken against for the language.
fs::path BitmapFolder(CProjectDatabase& project, int primary, int sub, const fs::path& sourceScript)
{
    const fs::path sourceDir = sourceScript.parent_path();
    if (primary >= 0)
        if (const auto file = GetTranslationFile(project, primary, sub); file && !file->fileName.empty()) {
            const fs::path translated = ResolveTranslationPath(sourceDir, file->fileName);
            if (!translated.empty())
                return translated.parent_path();
        }
    return sourceDir;
}

}  // namespace

std::optional<BitmapChoice> ChooseBitmapFile(CProjectDatabase& project, std::int32_t bitmapLine, int primary,
                                             int sub, const fs::path& sourceScript)
{
    BitmapChoice choice;
    std::string text;
    if (primary < 0) {
        sql::Statement& st = project.Query(kBitmapSource);
        st.bind(":LineIndex", bitmapLine);
        const bool found = st.step();
        if (found)
            text = st.columnText("SourceText");
        st.reset();
        if (!found)
            return std::nullopt;
    } else {
        const auto record = project.GetText(bitmapLine, primary, sub);
        if (!record)
            return std::nullopt;
        const std::string translation = record->translation.value_or("");
        choice.translated = !translation.empty();
        choice.modified = record->notActual;
        text = choice.translated ? translation : record->sourceText.value_or("");
    }
    choice.fileName = Unquoted(ToDisplayForm(text));
    if (choice.fileName.empty())
        return choice;
    const fs::path folder = BitmapFolder(project, primary, sub, sourceScript);
    if (auto found = ResolveScriptReference(folder, choice.fileName)) {
        choice.fullPath = *found;
    } else {
        std::string name = choice.fileName;
        for (char& c : name)
            if (c == '\\')
                c = '/';
        choice.fullPath = folder / name;
    }
    return choice;
}

BitmapLoad LoadBitmapFile(const fs::path& path)
{
    BitmapLoad result;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return result;
    std::error_code ec;
    const auto length = fs::file_size(path, ec);
    if (ec || length < kFileHeaderSize)
        return result;
    BitmapImage image;
    image.file.resize(static_cast<std::size_t>(length));
    in.read(reinterpret_cast<char*>(image.file.data()), static_cast<std::streamsize>(length));
    if (in.gcount() != static_cast<std::streamsize>(length))
        return result;
    if (Read16(image.file, 0) != kSignature)
        return result;
    // The information header follows the file header; its first field is its size.
    if (length < kFileHeaderSize + kCoreHeaderSize)
        return result;
    image.headerSize = Read32(image.file, kFileHeaderSize);
    if (image.headerSize >= kInfoHeaderSize && length >= kFileHeaderSize + kInfoHeaderSize) {
        image.width = static_cast<std::int32_t>(Read32(image.file, kFileHeaderSize + 4));
        image.height = static_cast<std::int32_t>(Read32(image.file, kFileHeaderSize + 8));
    } else if (image.headerSize == kCoreHeaderSize) {
        image.width = static_cast<std::int32_t>(Read16(image.file, kFileHeaderSize + 4));
        image.height = static_cast<std::int32_t>(Read16(image.file, kFileHeaderSize + 6));
    } else {
        return result;  // a header this reader does not know
    }
    if (image.width < 0 || image.height < 0) {
        result.status = BitmapStatus::TooLarge;
        return result;
    }
    result.status = BitmapStatus::Loaded;
    result.image = std::move(image);
    return result;
}

}  // namespace qln
