#include "views/ResTreeView.h"

#include "views/ResTreeModel.h"
#include "views/TextListView.h"

#include "rcscript/Messages.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMetaMethod>

namespace qln {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The table's commands after which the tree is built anew.
constexpr TextCommand kFilterCommands[] = {
    TextCommand::FilterDialogs, TextCommand::FilterMenus,    TextCommand::FilterStrings,
    TextCommand::FilterVersions, TextCommand::FilterBitmaps, TextCommand::FilterIncludes,
    TextCommand::FilterExcluded, TextCommand::FilterModifiedOnly,
};

enum class ViewKind { None, Dialog, Menu, Bitmap };

struct ContextEntry {
    ViewKind view;
    std::string_view text;
};

// The context menu's entry by the node's category.
ContextEntry ContextFor(int cat)
{
    switch (cat) {
    case category::Dialog: return {ViewKind::Dialog, msg::ContextViewDialog};
    case category::Menu: return {ViewKind::Menu, msg::ContextViewMenu};
    case category::DialogCaption: return {ViewKind::Dialog, msg::ContextCaptionViewDialog};
    case category::DialogItem: return {ViewKind::Dialog, msg::ContextItemViewDialog};
    case category::MenuItem: return {ViewKind::Menu, msg::ContextMenuItemViewMenu};
    case category::PopupMenu: return {ViewKind::Menu, msg::ContextPopupViewMenu};
    case 9:
    case category::BitmapFile: return {ViewKind::Bitmap, msg::ContextViewBitmap};
    default: return {ViewKind::None, {}};
    }
}

}  // namespace

CResTreeView::CResTreeView(QWidget* parent)
    : QTreeView(parent), model_(new CResTreeModel(this)), translate_(new QAction(Q(msg::CommandTranslate), this))
{
    setObjectName(QStringLiteral("ResourceTree"));
    setModel(model_);
    header()->hide();
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    // Keys as in the table: Enter and F4 translate the node's text.
    translate_->setShortcuts({Qt::Key_F4, Qt::Key_Return, Qt::Key_Enter});
    translate_->setShortcutContext(Qt::WidgetShortcut);
    addAction(translate_);
    connect(translate_, &QAction::triggered, this, &CResTreeView::translateCurrent);
    connect(model_, &CResTreeModel::readFailed, this, &CResTreeView::statusText);
}

void CResTreeView::setTextView(CTextListView* table)
{
    if (table_) {
        disconnect(table_, nullptr, this, nullptr);
        for (const TextCommand command : kFilterCommands)
            if (QAction* action = table_->action(command))
                disconnect(action, nullptr, this, nullptr);
    }
    table_ = table;
    if (table_) {
        // Connected after the table's own handlers, so the filter has changed by then.
        for (const TextCommand command : kFilterCommands)
            if (QAction* action = table_->action(command))
                connect(action, &QAction::triggered, this, &CResTreeView::refresh);
        connect(table_, &CTextListView::rowExcludedChanged, this, &CResTreeView::updateGroupCounts);
    }
    refresh();
}

void CResTreeView::build()
{
    rebuilding_ = true;
    model_->build(table_ ? table_->project() : nullptr, table_ ? table_->filter() : TextTableFilter{});
    const QModelIndex root = model_->rootIndex();
    if (root.isValid()) {
        expand(root);
        setCurrentIndex(root);
    }
    rebuilding_ = false;
}

void CResTreeView::refresh()
{
    // The model drops every node (and its row object) before it builds anew;
    // the groups come back closed.
    build();
}

void CResTreeView::updateGroupCounts()
{
    model_->updateGroupCounts();
}

std::optional<ResourceNode> CResTreeView::currentNode() const
{
    return model_->rowObject(currentIndex());
}

bool CResTreeView::showInTable(const QModelIndex& index)
{
    const auto node = model_->rowObject(index);
    if (!node || !table_)
        return false;
    const int row = table_->rowOfLine(node->lineIndex);
    if (row < 0)
        return false;
    table_->selectRow(row, false);
    return true;
}

void CResTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    if (!rebuilding_)
        showInTable(current);
}

void CResTreeView::translateCurrent()
{
    const QModelIndex current = currentIndex();
    if (showInTable(current)) {
        emit translateRequested();
        return;
    }
    // A resource or group: Enter opens or closes it.
    if (model_->hasChildren(current))
        setExpanded(current, !isExpanded(current));
}

void CResTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && showInTable(index))
        emit translateRequested();
}

void CResTreeView::contextMenuEvent(QContextMenuEvent* event)
{
    QModelIndex index;
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        index = indexAt(event->pos());
    } else {
        index = currentIndex();
        at = viewport()->mapToGlobal(visualRect(index).bottomLeft());
    }
    showContextMenu(index, at);
}

void CResTreeView::showContextMenu(const QModelIndex& index, const QPoint& globalPos)
{
    if (const std::unique_ptr<QMenu> menu = makeContextMenu(index))
        menu->exec(globalPos);
}

std::unique_ptr<QMenu> CResTreeView::makeContextMenu(const QModelIndex& index)
{
    const auto node = model_->rowObject(index);
    if (!node)
        return nullptr;
    const ContextEntry entry = ContextFor(node->category);
    if (entry.view == ViewKind::None)
        return nullptr;
    const auto parentNode = model_->rowObject(index.parent());
    const std::int32_t resourceLine = parentNode ? parentNode->lineIndex : node->lineIndex;
    const std::int32_t itemLine = parentNode ? node->lineIndex : -1;
    auto menu = std::make_unique<QMenu>(this);
    QAction* view = nullptr;
    switch (entry.view) {
    case ViewKind::Dialog:
        view = menu->addAction(Q(entry.text), this,
                               [this, resourceLine, itemLine] { emit viewDialogRequested(resourceLine, itemLine); });
        view->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&CResTreeView::viewDialogRequested)));
        break;
    case ViewKind::Menu:
        view = menu->addAction(Q(entry.text), this,
                               [this, resourceLine, itemLine] { emit viewMenuRequested(resourceLine, itemLine); });
        view->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&CResTreeView::viewMenuRequested)));
        break;
    case ViewKind::Bitmap:
        view = menu->addAction(Q(entry.text), this,
                               [this, line = node->lineIndex] { emit viewBitmapRequested(line); });
        view->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&CResTreeView::viewBitmapRequested)));
        break;
    case ViewKind::None: break;
    }
    menu->addAction(Q(msg::ContextBookmark))->setEnabled(false);
    menu->setActiveAction(view);
    return menu;
}

}  // namespace qln
