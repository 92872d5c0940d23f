#include "views/TextFinder.h"

#include "views/TextListView.h"
#include "views/TextTableModel.h"
#include "views/TranslationBar.h"

#include "rcscript/Messages.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QUndoStack>

namespace qln {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The UTF-16 position in the bar's edit of a byte offset in the display text.
int EditPosition(const std::string& display, int offset)
{
    return static_cast<int>(QString::fromUtf8(display.data(), offset).size());
}

// The menu text of a command without its mnemonic.
QString Plain(std::string_view text)
{
    return Q(text).remove(QLatin1Char('&'));
}

}  // namespace

CTextFinder* CTextFinder::of(CTextListView* view)
{
    if (auto* finder = view->findChild<CTextFinder*>(QString(), Qt::FindDirectChildrenOnly))
        return finder;
    return new CTextFinder(view);
}

CTextFinder::CTextFinder(CTextListView* view) : QObject(view), view_(view) {}

void CTextFinder::adopt(const FindRequest& request, bool replacing)
{
    const std::vector<int> columns =
        replacing ? SearchColumns(false, request.languageIndices, false)
                  : SearchColumns(request.sourceChosen, request.languageIndices, request.changedItems);
    const bool changedItems = !replacing && request.changedItems;
    const bool same = columns == state_.columns && request.text == state_.text &&
                      changedItems == state_.changedItems && request.options.wholeWord == state_.options.wholeWord &&
                      request.options.matchCase == state_.options.matchCase;
    if (!same) {
        state_.position = {};
        state_.replaceOffset = 0;
        state_.pendingHit = {};
    }
    state_.columns = columns;
    state_.text = request.text;
    state_.changedItems = changedItems;
    state_.options = request.options;
}

void CTextFinder::notFound(std::string_view pattern)
{
    emit message(Q(msg::Format(msg::NoMatchesFound, {pattern})));
}

int CTextFinder::markAll(const FindRequest& request)
{
    adopt(request, false);
    if (!view_ || state_.columns.empty())
        return 0;  // nothing to search in (changed items with only the source chosen)
    CTextTableModel& model = *view_->textModel();
    model.clearMarks();
    std::vector<CellPos> cells;
    if (state_.changedItems) {
        cells = MarkAllChanged(model.table(), state_.columns);
    } else {
        TextMatcher matcher(state_.text, state_.options);
        cells = MarkAllText(model.table(), state_.columns, matcher);
    }
    std::vector<std::pair<int, int>> marks;
    marks.reserve(cells.size());
    for (const CellPos& cell : cells)
        marks.emplace_back(cell.row, cell.column);
    model.markCells(marks);
    view_->viewport()->update();
    if (cells.empty()) {
        if (state_.changedItems) {
            emit message(Q(msg::NoChangedSourceFound));
        } else {
            const std::string pattern = state_.text;
            state_.text.clear();
            notFound(pattern);
        }
    }
    view_->setFocus();
    return static_cast<int>(cells.size());
}

bool CTextFinder::findNext(const FindRequest& request)
{
    adopt(request, false);
    if (state_.columns.empty())
        return false;
    return runFindNext();
}

bool CTextFinder::findNextAgain()
{
    if (!state_.canFindNext())
        return false;
    return runFindNext();
}

bool CTextFinder::runFindNext()
{
    if (!view_)
        return false;
    const TextTable& table = view_->textModel()->table();
    const int fromRow = view_->selectedRowIndex();
    std::optional<CellPos> hit;
    if (state_.changedItems) {
        hit = FindNextChanged(table, state_.columns, state_.position, fromRow);
    } else {
        TextMatcher matcher(state_.text, state_.options);
        hit = FindNextText(table, state_.columns, matcher, state_.position, fromRow);
    }
    if (!hit) {
        if (state_.changedItems)
            emit message(Q(msg::NoChangedSourceFound));
        else
            notFound(state_.text);
        return false;
    }
    state_.position = *hit;
    select(*hit);
    view_->setFocus();
    return true;
}

void CTextFinder::removeMarks()
{
    if (!view_)
        return;
    view_->clearMarks();
    view_->viewport()->update();
}

void CTextFinder::select(CellPos cell)
{
    if (cell.column < CTextTableModel::FirstLangColumn) {
        view_->selectLanguage(-1, -1);
    } else if (const auto language = view_->languageOfColumn(cell.column)) {
        view_->selectLanguage(language->primary, language->sub);
    }
    view_->selectRow(cell.row, false);
}

