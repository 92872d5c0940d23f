#pragma once
// Finding texts in the text table's rows: one cell matched against a
// pattern (whole words, with or without regard to case), the walk over
// chosen columns from a position with wrapping, Mark All, the search for
// changed items, and the texts a replacement makes. Cells are searched in
// display form (quotes as the translator reads them), so a hit's offset is
// also its place in the translation bar's edit.

#include "project/TextTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

// Columns of the text table: 1 the source text, 2 + m the m-th language.
inline constexpr int kSearchSourceColumn = 1;
inline constexpr int kSearchFirstLangColumn = 2;

struct FindOptions {
    bool wholeWord = false;
    bool matchCase = true;
};

// A hit inside one cell: byte offset and length in the cell's display text.
struct TextHit {
    int offset = -1;
    int length = 0;
    explicit operator bool() const { return offset >= 0; }
};

// Matches cells against one pattern; keeps its buffers between cells, so a
// search over many cells allocates little.
class TextMatcher {
public:
    TextMatcher(std::string_view pattern, FindOptions options);
    // The first hit at or after `start` (a byte offset); none when the
    // pattern is empty or `start` lies outside the text. With whole words
    // a hit is preceded and followed by the text's ends or by characters
    // that are neither letters nor digits; later occurrences are examined
    // when the first is part of a longer word.
    TextHit match(std::string_view text, int start = 0);
    bool empty() const { return pattern_.empty(); }

private:
    TextHit matchExact(std::string_view text, std::size_t start) const;
    TextHit matchFolded(std::string_view text, std::size_t start);

    std::string pattern_;
    std::u32string foldedPattern_;
    FindOptions options_;
    std::u32string folded_;                 // the cell, upper-cased
    std::vector<std::uint32_t> offsets_;    // byte offset of each of its characters, and the end
};

// One-shot form of TextMatcher::match.
TextHit MatchCell(std::string_view text, std::string_view pattern, bool wholeWord, bool matchCase, int start);

// Upper case of a code point, and whether it is a letter or digit (the
// C.UTF-8 character classes; ASCII rules when that locale is missing).
char32_t UpperCase(char32_t c);
bool IsLetterOrDigit(char32_t c);

// The cell of a row in display form; empty for a column the row lacks.
std::string CellDisplayText(const TextTableRow& row, int column);

struct CellPos {
    int row = -1;
    int column = -1;
    bool operator==(const CellPos&) const = default;
};

// The search columns from the "Where" choice: the source column when the
// source is chosen, then every chosen language column; the source is
// dropped for changed items (source texts are never modified). Sorted.
std::vector<int> SearchColumns(bool sourceChosen, const std::vector<int>& languageIndices, bool changedItems);

// The cell shows a modified text: the row is modified for the column's language.
bool CellChanged(const TextTableRow& row, int column);

// Walks the chosen columns (increasing within a row) row after row from
// `start` (inclusive), wrapping after the last row, and ends before `start`
// again; gives the first cell the test accepts.
template <typename Test>
std::optional<CellPos> WalkCells(const TextTable& table, const std::vector<int>& columns, CellPos start, Test&& test);

// "Find Next": the first matching cell after `after` (row -1: from the
// start of `fromRow`), wrapping; the cell `after` itself comes last.
std::optional<CellPos> FindNextText(const TextTable& table, const std::vector<int>& columns, TextMatcher& matcher,
                                    CellPos after, int fromRow);
std::optional<CellPos> FindNextChanged(const TextTable& table, const std::vector<int>& columns, CellPos after,
                                       int fromRow);
// "Mark All": every matching cell, in table order.
std::vector<CellPos> MarkAllText(const TextTable& table, const std::vector<int>& columns, TextMatcher& matcher);
std::vector<CellPos> MarkAllChanged(const TextTable& table, const std::vector<int>& columns);

// A hit of the replace walk: its cell and its place inside the cell.
struct ReplaceHit {
    CellPos cell;
    TextHit hit;
};

// A cell the translation bar can store a replacement in: a language cell
// of a row that is not excluded, has a source text and is no version block
// header (whose value is a block name, not words).
bool CellReplaceable(const TextTableRow& row, int column);

// The replace walk (over replaceable cells only): from (cell, offset) the next hit inside that cell, then
// in the following cells from their start, wrapping; the start cell's text
// before `offset` is searched last.
std::optional<ReplaceHit> FindNextReplaceHit(const TextTable& table, const std::vector<int>& columns,
                                             TextMatcher& matcher, CellPos cell, int offset);

// The text with every hit from left to right replaced (hits do not overlap
// and the replacement is not searched again); `count` gets the number.
std::string ReplaceAllInText(std::string_view text, TextMatcher& matcher, std::string_view replacement, int& count);

// The search of a project document: what was searched last and where.
struct SearchState {
    std::vector<int> columns;
    std::string text;
    bool changedItems = false;
    FindOptions options;
    CellPos position;          // the last hit; row -1 before the first search
    int replaceOffset = 0;     // where the replace walk goes on inside the cell
    TextHit pendingHit;        // the hit the next "Replace" replaces (offset -1: none)

    bool canFindNext() const { return !columns.empty() && (!text.empty() || changedItems); }
};

// Puts a text at the front of a most-recent-first list (an equal entry is
// removed first) and keeps at most `limit` entries.
void PushRecent(std::vector<std::string>& list, const std::string& text, std::size_t limit);

// --- template --------------------------------------------------------------------------

template <typename Test>
std::optional<CellPos> WalkCells(const TextTable& table, const std::vector<int>& columns, CellPos start, Test&& test)
{
    const int rows = static_cast<int>(table.rows.size());
    if (rows == 0 || columns.empty())
        return std::nullopt;
    const int columnCount = static_cast<int>(columns.size());
    int row = start.row < 0 || start.row >= rows ? 0 : start.row;
    int first = 0;
    while (first < columnCount && columns[static_cast<std::size_t>(first)] < start.column)
        ++first;
    // Every cell once: the rest of the start row, the other rows, then the
    // start row's cells before the start column.
    for (int visited = 0; visited <= rows; ++visited) {
        const TextTableRow& r = table.rows[static_cast<std::size_t>(row)];
        const int from = visited == 0 ? first : 0;
        const int to = visited == rows ? first : columnCount;
        for (int c = from; c < to; ++c) {
            const int column = columns[static_cast<std::size_t>(c)];
            if (test(r, column))
                return CellPos{row, column};
        }
        row = row + 1 == rows ? 0 : row + 1;
    }
    return std::nullopt;
}

}  // namespace qln
