#include "project/Bookmarks.h"

#include "projectdb/ProjectDatabase.h"
#include "projectdb/Schema.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <algorithm>

namespace qln {

namespace {

// The dialog or the menu holding a text line (or being it); the bitmap text itself.
const QueryText kDialogOfLine{"Bookmark_DialogOfLine",
                              "SELECT DlgLine AS Owner FROM DlgCaption WHERE LineIndex = :LineIndex UNION ALL "
                              "SELECT DlgLine FROM DialogControl WHERE LineIndex = :LineIndex UNION ALL "
                              "SELECT LineIndex FROM Dialogs WHERE LineIndex = :LineIndex",
                              "", ""};
const QueryText kMenuOfLine{"Bookmark_MenuOfLine",
                            "SELECT MenuLine AS Owner FROM MenuItem WHERE LineIndex = :LineIndex UNION ALL "
                            "SELECT LineIndex FROM Menu WHERE LineIndex = :LineIndex",
                            "", ""};
const QueryText kBitmapLine{"Bookmark_BitmapLine", "SELECT LineIndex AS Owner FROM Bitmap WHERE LineIndex = :LineIndex",
                            "", ""};

std::int32_t ResourceLineOf(CProjectDatabase& project, const std::string& window, std::int32_t line)
{
    const QueryText* query = window == kBookmarkDialog ? &kDialogOfLine
                             : window == kBookmarkMenu ? &kMenuOfLine
                             : window == kBookmarkBitmap ? &kBitmapLine
                                                         : nullptr;
    if (!query)
        return -1;
    Recordset rs = project.Open(*query, {{"LineIndex", line}});
    return rs.eof() || rs.isNull("Owner") ? -1 : static_cast<std::int32_t>(rs.getInt64("Owner"));
}

bool HasLanguage(std::optional<LanguagePair> language)
{
    return language && language->primary >= 0 && language->sub >= 0;
}

}  // namespace

std::vector<BookmarkName> ListBookmarks(CProjectDatabase& project)
{
    std::vector<BookmarkName> names;
    for (Recordset rs = project.OpenQuery("Bookmark_ID_and_Name"); !rs.eof(); rs.moveNext())
        names.push_back({rs.getInt64("ID"), rs.getText("Name").value_or("")});
    return names;
}

std::int64_t AddBookmark(CProjectDatabase& project, std::string_view name, std::int32_t lineIndex,
                         std::string_view window, std::optional<LanguagePair> language)
{
    // No language is stored as -1 in either layout.
    if (!HasLanguage(language))
        return project.UsesLangId() ? project.AppendBookmark(lineIndex, name, window, -1, 0)
                                    : project.AppendBookmark(lineIndex, name, window, -1, -1);
    return project.AppendBookmark(lineIndex, name, window, language->primary, language->sub);
}

std::optional<Bookmark> ReadBookmark(CProjectDatabase& project, std::int64_t id)
{
    Recordset rs = project.OpenQuery("Bookmark_By_ID", {{"ID", id}});
    if (rs.eof())
        return std::nullopt;
    Bookmark b;
    b.id = rs.getInt64("ID");
    b.name = rs.getText("Name").value_or("");
    b.lineIndex = static_cast<std::int32_t>(rs.getInt64("LineIndex"));
    b.window = rs.getText("Window").value_or("");
    if (rs.hasField("Lang_Id")) {
        const std::int64_t langId = rs.getInt64("Lang_Id");
        if (!rs.isNull("Lang_Id") && langId >= 0)
            b.language = LanguagePair{static_cast<int>(langId & 0x3FF), static_cast<int>(langId >> 10)};
    } else if (!rs.isNull("Language") && rs.getInt("Language") >= 0) {
        b.language = LanguagePair{rs.getInt("Language"), rs.getInt("SubLanguage")};
    }
    return b;
}

bool DeleteBookmark(CProjectDatabase& project, std::int64_t id)
{
    Recordset rs = project.OpenQuery("Bookmark_By_ID", {{"ID", id}});
    if (rs.eof())
        return false;
    rs.remove();
    return true;
}

BookmarkTarget ResolveBookmark(CProjectDatabase& project, const Bookmark& bookmark)
{
    BookmarkTarget target;
    target.window = bookmark.window;
    target.lineIndex = bookmark.lineIndex;
    target.language = bookmark.language;
    if (bookmark.language) {
        const std::vector<LanguagePair> languages = ListLanguages(project);
        const bool present = std::any_of(languages.begin(), languages.end(), [&](const LanguagePair& l) {
            return l.primary == bookmark.language->primary && l.sub == bookmark.language->sub;
        });
        if (!present) {
            target.status = BookmarkTarget::Status::MissingTranslation;
            const auto name = LanguageDisplayName(bookmark.language->primary, bookmark.language->sub);
            const std::string shown = name ? std::string(*name)
                                           : std::to_string(LangIdOf(bookmark.language->primary,
                                                                     bookmark.language->sub));
            target.message = msg::Format(msg::BookmarkMissingTranslation, {shown});
            return target;
        }
    }
    // A bookmark without a known view leads to the text table.
    if (target.window != kBookmarkDialog && target.window != kBookmarkMenu && target.window != kBookmarkBitmap)
        target.window = std::string(kBookmarkText);
    target.resourceLine = ResourceLineOf(project, target.window, target.lineIndex);
    return target;
}

}  // namespace qln
