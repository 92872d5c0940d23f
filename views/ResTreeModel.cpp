#include "views/ResTreeModel.h"

#include "views/ResTreeImages.h"

#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"

#include <QCursor>
#include <QGuiApplication>

namespace qln {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int GroupImage(ResourceGroup group)
{
    switch (group) {
    case ResourceGroup::Dialogs: return treeimage::Dialog;
    case ResourceGroup::Menus: return treeimage::Menu;
    case ResourceGroup::Strings: return treeimage::String;
    case ResourceGroup::Bitmaps: return treeimage::Bitmap;
    case ResourceGroup::Versions: return treeimage::Version;
    case ResourceGroup::Includes: return treeimage::Include;
    }
    return treeimage::Root;
}

int CategoryImage(int cat)
{
    switch (cat) {
    case category::Dialog: return treeimage::Dialog;
    case category::Menu: return treeimage::Menu;
    case category::StringtableString: return treeimage::String;
    case category::Versioninfo: return treeimage::Version;
    case category::DialogItem:
    case category::DialogCaption: return treeimage::DialogText;
    case category::MenuItem:
    case category::PopupMenu: return treeimage::MenuItem;
    case category::BlockHeader:
    case category::VersionValue: return treeimage::VersionText;
    case category::Include: return treeimage::Include;
    default: return treeimage::Bitmap;
    }
}

// Shows the wait cursor while a list is read.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

struct CResTreeModel::Node {
    enum class Kind { Top, Root, Group, Item };
    Kind kind = Kind::Item;
    ResourceGroup group = ResourceGroup::Dialogs;  // groups only
    ResourceNode object;                           // items only
    QString label;
    int image = treeimage::Root;
    Node* parent = nullptr;
    int row = 0;
    std::vector<std::unique_ptr<Node>> children;
    bool expandable = false;  // may have children before they are read
    bool filled = false;      // children read

    Node* add(std::unique_ptr<Node> child)
    {
        child->parent = this;
        child->row = static_cast<int>(children.size());
        children.push_back(std::move(child));
        return children.back().get();
    }
};

CResTreeModel::CResTreeModel(QObject* parent)
    : QAbstractItemModel(parent), top_(std::make_unique<Node>()), images_(MakeResTreeImages())
{
    top_->kind = Node::Kind::Top;
    top_->filled = true;
}

CResTreeModel::~CResTreeModel() = default;

void CResTreeModel::build(CProjectDatabase* project, const TextTableFilter& filter)
{
    beginResetModel();
    project_ = project;
    filter_ = filter;
    top_->children.clear();
    if (project_) {
        auto root = std::make_unique<Node>();
        root->kind = Node::Kind::Root;
        root->label = Q(msg::TreeRoot);
        root->image = treeimage::Root;
        root->filled = true;
        Node* r = top_->add(std::move(root));
        for (const ResourceGroup group : kResourceGroups) {
            auto node = std::make_unique<Node>();
            node->kind = Node::Kind::Group;
            node->group = group;
            node->image = GroupImage(group);
            r->add(std::move(node));
        }
    }
    endResetModel();
    updateGroupCounts();
}

void CResTreeModel::setGroupState(Node& group, bool shown, int count)
{
    group.label = Q(GroupLabel(group.group, shown, count));
    // A hidden kind, or one without resources, cannot be opened.
    group.expandable = shown && count > 0;
}

void CResTreeModel::updateGroupCounts()
{
    if (top_->children.empty())
        return;
    Node& root = *top_->children.front();
    std::array<int, 6> counts{};
    try {
        counts = CountResources(*project_, filter_);
    } catch (const sql::Error& error) {
        emit readFailed(Q(DatabaseErrorMessage(error)));
    }
    bool anyShown = false;
    for (std::size_t i = 0; i < root.children.size(); ++i) {
        Node& group = *root.children[i];
        const bool shown = GroupShown(filter_, group.group);
        anyShown = anyShown || shown;
        setGroupState(group, shown, counts[i]);
    }
    root.expandable = anyShown;
    if (!root.children.empty())
        emit dataChanged(indexOf(root.children.front().get()), indexOf(root.children.back().get()));
    const QModelIndex r = indexOf(&root);
    emit dataChanged(r, r);
}

QModelIndex CResTreeModel::rootIndex() const
{
    return top_->children.empty() ? QModelIndex() : indexOf(top_->children.front().get());
}

QModelIndex CResTreeModel::groupIndex(ResourceGroup group) const
{
    const QModelIndex root = rootIndex();
    return root.isValid() ? index(static_cast<int>(group), 0, root) : QModelIndex();
}

std::optional<ResourceNode> CResTreeModel::rowObject(const QModelIndex& index) const
{
    const Node* node = nodeOf(index);
    if (!node || node->kind != Node::Kind::Item)
        return std::nullopt;
    return node->object;
}

bool CResTreeModel::isFilled(const QModelIndex& index) const
{
    const Node* node = nodeOf(index);
    return node && node->filled;
}

CResTreeModel::Node* CResTreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : top_.get();
}

