#pragma once
// CResTreeView: the resource tree beside the text table. It lists the
// project's resources by kind and follows the table's resource-kind
// filters (a hidden kind's group reads "(hidden)" and does not open).
// Selecting a text's node selects the same text in the table, which shows
// it in the translation bar; the context menu asks for the dialog, menu or
// bitmap view of the node, which the application opens.

#include "project/ResourceTree.h"

#include <QPointer>
#include <QTreeView>

#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace qln {

class CResTreeModel;
class CTextListView;

class CResTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit CResTreeView(QWidget* parent = nullptr);

    // The table whose project, filters and rows the tree follows; builds the tree.
    void setTextView(CTextListView* table);
    CTextListView* textView() const { return table_; }
    CResTreeModel* treeModel() const { return model_; }

    // The root and the six groups, then the root opened.
    void build();
    // Every node dropped and built again from the table's current filters.
    void refresh();
    // The groups' labels and expandability from new counts, nothing rebuilt.
    void updateGroupCounts();

    // The row object of the current node; nothing for the root and the groups.
    std::optional<ResourceNode> currentNode() const;
    // The node's text in the table: selected there (not focused); false when
    // the table does not show it.
    bool showInTable(const QModelIndex& index);
    QAction* translateAction() const { return translate_; }
    // The context menu of a node, chosen by its category; none for the
    // root, the groups and texts without a view.
    std::unique_ptr<QMenu> makeContextMenu(const QModelIndex& index);

signals:
    // The translation bar is to show the selected text, ready to translate.
    void translateRequested();
    // The views of a resource; the item line is -1 for the resource itself.
    void viewDialogRequested(qint32 dialogLine, qint32 itemLine);
    void viewMenuRequested(qint32 menuLine, qint32 itemLine);
    void viewBitmapRequested(qint32 bitmapLine);
    void statusText(const QString& text);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void translateCurrent();
    void showContextMenu(const QModelIndex& index, const QPoint& globalPos);

    CResTreeModel* model_;
    QPointer<CTextListView> table_;
    QAction* translate_;
    bool rebuilding_ = false;  // selection changes are not passed on meanwhile
};

}  // namespace qln
