#pragma once
// Named bookmarks of a project: an item (its LineIndex), the view it was
// made in and the language it was shown in, kept in the Bookmark table.
// Following one checks that its language is still a translation.

#include "projectdb/Languages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;

// The views a bookmark can lead to; stored as their names in Window.
inline constexpr std::string_view kBookmarkText = "Text";
inline constexpr std::string_view kBookmarkDialog = "Dialog";
inline constexpr std::string_view kBookmarkMenu = "Menu";
inline constexpr std::string_view kBookmarkBitmap = "Bitmap";

struct BookmarkName {
    std::int64_t id = 0;
    std::string name;
};

struct Bookmark {
    std::int64_t id = 0;
    std::string name;
    std::int32_t lineIndex = -1;
    std::string window;                   // "Text", "Dialog", "Menu", "Bitmap" or empty
    std::optional<LanguagePair> language; // none: made while the source was shown
};

// Every bookmark (Bookmark_ID_and_Name), in the order they were made. Throws sql::Error.
std::vector<BookmarkName> ListBookmarks(CProjectDatabase& project);
// Stores a new bookmark; a language of (-1, -1) or none stores no language.
// Gives its ID. Throws sql::Error.
std::int64_t AddBookmark(CProjectDatabase& project, std::string_view name, std::int32_t lineIndex,
                         std::string_view window, std::optional<LanguagePair> language);
// Reads one bookmark (Bookmark_By_ID); nothing when it is gone. Throws sql::Error.
std::optional<Bookmark> ReadBookmark(CProjectDatabase& project, std::int64_t id);
// Deletes one; false when there was none. Throws sql::Error.
bool DeleteBookmark(CProjectDatabase& project, std::int64_t id);

// Where following a bookmark leads.
struct BookmarkTarget {
    enum class Status { Go, MissingTranslation };
    Status status = Status::Go;
    std::string window;                   // the view to open; "Text" when the stored one is unknown
    std::int32_t lineIndex = -1;
    // "Dialog" and "Menu": the DIALOG or MENU statement the line belongs to;
    // "Bitmap": the line itself; -1 when the line is not (any more) there.
    std::int32_t resourceLine = -1;
    std::optional<LanguagePair> language; // none: the source text
    std::string message;                  // for MissingTranslation: the message to show
};

// Checks a bookmark against the project: its language must still be one of
// the project's translations. Throws sql::Error.
BookmarkTarget ResolveBookmark(CProjectDatabase& project, const Bookmark& bookmark);

}  // namespace qln
