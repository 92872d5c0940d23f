#include "views/EditDynDlgView.h"

#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"
#include "views/EditDialogBar.h"
#include "views/LayoutMarks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace qln {
namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The tracker's handles and the layout rules' handles are listed in the same order.
TrackerHandle RuleHandle(RectTracker::Handle h)
{
    return static_cast<TrackerHandle>(static_cast<int>(h));
}

RectTracker::Handle TrackerHandleOf(TrackerHandle h)
{
    return static_cast<RectTracker::Handle>(static_cast<int>(h));
}

static_assert(static_cast<int>(TrackerHandle::Move) == static_cast<int>(RectTracker::Handle::Move));
static_assert(static_cast<int>(TrackerHandle::BottomLeft) == static_cast<int>(RectTracker::Handle::BottomLeft));

std::vector<RectTracker::Handle> TrackerHandles(const std::vector<TrackerHandle>& handles)
{
    std::vector<RectTracker::Handle> out;
    for (TrackerHandle h : handles)
        out.push_back(TrackerHandleOf(h));
    return out;
}

PixelRect ToPixelRect(const QRect& r)
{
    return {r.left(), r.top(), r.width(), r.height()};
}

}  // namespace

CEditDynDlgView::CEditDynDlgView(CProjectDatabase* project, std::int32_t dialogLine, QWidget* parent)
    : CDynDlgView(project, dialogLine, parent)
{
    warn = [this](const QString& text) { QMessageBox::warning(this, QApplication::applicationDisplayName(), text); };
    ask = [this](const QString& text) {
        return QMessageBox::question(this, QApplication::applicationDisplayName(), text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    };
    beepSound = [] { QApplication::beep(); };
    canvas()->installEventFilter(this);
    canvas()->setMouseTracking(true);
    // Next and Previous Item select through the preview: the edit selection follows.
    connect(this, &CDynDlgView::itemSelected, this, [this](qint32 line) {
        if (!editMode_ || !layout_)
            return;
        const std::optional<std::size_t> i = layout_->findControl(line);
        if (!i) {  // the caption strip: not part of the layout
            if (!layout_->selection().empty()) {
                layout_->clearSelection();
                afterEdit({});
            }
            return;
        }
        if (layout_->selection().size() == 1 && layout_->selection().front() == *i)
            return;
        layout_->select(*i, false);
        afterEdit({});
    });
}

// --- Layout ---------------------------------------------------------------------------

void CEditDynDlgView::ensureLayout()
{
    if (layout_ || !project())
        return;
    try {
        layout_ = DialogLayout::Load(*project(), dialogLine());
    } catch (const sql::Error&) {
        layout_.reset();  // the preview keeps the source layout
    }
}

void CEditDynDlgView::applyLanguageLayout(std::int32_t langId)
{
    ensureLayout();
    if (!layout_ || !project()) {
        CDynDlgView::applyLanguageLayout(langId);
        return;
    }
    try {
        layout_->loadLanguage(*project(), langId);
    } catch (const sql::Error&) {
        layout_->loadLanguage(*project(), 0);
    }
    dragHandle_.reset();
    syncWidgets();
    updateDialogBar();
    emit layoutStateChanged();
}

void CEditDynDlgView::syncWidgets()
{
    if (!layout_)
        return;
    const DialogSize size = layout_->currentSize();
    if (currentSize() != QSize(size.cx, size.cy))
        setDialogSize(size.cx, size.cy);
    for (const LayoutControl& lc : layout_->controls())
        if (CControlWnd* c = controlOfLine(lc.lineIndex); c && !(c->currentRect == lc.current))
            moveControl(*c, lc.current);
    updateCanvas();
}

DialogPixelMapping CEditDynDlgView::mapping() const
{
    DialogPixelMapping m;
    m.units = baseUnits();
    m.captionHeight = captionHeight();
    m.scaleX = scaleX();
    m.scaleY = scaleY();
    return m;  // canvas coordinates: the canvas scrolls, the positions do not
}

// --- Edit mode ------------------------------------------------------------------------

bool CEditDynDlgView::setEditMode(bool on)
{
    if (on == editMode_)
        return editMode_;
    if (on) {
        if (!project() || sourceShown())
            return false;
        if (!LayoutsSupported(*project())) {
            warn(Q(msg::Format(msg::EditObsoleteFormat, {project()->path().string()})));
            return false;
        }
        ensureLayout();
        if (!layout_)
            return false;
        editMode_ = true;
        layout_->clearSelection();
        // The current control stays selected; the caption strip is no part of
        // the layout (and stays the place Next Item goes on from).
        if (CControlWnd* current = selected())
            if (auto i = layout_->findControl(current->line)) {
                layout_->select(*i, false);
                syncSelection();
            }
        canvas()->setFocus(Qt::OtherFocusReason);
    } else {
        editMode_ = false;
        dragHandle_.reset();
        if (layout_)
            layout_->clearSelection();
        setSelection({});
        nextItem();
    }
    for (const auto& c : controls())
        if (c->captionStrip) {
            QPalette palette = c->widget->palette();
            for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                palette.setColor(group, QPalette::Window, captionStripBackground());
            c->widget->setPalette(palette);
        }
    updateDialogBar();
    updateCanvas();
    emit editModeChanged(editMode_);
    emit layoutStateChanged();
    return editMode_;
}

QColor CEditDynDlgView::captionStripBackground() const
{
    return editMode_ ? QColor(128, 128, 128) : CDynDlgView::captionStripBackground();
}

// --- Commands -------------------------------------------------------------------------

bool CEditDynDlgView::canSaveLayout() const
{
    return editActive() && layout_ && layout_->hasPendingChanges();
}

bool CEditDynDlgView::canSetOriginalSize() const
{
    return editActive() && layout_ && layout_->canSetOriginalSize();
}

void CEditDynDlgView::saveLayout()
{
    if (!canSaveLayout() || !project())
        return;
    std::vector<std::string> causes;
    try {
        for (const LayoutRowFailure& failure : layout_->saveLayout(*project()))
            causes.push_back(failure.message);
    } catch (const sql::Error& e) {
        causes.push_back(DatabaseErrorMessage(e));
    }
    afterEdit({true, false});
    if (!causes.empty())
        warn(Q(msg::Format(msg::EditRowsNotSaved, {dialogName(), msg::JoinLines(causes)})));
}

void CEditDynDlgView::undoLayout()
{
    if (!canUndoLayout())
        return;
    layout_->undo();
    afterEdit({true, false});
}

void CEditDynDlgView::setOriginalSize()
{
    if (canSetOriginalSize())
        afterEdit({layout_->setOriginalSize(), false});
}

void CEditDynDlgView::selectAllControls()
{
    if (!editActive())
        return;
    layout_->selectAll();
    syncSelection();
    afterEdit({});
}

bool CEditDynDlgView::confirmLeavingLayout()
{
    if (!layoutChanged())
        return true;
    switch (ask(Q(msg::Format(msg::EditSaveQuestion, {dialogName()})))) {
    case QMessageBox::Cancel: return false;
    case QMessageBox::Yes: {
        // Saving needs edit to be active; the question may come after it ended.
        const bool wasOn = editMode_;
        editMode_ = true;
        saveLayout();
        editMode_ = wasOn;
        return true;
    }
    default:
        layout_->undo();
        afterEdit({true, false});
        return true;
    }
}

bool CEditDynDlgView::switchLanguage(int primary, int sub)
{
    if (language().primary == primary && language().sub == sub)
        return true;
    if (!confirmLeavingLayout())
        return false;
    showLanguage(primary, sub);
    return true;
}

// --- Selection and the bar ----------------------------------------------------------

void CEditDynDlgView::syncSelection()
{
    if (!layout_)
        return;
    std::vector<CControlWnd*> chosen;
    for (std::size_t i : layout_->selection())
        if (CControlWnd* c = controlOfLine(layout_->controls()[i].lineIndex))
            chosen.push_back(c);
    setSelection(chosen);
    if (chosen.size() == 1 && chosen.front()->hasText)
        emit itemSelected(chosen.front()->line);
}

void CEditDynDlgView::setDialogBar(CEditDialogBar* bar)
{
    bar_ = bar;
    updateDialogBar();
}

void CEditDynDlgView::updateDialogBar()
{
    if (!bar_)
        return;
    if (!layout_ || layout_->selection().size() > 1) {
        bar_->clear();
        return;
    }
    DialogUnitRect source, current;
    if (layout_->selection().empty()) {
        source = {0, 0, layout_->sourceSize().cx, layout_->sourceSize().cy};
        current = {0, 0, layout_->currentSize().cx, layout_->currentSize().cy};
    } else {
        const LayoutControl& c = layout_->controls()[layout_->selection().front()];
        source = c.source;
        current = c.current;
    }
    bar_->showValues(source, sourceShown() ? std::nullopt : std::optional<DialogUnitRect>(current));
}

void CEditDynDlgView::afterEdit(const EditOutcome& outcome)
{
    if (outcome.beep)
        beep();
    if (outcome.changed)
        syncWidgets();
    updateDialogBar();
    updateCanvas();
    emit layoutStateChanged();
}

void CEditDynDlgView::beep()
{
    if (beepSound)
        beepSound();
    emit beeped();
}

// --- Mouse ------------------------------------------------------------------------------

QRect CEditDynDlgView::shownRect(std::size_t control) const
{
    const LayoutControl& lc = layout_->controls()[control];
    if (CControlWnd* c = controlOfLine(lc.lineIndex))
        return c->widget->geometry();
    return toPixels(lc.current);
}

std::vector<RectTracker> CEditDynDlgView::trackers() const
{
    std::vector<RectTracker> out;
    if (!layout_)
        return out;
    const std::vector<RectTracker::Handle> handles = TrackerHandles(AvailableHandles(*layout_));
    if (layout_->selection().empty())
        out.emplace_back(dialogPixels(), handles);
    for (std::size_t i : layout_->selection())
        out.emplace_back(shownRect(i), handles);
    return out;
}

std::optional<RectTracker::Handle> CEditDynDlgView::trackerHandleAt(const QPoint& p) const
{
    for (const RectTracker& t : trackers())
        if (auto h = t.handleAt(p))
            return h;
    return std::nullopt;
}

std::optional<std::size_t> CEditDynDlgView::layoutControlAt(const QPoint& p) const
{
    std::vector<PixelRect> rects;
    for (std::size_t i = 0; i < layout_->controls().size(); ++i)
        rects.push_back(ToPixelRect(shownRect(i)));
    return SmallestContaining(rects, {p.x(), p.y()});
}

void CEditDynDlgView::controlPressed(CControlWnd* hit, QMouseEvent* event)
{
    if (!editActive() || !layout_ || event->button() == Qt::RightButton) {
        CDynDlgView::controlPressed(hit, event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const std::optional<std::size_t> under = layoutControlAt(p);
    std::optional<RectTracker::Handle> handle = shift ? std::nullopt : trackerHandleAt(p);
    // A press inside another control selects that one rather than moving the selection.
    if (handle == RectTracker::Handle::Move && under && !layout_->isSelected(*under))
        handle.reset();
    if (!handle) {
        if (under)
            layout_->select(*under, shift);
        else if (!shift)
            layout_->clearSelection();
        syncSelection();
        if (!shift && under)
            handle = trackerHandleAt(p);
    }
    if (handle) {
        dragHandle_ = handle;
        dragAnchor_ = mapping().toDialogUnits({p.x(), p.y()});
    }
    afterEdit({});
}

void CEditDynDlgView::pointerMoved(const QPoint& p)
{
    if (!dragHandle_) {
        const auto h = editActive() ? trackerHandleAt(p) : std::nullopt;
        if (h)
            canvas()->setCursor(RectTracker::cursorFor(*h));
        else
            canvas()->unsetCursor();
        return;
    }
    const DialogUnitPoint pointer = mapping().toDialogUnits({p.x(), p.y()});
    const EditOutcome outcome = Drag(*layout_, RuleHandle(*dragHandle_), dragAnchor_, pointer);
    if (!outcome.beep)
        dragAnchor_ = pointer;
    if (outcome.changed || outcome.beep)
        afterEdit(outcome);
}

bool CEditDynDlgView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == canvas() && layout_) {
        if (event->type() == QEvent::MouseMove)
            pointerMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
        else if (event->type() == QEvent::MouseButtonRelease && dragHandle_)
            dragHandle_.reset();
        else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            updateCanvas();  // the trackers show while the view has the focus
    }
    return CDynDlgView::eventFilter(watched, event);
}

// --- Keys and painting --------------------------------------------------------------------

void CEditDynDlgView::keyPressEvent(QKeyEvent* event)
{
    if (editActive() && layout_) {
        // The editor's own keys while the dialog has the focus.
        if (event->modifiers() == Qt::ControlModifier) {
            switch (event->key()) {
            case Qt::Key_Z: undoLayout(); return;
            case Qt::Key_A: selectAllControls(); return;
            case Qt::Key_R: setOriginalSize(); return;
            default: break;
            }
        }
        const bool size = event->modifiers().testFlag(Qt::ShiftModifier);
        int dx = 0, dy = 0;
        switch (event->key()) {
        case Qt::Key_Left: dx = -1; break;
        case Qt::Key_Right: dx = 1; break;
        case Qt::Key_Up: dy = -1; break;
        case Qt::Key_Down: dy = 1; break;
        default: CDynDlgView::keyPressEvent(event); return;
        }
        afterEdit(size ? Nudge(*layout_, mapping(), 0, 0, dx, dy) : Nudge(*layout_, mapping(), dx, dy, 0, 0));
        return;
    }
    CDynDlgView::keyPressEvent(event);
}

void CEditDynDlgView::paintOverDialog(QPainter& painter)
{
    CDynDlgView::paintOverDialog(painter);
    if (!editMode_ || !layout_)
        return;
    for (std::size_t i = 0; i < layout_->controls().size(); ++i) {
        const LayoutControl& lc = layout_->controls()[i];
        if (lc.differsFromSource())
            PaintLayoutMark(painter, shownRect(i).topLeft() + QPoint(2, 2), lc.modified);
    }
    if (!(layout_->currentSize() == layout_->sourceSize())) {
        const QRect frame = dialogPixels();
        PaintLayoutMark(painter, QPoint(frame.right() - kLayoutMarkSize - 2, frame.top() - captionHeight() + 7),
                        layout_->dialogModified());
    }
    if (!editActive() || !canvas()->hasFocus())
        return;
    const bool several = layout_->selection().size() > 1;
    for (const RectTracker& t : trackers())
        t.paint(painter, several);
}

}  // namespace qln