QModelIndex CResTreeModel::indexOf(const Node* node) const
{
    if (!node || node == top_.get())
        return {};
    return createIndex(node->row, 0, const_cast<Node*>(node));
}

QModelIndex CResTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* p = nodeOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(p->children.size()))
        return {};
    return createIndex(row, 0, p->children[static_cast<std::size_t>(row)].get());
}

QModelIndex CResTreeModel::parent(const QModelIndex& child) const
{
    const Node* node = nodeOf(child);
    return node == top_.get() ? QModelIndex() : indexOf(node->parent);
}

int CResTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(nodeOf(parent)->children.size());
}

int CResTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant CResTreeModel::data(const QModelIndex& index, int role) const
{
    const Node* node = index.isValid() ? nodeOf(index) : nullptr;
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole: return node->label;
    case Qt::DecorationRole: return images_[static_cast<std::size_t>(node->image)];
    case CategoryRole: return node->kind == Node::Kind::Item ? node->object.category : 0;
    case LineIndexRole: return node->kind == Node::Kind::Item ? node->object.lineIndex : -1;
    default: return {};
    }
}

Qt::ItemFlags CResTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (nodeOf(index)->kind == Node::Kind::Item && nodeOf(index)->object.category != category::Dialog &&
        nodeOf(index)->object.category != category::Menu && nodeOf(index)->object.category != category::Versioninfo)
        f |= Qt::ItemNeverHasChildren;
    return f;
}

bool CResTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return false;
    const Node* node = nodeOf(parent);
    return !node->children.empty() || (node->expandable && !node->filled);
}

bool CResTreeModel::canFetchMore(const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    return node->expandable && !node->filled;
}

std::vector<ResourceNode> CResTreeModel::readChildren(const Node& node)
{
    if (!project_)
        return {};
    if (node.kind == Node::Kind::Group)
        return ListResources(*project_, node.group, filter_);
    return ListResourceItems(*project_, node.object, filter_);
}

void CResTreeModel::fetchMore(const QModelIndex& parent)
{
    Node* node = nodeOf(parent);
    if (!canFetchMore(parent))
        return;
    node->filled = true;
    std::vector<ResourceNode> read;
    {
        const WaitCursor wait;
        try {
            read = readChildren(*node);
        } catch (const sql::Error& error) {
            emit readFailed(Q(DatabaseErrorMessage(error)));
        }
    }
    if (read.empty()) {
        // Nothing below it after all: the node loses its expander.
        node->expandable = false;
        emit dataChanged(parent, parent);
        return;
    }
    beginInsertRows(parent, 0, static_cast<int>(read.size()) - 1);
    node->children.reserve(read.size());
    for (ResourceNode& object : read) {
        auto child = std::make_unique<Node>();
        child->image = CategoryImage(object.category);
        child->label = QString::fromStdString(object.label);
        child->expandable = HasResourceItems(object.category);
        child->object = std::move(object);
        node->add(std::move(child));
    }
    endInsertRows();
}

}  // namespace qln
