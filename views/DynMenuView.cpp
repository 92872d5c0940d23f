#include "views/DynMenuView.h"

#include "views/LanguageActions.h"

#include "project/TextTable.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"
#include "views/MenuStateIcons.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMetaMethod>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qln {
namespace {

constexpr int kNodeRole = Qt::UserRole;

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

CDynMenuView::CDynMenuView(CProjectDatabase& project, MenuTree menu, QWidget* parent)
    : QWidget(parent), project_(project), menu_(std::move(menu))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    bar_ = new QToolBar(this);
    bar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const LanguageActions actions = AddLanguageActions(*this, *bar_);
    source_ = actions.source;
    translated_ = actions.translated;
    connect(source_, &QAction::triggered, this, [this] { showLanguage(-1, -1); });
    connect(translated_, &QAction::triggered, this, [this] {
        updateActions();  // checked again when the holder switches the language
        emit translatedRequested();
    });
    layout->addWidget(bar_);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("menuTree"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setUniformRowHeights(true);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(tree_);
    setFocusProxy(tree_);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (current)
            emit itemSelected(menu_.nodes[current->data(0, kNodeRole).toUInt()].lineIndex);
    });
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        emit translateRequested(menu_.nodes[item->data(0, kNodeRole).toUInt()].lineIndex);
    });
    connect(tree_, &QTreeWidget::customContextMenuRequested, this, &CDynMenuView::showContextMenu);
    build();
}

void CDynMenuView::build()
{
    items_.assign(menu_.nodes.size(), nullptr);
    std::vector<QTreeWidgetItem*> top;
    for (std::size_t i = 0; i < menu_.nodes.size(); ++i) {
        const MenuNode& node = menu_.nodes[i];
        QTreeWidgetItem* parent = node.parent < 0 ? nullptr : items_[static_cast<std::size_t>(node.parent)];
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem;
        item->setData(0, kNodeRole, static_cast<uint>(i));
        item->setToolTip(0, Q(node.idText));
        items_[i] = item;
        if (!parent)
            top.push_back(item);
    }
    for (QTreeWidgetItem* item : top)
        tree_->addTopLevelItem(item);
    tree_->expandAll();
    showLanguage(-1, -1);
    if (!items_.empty())
        tree_->setCurrentItem(items_.front());
}

void CDynMenuView::showLanguage(int primary, int sub)
{
    const WaitCursor wait;
    language_ = primary < 0 ? LanguagePair{-1, -1} : LanguagePair{primary, sub};
    try {
        ShowMenuLanguage(project_, menu_, language_.primary, language_.sub);
    } catch (const sql::Error& error) {
        emit statusText(Q(DatabaseErrorMessage(error)));
    }
    for (std::size_t i = 0; i < items_.size(); ++i)
        updateNode(static_cast<int>(i));
    updateActions();
}

void CDynMenuView::refreshLine(std::int32_t lineIndex)
{
    try {
        if (RefreshMenuNode(project_, menu_, lineIndex, language_.primary, language_.sub))
            updateNode(menu_.nodeOfLine(lineIndex));
    } catch (const sql::Error& error) {
        emit statusText(Q(DatabaseErrorMessage(error)));
    }
}

void CDynMenuView::refreshAll()
{
    showLanguage(language_.primary, language_.sub);
}

void CDynMenuView::setLanguageFont(const QFont& font)
{
    tree_->setFont(font);
}

void CDynMenuView::updateNode(int index)
{
    const MenuNode& node = menu_.nodes[static_cast<std::size_t>(index)];
    QTreeWidgetItem* item = items_[static_cast<std::size_t>(index)];
    item->setText(0, Q(node.label));
    item->setIcon(0, MenuStateIcon(node.category, node.state));
    item->setData(0, Qt::AccessibleDescriptionRole, MenuItemImage(node.category, node.state));
}

void CDynMenuView::updateActions()
{
    UpdateLanguageActions({source_, translated_}, project_, sourceShown());
}

bool CDynMenuView::selectLine(std::int32_t lineIndex)
{
    QTreeWidgetItem* item = itemOfLine(lineIndex);
    if (!item)
        return false;
    tree_->setCurrentItem(item);
    tree_->scrollToItem(item);
    return true;
}

void CDynMenuView::selectNext(bool forward)
{
    const int count = static_cast<int>(items_.size());
    if (count == 0)
        return;
    // The nodes are in script order, which is the order the tree shows them.
    const int current = menu_.nodeOfLine(selectedLine());
    const int next = current < 0 ? (forward ? 0 : count - 1) : (current + (forward ? 1 : count - 1)) % count;
    tree_->setCurrentItem(items_[static_cast<std::size_t>(next)]);
    tree_->scrollToItem(items_[static_cast<std::size_t>(next)]);
}

std::int32_t CDynMenuView::selectedLine() const
{
    const QTreeWidgetItem* item = tree_->currentItem();
    return item ? menu_.nodes[item->data(0, kNodeRole).toUInt()].lineIndex : -1;
}

QTreeWidgetItem* CDynMenuView::itemOfLine(std::int32_t lineIndex) const
{
    const int index = menu_.nodeOfLine(lineIndex);
    return index < 0 ? nullptr : items_[static_cast<std::size_t>(index)];
}

void CDynMenuView::showContextMenu(const QPoint& pos)
{
    if (QTreeWidgetItem* item = tree_->itemAt(pos))
        tree_->setCurrentItem(item);
    const std::int32_t line = selectedLine();
    if (line < 0)
        return;
    const int category = menu_.nodes[static_cast<std::size_t>(menu_.nodeOfLine(line))].category;
    QMenu menu(this);
    menu.addAction(Q(msg::ContextStringAtTable), this, [this, line] { emit stringAtTableRequested(line); });
    QAction* bookmark =
        menu.addAction(Q(msg::ContextBookmark), this, [this, line, category] { emit bookmarkRequested(line, category); });
    bookmark->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&CDynMenuView::bookmarkRequested)));
    menu.exec(tree_->viewport()->mapToGlobal(pos));
}

}  // namespace qln
