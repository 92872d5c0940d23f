#pragma once
// The layout of one dialog in one language, as the layout editor changes it:
// for the dialog and for each of its controls the source rectangle (the
// source row, Lang_Id 0), the saved one (the language's row as loaded or last
// saved, the source row where the language has none) and the current one (as
// shown and edited), with the language row's Modified mark. Saving writes
// the language's Dialogs and DialogControl rows; the source rows are never
// changed. Layouts belong to databases of format 8 or later only.

#include "project/DialogPreview.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qln {

class CProjectDatabase;

inline bool SameRect(const DialogUnitRect& a, const DialogUnitRect& b)
{
    return a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy;
}

struct DialogSize {
    int cx = 0, cy = 0;
    bool operator==(const DialogSize&) const = default;
};

struct LayoutControl {
    std::int32_t lineIndex = -1;  // the control's line, key of its rows
    std::string ident;            // Name_ID
    bool comboBox = false;        // its height is the dropped-down height: never edited
    DialogUnitRect source, saved, current;
    bool modified = false;        // the language row's Modified mark

    bool differsFromSource() const { return !SameRect(current, source); }
};

// One row that could not be written, with the engine's message.
struct LayoutRowFailure {
    std::int32_t lineIndex = -1;
    bool dialogRow = false;
    std::string message;
};

// Layouts can be loaded, edited and saved: the database is of format 8 or later.
bool LayoutsSupported(CProjectDatabase& project);

class DialogLayout {
public:
    // The source layout of the dialog whose header is at `dialogLine`, with
    // its controls in script order. Nothing when the line is no dialog.
    // Throws sql::Error.
    static std::optional<DialogLayout> Load(CProjectDatabase& project, std::int32_t dialogLine);

    // Loads the layout of a language identifier (sub << 10 | primary); 0, or
    // a database older than format 8, is the source layout. Saved and current
    // become the rows read; unsaved changes are dropped. Throws sql::Error.
    void loadLanguage(CProjectDatabase& project, std::int32_t langId);

    // Writes the language's rows: a dialog or control equal to its source
    // loses its row; one that differs from its saved layout or carries a
    // Modified mark gets its row updated (or inserted, copied from the source
    // row) with Modified 0. All in one transaction; a row that fails is left
    // as it was (its changes stay unsaved) and the others are still written.
    // Nothing is written for the source layout. Throws sql::Error when the
    // transaction itself cannot begin or commit.
    std::vector<LayoutRowFailure> saveLayout(CProjectDatabase& project);

    // Current := saved for the dialog and every control.
    void undo();
    // Current := source for the selected controls, or the dialog size when
    // nothing is selected; true when something changed.
    bool setOriginalSize();
    bool canSetOriginalSize() const;
    // Unsaved changes, or a Modified mark that a save would clear.
    bool hasPendingChanges() const;

    void selectAll();
    void clearSelection() { selection_.clear(); }
    // Selects one control, or adds it to the selection (a control already
    // selected stays once).
    void select(std::size_t control, bool add);
    bool isSelected(std::size_t control) const;
    const std::vector<std::size_t>& selection() const { return selection_; }

    std::int32_t dialogLine() const { return dialogLine_; }
    const std::string& ident() const { return ident_; }
    std::int32_t langId() const { return langId_; }
    const DialogSize& sourceSize() const { return sourceSize_; }
    const DialogSize& savedSize() const { return savedSize_; }
    const DialogSize& currentSize() const { return currentSize_; }
    bool dialogModified() const { return dialogModified_; }
    bool layoutChanged() const { return layoutChanged_; }
    const std::vector<LayoutControl>& controls() const { return controls_; }
    std::optional<std::size_t> findControl(std::int32_t lineIndex) const;

    // Edits (the rules that allow them are in LayoutEditing.h).
    void setCurrentRect(std::size_t control, const DialogUnitRect& rect);
    void setCurrentSize(const DialogSize& size);

private:
    std::int32_t dialogLine_ = -1;
    std::string ident_;
    std::int32_t langId_ = 0;
    DialogSize sourceSize_, savedSize_, currentSize_;
    bool dialogModified_ = false;
    bool layoutChanged_ = false;
    std::vector<LayoutControl> controls_;
    std::vector<std::size_t> selection_;
};

}  // namespace qln
