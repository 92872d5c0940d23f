#pragma once
// CResTreeModel: the nodes of the resource tree. One root ("Resources"),
// the six groups below it, and below those the resources and their texts,
// read from the core the first time a node is opened (fetchMore) and kept
// from then on. Every node but the root and the groups carries a row object
// (category and LineIndex) like the text table's rows.

#include "project/ResourceTree.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <memory>
#include <optional>
#include <vector>

namespace qln {

class CProjectDatabase;

class CResTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role { CategoryRole = Qt::UserRole + 1, LineIndexRole };

    explicit CResTreeModel(QObject* parent = nullptr);
    ~CResTreeModel() override;

    // Drops every node, then puts the root and the six groups in, with
    // labels and expandability from the project's counts under the filter.
    // A null project gives an empty model.
    void build(CProjectDatabase* project, const TextTableFilter& filter);
    // Labels and expandability of the groups from new counts, keeping every node.
    void updateGroupCounts();

    QModelIndex rootIndex() const;
    QModelIndex groupIndex(ResourceGroup group) const;
    // The row object of a node; nothing for the root and the groups.
    std::optional<ResourceNode> rowObject(const QModelIndex& index) const;
    // Whether the node's children were read already.
    bool isFilled(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // A list could not be read (the database's message).
    void readFailed(const QString& message);

private:
    struct Node;
    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(const Node* node) const;
    std::vector<ResourceNode> readChildren(const Node& node);
    void setGroupState(Node& group, bool shown, int count);

    std::unique_ptr<Node> top_;  // invisible; its one child is the root
    CProjectDatabase* project_ = nullptr;
    TextTableFilter filter_;
    std::vector<QIcon> images_;
};

}  // namespace qln
