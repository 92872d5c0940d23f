#pragma once
// CEditDynDlgView: the dialog preview with an edit mode, in which the
// translator selects controls and moves or resizes them with the mouse or
// the keyboard, and saves the result as the shown language's layout. The
// rules (what a nudge or a drag does, what saving writes) are the core's
// DialogLayout and LayoutEditing; this view shows them and forwards input.

#include "project/DialogLayout.h"
#include "project/LayoutEditing.h"
#include "toolkit/RectTracker.h"
#include "views/DynDlgView.h"

#include <QMessageBox>
#include <QPointer>

#include <functional>
#include <optional>

namespace qln {

class CEditDialogBar;

class CEditDynDlgView : public CDynDlgView {
    Q_OBJECT
public:
    CEditDynDlgView(CProjectDatabase* project, std::int32_t dialogLine, QWidget* parent = nullptr);

    // --- Edit mode --------------------------------------------------------------------
    bool editMode() const { return editMode_; }
    // Edit mode on and a language (not the source) shown.
    bool editActive() const { return editMode_ && !sourceShown(); }
    // Turns edit mode on or off; turning it on is refused (with a message)
    // for a database older than format 8. Gives the mode now.
    bool setEditMode(bool on);
    bool canToggleEditMode() const { return editMode_ || !sourceShown(); }

    // --- Commands -----------------------------------------------------------------------
    bool canSaveLayout() const;
    bool canUndoLayout() const { return canSaveLayout(); }
    bool canSetOriginalSize() const;
    // Writes the language's layout; rows that fail are reported and stay unsaved.
    void saveLayout();
    void undoLayout();
    void setOriginalSize();
    void selectAllControls();
    // Unsaved changes: asks whether to save them. False when the user cancels.
    bool confirmLeavingLayout();
    // Switches the language after the save question; false when cancelled.
    bool switchLanguage(int primary, int sub);

    bool layoutChanged() const { return layout_ && layout_->layoutChanged(); }
    const DialogLayout* layout() const { return layout_ ? &*layout_ : nullptr; }
    DialogPixelMapping mapping() const;
    // The "Pos. & Size" bar this view fills while it is the active editor.
    void setDialogBar(CEditDialogBar* bar);
    void updateDialogBar();

    // How messages and questions reach the user (tests answer them).
    std::function<void(const QString&)> warn;
    std::function<QMessageBox::StandardButton(const QString&)> ask;
    std::function<void()> beepSound;

signals:
    void editModeChanged(bool on);
    // Unsaved changes appeared or went (title " *"), or the selection or sizes changed.
    void layoutStateChanged();
    // A refused change (the system beeps as well).
    void beeped();

protected:
    void controlPressed(CControlWnd* hit, QMouseEvent* event) override;
    void paintOverDialog(QPainter& painter) override;
    void applyLanguageLayout(std::int32_t langId) override;
    QColor captionStripBackground() const override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void beep();
    void ensureLayout();
    // Puts every control and the dialog where the layout says.
    void syncWidgets();
    void syncSelection();
    void afterEdit(const EditOutcome& outcome);
    std::vector<RectTracker> trackers() const;
    std::optional<RectTracker::Handle> trackerHandleAt(const QPoint& canvasPoint) const;
    std::optional<std::size_t> layoutControlAt(const QPoint& canvasPoint) const;
    QRect shownRect(std::size_t control) const;
    void pointerMoved(const QPoint& canvasPoint);

    std::optional<DialogLayout> layout_;
    bool editMode_ = false;
    QPointer<CEditDialogBar> bar_;
    // The handle held with the mouse and the anchor in dialog units.
    std::optional<RectTracker::Handle> dragHandle_;
    DialogUnitPoint dragAnchor_;
};

}  // namespace qln
