// Finding and replacing texts in the text table's rows, and bookmarks in a
// real project database.

#include "build_support.h"
#include "import_support.h"

#include "project/Bookmarks.h"
#include "project/TextSearch.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "projectdb/version7_project.h"

#include <gtest/gtest.h>

#include <map>

namespace qln {
namespace {

int Hit(std::string_view text, std::string_view pattern, bool wholeWord, bool matchCase, int start = 0)
{
    return MatchCell(text, pattern, wholeWord, matchCase, start).offset;
}

TEST(TextSearch, WholeWordsAndCase)
{
    // OK inside OKAY is no word; next to '&' or '.' it is.
    EXPECT_EQ(Hit("OKAY", "OK", true, true), -1);
    EXPECT_EQ(Hit("NOK", "OK", true, true), -1);
    EXPECT_EQ(Hit("&OK", "OK", true, true), 1);
    EXPECT_EQ(Hit("Press OK.", "OK", true, true), 6);
    EXPECT_EQ(Hit("OKAY", "OK", false, true), 0);
    // A later occurrence counts when the first is part of a longer word.
    EXPECT_EQ(Hit("OKAY or OK", "OK", true, true), 8);
    // Without match case, lower case finds capitals and the other way round.
    EXPECT_EQ(Hit("Press OK", "ok", false, false), 6);
    EXPECT_EQ(Hit("Press OK", "ok", false, true), -1);
    EXPECT_EQ(Hit("cancel", "CANCEL", true, false), 0);
    // Letters beyond ASCII: case folded, and letters for whole words.
    const TextHit umlaut = MatchCell("Größe ändern", "ÄNDERN", true, false, 0);
    EXPECT_EQ(umlaut.offset, 8);
    EXPECT_EQ(umlaut.length, 7);
    EXPECT_EQ(Hit("Größe", "Gr", true, true), -1);
    EXPECT_EQ(Hit("Größe", "GRÖ", false, false), 0);
    EXPECT_EQ(MatchCell("Größe", "GRÖ", false, false, 0).length, 4);
    // The start offset must lie inside the text.
    EXPECT_EQ(Hit("OK OK", "OK", false, true, 1), 3);
    EXPECT_EQ(Hit("OK", "OK", false, true, 2), -1);
    EXPECT_EQ(Hit("OK", "OK", false, true, -1), -1);
    EXPECT_EQ(Hit("", "OK", false, false), -1);
    EXPECT_EQ(Hit("OK", "", false, false), -1);
    // A broken UTF-8 byte is no letter.
    EXPECT_EQ(Hit("\xC3OK", "OK", true, false), 1);
    EXPECT_EQ(Hit("\xC3OK", "OK", true, true), 1);
}

TextTableRow Row(std::string source, std::vector<std::string> translations, std::vector<bool> modified = {},
                 bool excluded = false)
{
    TextTableRow row;
    row.category = category::StringtableString;
    row.sourceText = std::move(source);
    row.translations = std::move(translations);
    row.modified = modified.empty() ? std::vector<bool>(row.translations.size(), false) : modified;
    row.excluded = excluded;
    return row;
}

TextTable Table()
{
    TextTable table;
    table.languages = {{7, 1, "German"}, {12, 1, "French"}};
    table.rows.push_back(Row("OK", {"OK", "D'accord"}));                       // 0
    table.rows.push_back(Row("Cancel", {"Abbrechen", "Annuler"}, {true, false}));  // 1
    table.rows.push_back(Row("Say \"\"OK\"\"", {"Sag \"\"OK\"\"", ""}));     // 2
    table.rows.push_back(Row("OKAY", {"OK OK", "ok"}, {}, true));              // 3, excluded
    return table;
}

std::vector<CellPos> Cells(std::initializer_list<CellPos> cells) { return cells; }

TEST(TextSearch, MarkAllAndFindNextOverColumns)
{
    const TextTable table = Table();
    TextMatcher ok("OK", {true, true});
    // Source and German: both cells of a row; quotes compared in display form.
    const std::vector<int> sourceAndGerman = SearchColumns(true, {0}, false);
    EXPECT_EQ(sourceAndGerman, (std::vector<int>{1, 2}));
    EXPECT_EQ(MarkAllText(table, sourceAndGerman, ok), Cells({{0, 1}, {0, 2}, {2, 1}, {2, 2}, {3, 2}}));
    // Display form: a search for one quote finds the doubled quote of the script.
    TextMatcher quote("\"OK\"", {false, true});
    EXPECT_EQ(MarkAllText(table, {1}, quote), Cells({{2, 1}}));
    TextMatcher lower("ok", {false, false});
    EXPECT_EQ(MarkAllText(table, {3}, lower), Cells({{3, 3}}));

    // Find Next: from the selected row, the columns in order, then wrapping.
    EXPECT_EQ(FindNextText(table, sourceAndGerman, ok, {}, 1), (CellPos{2, 1}));
    EXPECT_EQ(FindNextText(table, sourceAndGerman, ok, {2, 1}, 2), (CellPos{2, 2}));
    EXPECT_EQ(FindNextText(table, sourceAndGerman, ok, {3, 2}, 3), (CellPos{0, 1}));
    // The only match is found again from itself.
    TextMatcher cancel("Cancel", {true, false});
    EXPECT_EQ(FindNextText(table, sourceAndGerman, cancel, {1, 1}, 1), (CellPos{1, 1}));
    TextMatcher none("Nothing", {false, false});
    EXPECT_FALSE(FindNextText(table, sourceAndGerman, none, {}, 0));

    // Changed items: the source column is dropped; with only the source chosen
    // there is nothing to search.
    EXPECT_TRUE(SearchColumns(true, {}, true).empty());
    EXPECT_TRUE(MarkAllChanged(table, SearchColumns(true, {}, true)).empty());
    EXPECT_FALSE(FindNextChanged(table, SearchColumns(true, {}, true), {}, 0));
    const std::vector<int> changedColumns = SearchColumns(true, {0, 1}, true);
    EXPECT_EQ(changedColumns, (std::vector<int>{2, 3}));
    EXPECT_EQ(MarkAllChanged(table, changedColumns), Cells({{1, 2}}));
    EXPECT_EQ(FindNextChanged(table, changedColumns, {1, 2}, 1), (CellPos{1, 2}));
}

TEST(TextSearch, ReplaceWalkAndTexts)
{
    const TextTable table = Table();
    TextMatcher ok("OK", {true, true});
    const std::vector<int> german = SearchColumns(false, {0}, false);
    // Row 0, then row 2 (display offset 5 after the quote); the excluded row 3 is skipped.
    auto hit = FindNextReplaceHit(table, german, ok, {-1, -1}, 0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->cell, (CellPos{0, 2}));
    EXPECT_EQ(hit->hit.offset, 0);
    hit = FindNextReplaceHit(table, german, ok, hit->cell, hit->hit.offset + hit->hit.length);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->cell, (CellPos{2, 2}));
    EXPECT_EQ(hit->hit.offset, 5);
    hit = FindNextReplaceHit(table, german, ok, hit->cell, 7);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->cell, (CellPos{0, 2}));  // wrapped

