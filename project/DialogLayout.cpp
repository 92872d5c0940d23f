#include "project/DialogLayout.h"

#include "projectdb/ProjectDatabase.h"
#include "projectdb/Sql.h"

#include <algorithm>

namespace qln {
namespace {

// The language's own size of a dialog, with its Modified mark.
struct LanguageSizeRow {
    DialogSize size;
    bool modified = false;
};

std::optional<LanguageSizeRow> ReadLanguageSize(sql::Database& db, std::int32_t line, std::int32_t langId)
{
    sql::Statement& st = db.cached("SELECT cx, cy, Modified FROM Dialogs WHERE LineIndex = ?1 AND Lang_Id = ?2");
    st.bind(1, line).bind(2, langId);
    std::optional<LanguageSizeRow> row;
    if (st.step())
        row = LanguageSizeRow{{st.columnInt(0), st.columnInt(1)}, st.columnInt(2) != 0};
    st.reset();
    return row;
}

struct LanguageRectRow {
    DialogUnitRect rect;
    bool modified = false;
};

std::optional<LanguageRectRow> ReadLanguageRect(sql::Database& db, std::int32_t line, std::int32_t langId)
{
    sql::Statement& st =
        db.cached("SELECT x, y, cx, cy, Modified FROM DialogControl WHERE LineIndex = ?1 AND Lang_Id = ?2");
    st.bind(1, line).bind(2, langId);
    std::optional<LanguageRectRow> row;
    if (st.step())
        row = LanguageRectRow{{st.columnInt(0), st.columnInt(1), st.columnInt(2), st.columnInt(3)},
                              st.columnInt(4) != 0};
    st.reset();
    return row;
}

// The dialog row of the language: none when equal to the source, else updated
// or inserted as a copy of the source row.
void WriteDialogRow(sql::Database& db, std::int32_t line, std::int32_t langId, const DialogSize& current,
                    const DialogSize& source)
{
    if (current == source) {
        db.cached("DELETE FROM Dialogs WHERE LineIndex = ?1 AND Lang_Id = ?2").bind(1, line).bind(2, langId).run();
        return;
    }
    db.cached("UPDATE Dialogs SET cx = ?3, cy = ?4, Modified = 0 WHERE LineIndex = ?1 AND Lang_Id = ?2")
        .bind(1, line).bind(2, langId).bind(3, current.cx).bind(4, current.cy)
        .run();
    if (db.changes() > 0)
        return;
    db.cached("INSERT INTO Dialogs (LineIndex, Lang_Id, Name_ID, Flags, cx_prev, cy_prev, cx, cy, Modified) "
              "SELECT LineIndex, ?2, Name_ID, Flags, cx_prev, cy_prev, ?3, ?4, 0 FROM Dialogs "
              "WHERE LineIndex = ?1 AND Lang_Id = 0")
        .bind(1, line).bind(2, langId).bind(3, current.cx).bind(4, current.cy)
        .run();
    if (db.changes() == 0)
        throw sql::Error(1, 1, "The dialog has no source row.");
}

void WriteControlRow(sql::Database& db, std::int32_t langId, const LayoutControl& c)
{
    if (!c.differsFromSource()) {
        db.cached("DELETE FROM DialogControl WHERE LineIndex = ?1 AND Lang_Id = ?2")
            .bind(1, c.lineIndex).bind(2, langId)
            .run();
        return;
    }
    if (SameRect(c.current, c.saved) && !c.modified)
        return;
    const DialogUnitRect& r = c.current;
    db.cached("UPDATE DialogControl SET x = ?3, y = ?4, cx = ?5, cy = ?6, Modified = 0 "
              "WHERE LineIndex = ?1 AND Lang_Id = ?2")
        .bind(1, c.lineIndex).bind(2, langId).bind(3, r.x).bind(4, r.y).bind(5, r.cx).bind(6, r.cy)
        .run();
    if (db.changes() > 0)
        return;
    db.cached("INSERT INTO DialogControl (LineIndex, DlgLine, Lang_Id, Name_ID, Class, Type, Flags, x, y, cx, cy, "
              "x_prev, y_prev, cx_prev, cy_prev, Modified) "
              "SELECT LineIndex, DlgLine, ?2, Name_ID, Class, Type, Flags, ?3, ?4, ?5, ?6, "
              "x_prev, y_prev, cx_prev, cy_prev, 0 FROM DialogControl WHERE LineIndex = ?1 AND Lang_Id = 0")
        .bind(1, c.lineIndex).bind(2, langId).bind(3, r.x).bind(4, r.y).bind(5, r.cx).bind(6, r.cy)
        .run();
    if (db.changes() == 0)
        throw sql::Error(1, 1, "The control has no source row.");
}

// Runs one row's write inside its own savepoint; a failure undoes that row alone.
template <typename Write>
bool WriteRow(sql::Database& db, Write&& write, std::vector<LayoutRowFailure>& failures, std::int32_t line,
              bool dialogRow)
{
    try {
        sql::Transaction row(db);
        write();
        row.commit();
        return true;
    } catch (const sql::Error& e) {
        failures.push_back({line, dialogRow, DatabaseErrorMessage(e)});
        return false;
    }
}

}  // namespace

bool LayoutsSupported(CProjectDatabase& project)
{
    return project.UsesLangId();
}

std::optional<DialogLayout> DialogLayout::Load(CProjectDatabase& project, std::int32_t dialogLine)
{
    DialogLoad load = LoadDialogTemplate(project, dialogLine);
    if (!load.complete)
        throw sql::Error(1, 1, load.error);
    if (!load.dialog)
        return std::nullopt;
    const DialogTemplate& source = *load.dialog;
    DialogLayout layout;
    layout.dialogLine_ = dialogLine;
    layout.ident_ = source.name;
    layout.sourceSize_ = layout.savedSize_ = layout.currentSize_ = {source.cx, source.cy};
    for (const PreviewControl& p : source.controls) {
        LayoutControl c;
        c.lineIndex = p.lineIndex;
        c.ident = p.name;
        c.comboBox = p.window.comboBox;
        c.source = c.saved = c.current = p.rect;
        layout.controls_.push_back(std::move(c));
    }
    return layout;
}

void DialogLayout::loadLanguage(CProjectDatabase& project, std::int32_t langId)
{
    langId_ = LayoutsSupported(project) ? langId : 0;
    layoutChanged_ = false;
    savedSize_ = sourceSize_;
    dialogModified_ = false;
    for (LayoutControl& c : controls_) {
        c.saved = c.source;
        c.modified = false;
    }
    if (langId_ != 0) {
        sql::Database& db = project.db();
        if (auto row = ReadLanguageSize(db, dialogLine_, langId_)) {
            savedSize_ = row->size;
            dialogModified_ = row->modified;
        }
        for (LayoutControl& c : controls_)
            if (auto row = ReadLanguageRect(db, c.lineIndex, langId_)) {
                c.saved = row->rect;
                c.modified = row->modified;
            }
    }
    undo();
}

std::vector<LayoutRowFailure> DialogLayout::saveLayout(CProjectDatabase& project)
{
    std::vector<LayoutRowFailure> failures;
    if (langId_ == 0)
        return failures;
    sql::Database& db = project.db();
    sql::Transaction transaction(db);
    const bool dialogWritten = WriteRow(
        db, [&] { WriteDialogRow(db, dialogLine_, langId_, currentSize_, sourceSize_); }, failures, dialogLine_,
        true);
    std::vector<bool> written(controls_.size());
    for (std::size_t i = 0; i < controls_.size(); ++i)
        written[i] = WriteRow(
            db, [&] { WriteControlRow(db, langId_, controls_[i]); }, failures, controls_[i].lineIndex, false);
    transaction.commit();
    // Only what reached the database counts as saved.
    if (dialogWritten) {
        savedSize_ = currentSize_;
        dialogModified_ = false;
    }
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (written[i]) {
            controls_[i].saved = controls_[i].current;
            controls_[i].modified = false;
        }
    layoutChanged_ = !failures.empty();
    return failures;
}

void DialogLayout::undo()
{
    currentSize_ = savedSize_;
    for (LayoutControl& c : controls_)
        c.current = c.saved;
    layoutChanged_ = false;
}

bool DialogLayout::setOriginalSize()
{
    bool changed = false;
    if (selection_.empty()) {
        changed = currentSize_ != sourceSize_;
        currentSize_ = sourceSize_;
    } else {
        for (std::size_t i : selection_) {
            changed = changed || controls_[i].differsFromSource();
            controls_[i].current = controls_[i].source;
        }
    }
    layoutChanged_ = layoutChanged_ || changed;
    return changed;
}

bool DialogLayout::canSetOriginalSize() const
{
    if (selection_.empty())
        return currentSize_ != sourceSize_;
    return std::any_of(selection_.begin(), selection_.end(),
                       [&](std::size_t i) { return controls_[i].differsFromSource(); });
}

bool DialogLayout::hasPendingChanges() const
{
    return langId_ != 0 &&
           (layoutChanged_ || dialogModified_ ||
            std::any_of(controls_.begin(), controls_.end(), [](const LayoutControl& c) { return c.modified; }));
}

void DialogLayout::selectAll()
{
    selection_.clear();
    for (std::size_t i = 0; i < controls_.size(); ++i)
        selection_.push_back(i);
}

void DialogLayout::select(std::size_t control, bool add)
{
    if (!add)
        selection_.clear();
    if (control < controls_.size() && !isSelected(control))
        selection_.push_back(control);
}

bool DialogLayout::isSelected(std::size_t control) const
{
    return std::find(selection_.begin(), selection_.end(), control) != selection_.end();
}

std::optional<std::size_t> DialogLayout::findControl(std::int32_t lineIndex) const
{
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i].lineIndex == lineIndex)
            return i;
    return std::nullopt;
}

void DialogLayout::setCurrentRect(std::size_t control, const DialogUnitRect& rect)
{
    if (SameRect(controls_[control].current, rect))
        return;
    controls_[control].current = rect;
    layoutChanged_ = true;
}

void DialogLayout::setCurrentSize(const DialogSize& size)
{
    if (currentSize_ == size)
        return;
    currentSize_ = size;
    layoutChanged_ = true;
}

}  // namespace qln