bool CTextFinder::selectHitInBar(const ReplaceHit& hit, CTranslationBar& bar)
{
    const TextTableRow* row = view_->textModel()->row(hit.cell.row);
    const auto language = view_->languageOfColumn(hit.cell.column);
    if (!row || !language)
        return false;
    if (bar.view() != view_)
        bar.attachView(view_);
    const TextItem& shown = bar.item();
    if (!bar.isActive() || shown.lineIndex != row->lineIndex || shown.primary != language->primary ||
        shown.sub != language->sub)
        return false;
    const std::string display = CellDisplayText(*row, hit.cell.column);
    QPlainTextEdit* edit = bar.translationEdit();
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(EditPosition(display, hit.hit.offset));
    cursor.setPosition(EditPosition(display, hit.hit.offset + hit.hit.length), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    return true;
}

bool CTextFinder::pendingInBar(CTranslationBar& bar) const
{
    if (!state_.pendingHit || !view_ || bar.view() != view_)
        return false;
    const TextTableRow* row = view_->textModel()->row(state_.position.row);
    const auto language = view_->languageOfColumn(state_.position.column);
    const TextItem& shown = bar.item();
    if (!row || !language || !bar.isActive() || shown.lineIndex != row->lineIndex ||
        shown.primary != language->primary || shown.sub != language->sub)
        return false;
    const std::string display = CellDisplayText(*row, state_.position.column);
    const QTextCursor cursor = bar.translationEdit()->textCursor();
    return cursor.selectionStart() == EditPosition(display, state_.pendingHit.offset) &&
           cursor.selectionEnd() == EditPosition(display, state_.pendingHit.offset + state_.pendingHit.length);
}

bool CTextFinder::replaceFindNext(const FindRequest& request, CTranslationBar& bar)
{
    adopt(request, true);
    state_.pendingHit = {};
    if (!view_ || state_.columns.empty() || state_.text.empty())
        return false;
    const TextTable& table = view_->textModel()->table();
    // The walk goes on from the last hit while its row is still selected.
    CellPos from = state_.position;
    int offset = state_.replaceOffset;
    const int selected = view_->selectedRowIndex();
    if (from.row < 0 || (selected >= 0 && selected != from.row)) {
        from = {selected < 0 ? 0 : selected, -1};
        offset = 0;
    }
    TextMatcher matcher(state_.text, state_.options);
    const std::optional<ReplaceHit> hit = FindNextReplaceHit(table, state_.columns, matcher, from, offset);
    if (!hit) {
        emit message(Q(msg::Format(msg::ReplaceNotFound, {state_.text})));
        return false;
    }
    select(hit->cell);
    state_.position = hit->cell;
    state_.replaceOffset = hit->hit.offset + hit->hit.length;
    if (!selectHitInBar(*hit, bar))
        return false;
    state_.pendingHit = hit->hit;
    return true;
}

bool CTextFinder::replace(const FindRequest& request, const std::string& replacement, CTranslationBar& bar)
{
    adopt(request, true);
    // A hit whose selection the user changed in the bar is searched again
    // from its start (from the selected row when another row was chosen).
    if (!pendingInBar(bar)) {
        if (state_.pendingHit)
            state_.replaceOffset = state_.pendingHit.offset;
        if (!replaceFindNext(request, bar))
            return false;
    }
    const TextHit hit = state_.pendingHit;
    QPlainTextEdit* edit = bar.translationEdit();
    QTextCursor cursor = edit->textCursor();
    if (!cursor.hasSelection())
        return false;
    cursor.insertText(Q(replacement));
    edit->setTextCursor(cursor);
    state_.pendingHit = {};
    if (!bar.store())
        return false;
    state_.replaceOffset = hit.offset + static_cast<int>(replacement.size());
    replaceFindNext(request, bar);
    return true;
}

int CTextFinder::replaceAll(const FindRequest& request, const std::string& replacement, CTranslationBar& bar)
{
    adopt(request, true);
    state_.pendingHit = {};
    if (!view_ || state_.columns.empty() || state_.text.empty())
        return 0;
    CTextTableModel& model = *view_->textModel();
    TextMatcher matcher(state_.text, state_.options);
    // One undo step for all of it, opened with the first store.
    QUndoStack* undo = view_->undoStack();
    bool macro = false;
    int total = 0;
    // Every cell once; the replacement text is never searched again.
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int column : state_.columns) {
            const TextTableRow& row = *model.row(r);
            if (!CellReplaceable(row, column))
                continue;
            int count = 0;
            const std::string replaced =
                ReplaceAllInText(CellDisplayText(row, column), matcher, replacement, count);
            if (count == 0)
                continue;
            select({r, column});
            if (!selectHitInBar({{r, column}, {0, 0}}, bar))
                continue;
            if (undo && !macro) {
                undo->beginMacro(Plain(msg::ReplaceAllButton));
                macro = true;
            }
            QPlainTextEdit* edit = bar.translationEdit();
            QTextCursor cursor = edit->textCursor();
            cursor.select(QTextCursor::Document);
            cursor.insertText(Q(replaced));
            if (bar.store()) {
                total += count;
                state_.position = {r, column};
            }
        }
    }
    if (macro)
        undo->endMacro();
    state_.replaceOffset = 0;
    if (total == 0)
        emit message(Q(msg::Format(msg::ReplaceNotFound, {state_.text})));
    else
        emit message(Q(msg::Format(msg::ReplacedTimes, {state_.text, std::to_string(total)})));
    return total;
}

}  // namespace qln