    int count = 0;
    EXPECT_EQ(ReplaceAllInText("OK, OKAY or OK.", ok, "Okay", count), "Okay, OKAY or Okay.");
    EXPECT_EQ(count, 2);
    // A replacement holding the pattern is not searched again.
    EXPECT_EQ(ReplaceAllInText("OK OK", ok, "OK OK", count), "OK OK OK OK");
    EXPECT_EQ(count, 2);
    TextMatcher folded("grösse", {false, false});
    EXPECT_EQ(ReplaceAllInText("Die GRÖSSE", folded, "Weite", count), "Die Weite");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(ReplaceAllInText("nothing", folded, "x", count), "nothing");
    EXPECT_EQ(count, 0);

    std::vector<std::string> recent = {"b", "a"};
    PushRecent(recent, "a", 10);
    EXPECT_EQ(recent, (std::vector<std::string>{"a", "b"}));
}

TEST(Bookmarks, AddListDeleteAndFollowToADeletedLanguage)
{
    test::TempDir dir;
    BuildResult built = test::BuildText(dir, test::kEnglishScript);
    ASSERT_TRUE(built.ok()) << built.message;
    CProjectDatabase& project = *built.database;
    ASSERT_TRUE(AddLanguage(project, 7, 1, 1252));
    std::int32_t line = -1;
    for (const TextTableRow& row : LoadTextTable(project, {}).rows)
        if (row.sourceText == "Two")
            line = row.lineIndex;
    ASSERT_GE(line, 0);

    const std::int64_t german = AddBookmark(project, "Two in German", line, kBookmarkText, LanguagePair{7, 1});
    const std::int64_t source = AddBookmark(project, "", line, kBookmarkMenu, std::nullopt);
    const auto names = ListBookmarks(project);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].name, "Two in German");
    EXPECT_EQ(names[1].name, "");

    const auto read = ReadBookmark(project, german);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->lineIndex, line);
    EXPECT_EQ(read->window, "Text");
    ASSERT_TRUE(read->language);
    EXPECT_EQ(read->language->primary, 7);
    EXPECT_EQ(read->language->sub, 1);
    BookmarkTarget target = ResolveBookmark(project, *read);
    EXPECT_EQ(target.status, BookmarkTarget::Status::Go);
    EXPECT_EQ(target.window, "Text");

    // A source bookmark has no language and always resolves.
    const auto sourceMark = ReadBookmark(project, source);
    ASSERT_TRUE(sourceMark);
    EXPECT_FALSE(sourceMark->language);
    EXPECT_EQ(ResolveBookmark(project, *sourceMark).window, "Menu");

    // The translation is deleted: the bookmark cannot be followed.
    ASSERT_EQ(DeleteLanguage(project, 7, 1).status, LanguageStatus::Ok);
    target = ResolveBookmark(project, *read);
    EXPECT_EQ(target.status, BookmarkTarget::Status::MissingTranslation);
    EXPECT_EQ(target.message,
              "Go to bookmark.\nThere is no \"German\" translation any more. Can not go to bookmark.");

    EXPECT_TRUE(DeleteBookmark(project, german));
    EXPECT_FALSE(DeleteBookmark(project, german));
    EXPECT_FALSE(ReadBookmark(project, german));
    EXPECT_EQ(ListBookmarks(project).size(), 1u);
}

TEST(Bookmarks, ViewBookmarksFindTheirDialogMenuOrBitmap)
{
    test::TempDir dir;
    BuildResult built = test::BuildText(dir, test::kEnglishScript);
    ASSERT_TRUE(built.ok()) << built.message;
    CProjectDatabase& project = *built.database;
    std::map<std::string, const TextTableRow*> rows;
    const TextTable table = LoadTextTable(project, {});
    for (const TextTableRow& row : table.rows)
        rows[row.sourceText] = &row;
    for (const char* text : {"About", "OK", "&Copy", "&Edit", "logo.bmp", "Two"})
        ASSERT_TRUE(rows.count(text)) << text;
    const auto resourceOf = [&](std::string_view window, std::int32_t line) {
        return ResolveBookmark(project, Bookmark{0, "", line, std::string(window), std::nullopt}).resourceLine;
    };
    const std::int32_t dialog = rows["OK"]->resourceLine;
    ASSERT_GE(dialog, 0);
    // The caption and a control lead to their dialog; the dialog's own line to itself.
    EXPECT_EQ(resourceOf(kBookmarkDialog, rows["About"]->lineIndex), dialog);
    EXPECT_EQ(resourceOf(kBookmarkDialog, rows["OK"]->lineIndex), dialog);
    EXPECT_EQ(resourceOf(kBookmarkDialog, dialog), dialog);
    // A nested item and a popup lead to their menu.
    const std::int32_t menu = rows["&Copy"]->resourceLine;
    ASSERT_GE(menu, 0);
    EXPECT_EQ(resourceOf(kBookmarkMenu, rows["&Copy"]->lineIndex), menu);
    EXPECT_EQ(resourceOf(kBookmarkMenu, rows["&Edit"]->lineIndex), menu);
    EXPECT_EQ(resourceOf(kBookmarkBitmap, rows["logo.bmp"]->lineIndex), rows["logo.bmp"]->lineIndex);
    // A line that is none of the view's texts has nothing to open.
    EXPECT_EQ(resourceOf(kBookmarkDialog, rows["&Copy"]->lineIndex), -1);
    EXPECT_EQ(resourceOf(kBookmarkMenu, rows["Two"]->lineIndex), -1);
    EXPECT_EQ(resourceOf(kBookmarkBitmap, rows["OK"]->lineIndex), -1);
    EXPECT_EQ(resourceOf(kBookmarkText, rows["Two"]->lineIndex), -1);
}

TEST(Bookmarks, OlderDatabasesKeepTheLanguageInTwoFields)
{
    test::TempDir dir;
    const auto path = dir / "old.mdb";
    test::MakeVersion7Database(path);
    CProjectDatabase project(path);
    ASSERT_FALSE(project.UsesLangId());
    const auto first = ReadBookmark(project, 1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->name, "first");
    ASSERT_TRUE(first->language);
    EXPECT_EQ(first->language->primary, 7);
    EXPECT_EQ(first->language->sub, 3);
    EXPECT_EQ(ResolveBookmark(project, *first).status, BookmarkTarget::Status::Go);
    const auto source = ReadBookmark(project, AddBookmark(project, "source", 10, kBookmarkText, std::nullopt));
    ASSERT_TRUE(source);
    EXPECT_FALSE(source->language);
    ASSERT_EQ(DeleteLanguage(project, 7, 3).status, LanguageStatus::Ok);
    EXPECT_EQ(ResolveBookmark(project, *first).status, BookmarkTarget::Status::MissingTranslation);
}

}  // namespace
}  // namespace qln
