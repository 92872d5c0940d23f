// The resource tree beside the text table on the demo project: its groups
// follow the table's filters, its nodes open lazily, selecting a node
// selects the same text in the table and the translation bar, and the
// context menu asks for the right view.

#include "views_support.h"

#include "views/ResTreeModel.h"
#include "views/ResTreeView.h"

#include <QAbstractItemModelTester>
#include <QMenu>
#include <QSignalSpy>

namespace qln::test {
namespace {

class ResTree : public DemoWindow {
protected:
    void SetUp() override
    {
        DemoWindow::SetUp();
        tree = new CResTreeView(window.get());
        auto* dock = new QDockWidget(window.get());
        dock->setWidget(tree);
        window->addDockWidget(Qt::LeftDockWidgetArea, dock);
        Open();
        tree->setTextView(view);
    }
    CResTreeModel& tm() { return *tree->treeModel(); }
    QString Label(const QModelIndex& index) { return index.data().toString(); }
    QModelIndex Child(const QModelIndex& parent, const QString& label)
    {
        tree->expand(parent);
        for (int r = 0; r < tm().rowCount(parent); ++r)
            if (Label(tm().index(r, 0, parent)) == label)
                return tm().index(r, 0, parent);
        return {};
    }
    QModelIndex Nth(const QModelIndex& parent, int row)
    {
        tree->expand(parent);
        return tm().index(row, 0, parent);
    }
    QModelIndex Group(ResourceGroup group) { return tm().groupIndex(group); }
    QStringList Groups()
    {
        QStringList labels;
        for (const ResourceGroup g : kResourceGroups)
            labels << Label(Group(g));
        return labels;
    }
    QStringList MenuTexts(const QModelIndex& index)
    {
        QStringList texts;
        if (const auto menu = tree->makeContextMenu(index))
            for (QAction* a : menu->actions())
                texts << a->text() + (a->isEnabled() ? "" : " (disabled)");
        return texts;
    }

    CResTreeView* tree = nullptr;
};

TEST_F(ResTree, GroupsFollowTheTableFilters)
{
    const QModelIndex root = tm().rootIndex();
    EXPECT_EQ(Label(root), "Resources");
    EXPECT_TRUE(tree->isExpanded(root));
    const int strings = static_cast<int>(ListResources(*project, ResourceGroup::Strings, view->filter()).size());
    EXPECT_EQ(Groups(), (QStringList{"Dialogs (3)", "Menus (1)", "Strings (" + QString::number(strings) + ")",
                                     "Bitmaps (1)", "Versions (1)",
                                     view->filter().includes ? "Includes (2)" : "Includes (hidden)"}));
    for (const ResourceGroup g : kResourceGroups) {
        EXPECT_FALSE(tree->isExpanded(Group(g)));
        EXPECT_FALSE(tm().isFilled(Group(g)));  // nothing read before it is opened
    }

    // Hiding dialogs in the table rebuilds the tree: every group closed, the
    // dialogs' group hidden and not to be opened.
    tree->expand(Group(ResourceGroup::Menus));
    ASSERT_GT(tm().rowCount(Group(ResourceGroup::Menus)), 0);
    view->action(TextCommand::FilterDialogs)->trigger();
    ASSERT_FALSE(view->filter().dialogs);
    EXPECT_EQ(Label(Group(ResourceGroup::Dialogs)), "Dialogs (hidden)");
    EXPECT_FALSE(tm().hasChildren(Group(ResourceGroup::Dialogs)));
    EXPECT_FALSE(tm().canFetchMore(Group(ResourceGroup::Dialogs)));
    for (const ResourceGroup g : kResourceGroups)
        EXPECT_FALSE(tree->isExpanded(Group(g)));
    EXPECT_TRUE(tree->isExpanded(tm().rootIndex()));
    EXPECT_EQ(tm().rowCount(Group(ResourceGroup::Menus)), 0);
    tree->setFocus();
    tree->setCurrentIndex(Group(ResourceGroup::Dialogs));
    QTest::keyClick(tree, Qt::Key_Right);
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_FALSE(tree->isExpanded(Group(ResourceGroup::Dialogs)));
    EXPECT_EQ(tm().rowCount(Group(ResourceGroup::Dialogs)), 0);

    // Shown again: counted and to be opened.
    view->action(TextCommand::FilterDialogs)->trigger();
    EXPECT_EQ(Label(Group(ResourceGroup::Dialogs)), "Dialogs (3)");
    EXPECT_TRUE(tm().hasChildren(Group(ResourceGroup::Dialogs)));

    // With excluded texts hidden, excluding a string in the table counts it out.
    view->action(TextCommand::FilterExcluded)->trigger();
    ASSERT_FALSE(view->filter().excluded);
    const QString before = Label(Group(ResourceGroup::Strings));
    const QModelIndex first = Nth(Group(ResourceGroup::Strings), 0);
    ASSERT_TRUE(tree->showInTable(first)) << before.toStdString();
    view->excludeItem();
    EXPECT_EQ(Label(Group(ResourceGroup::Strings)), "Strings (" + QString::number(strings - 1) + ")");
    EXPECT_EQ(Label(Group(ResourceGroup::Bitmaps)), "Bitmaps (0)");  // its file name is excluded
    EXPECT_FALSE(tm().hasChildren(Group(ResourceGroup::Bitmaps)));

    // Every node, read through the model's tester.
    view->action(TextCommand::FilterExcluded)->trigger();
    QAbstractItemModelTester tester(&tm(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    tree->refresh();
    tree->expandAll();
}

TEST_F(ResTree, SelectionReachesTheTableAndTheBar)
{
    const QModelIndex dialogs = Group(ResourceGroup::Dialogs);
    const QModelIndex converter = Child(dialogs, "IDD_CONVERTER");
    ASSERT_TRUE(converter.isValid());
    EXPECT_EQ(converter.row(), 1);  // sorted by name
    const auto dialog = tm().rowObject(converter);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->category, category::Dialog);
    const QModelIndex caption = Child(converter, "\"Caption\"");
    ASSERT_EQ(caption.row(), 0);
    const std::int32_t captionLine = tm().rowObject(caption)->lineIndex;

    view->selectRow(0, false);
    tree->setFocus();
    tree->setCurrentIndex(caption);
    ASSERT_NE(view->selectedRow(), nullptr);
    EXPECT_EQ(view->selectedRow()->lineIndex, captionLine);
    EXPECT_EQ(view->selectedRow()->sourceText, "Quillon Demo");
    EXPECT_EQ(bar->item().lineIndex, captionLine);
    EXPECT_TRUE(tree->hasFocus());  // the table is selected, not focused

    // Enter and a double click on a text ask for the translation bar; on a
    // dialog Enter opens and closes it.
    QSignalSpy translate(tree, &CResTreeView::translateRequested);
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(translate.count(), 1);
    const QModelIndex control = tm().index(2, 0, converter);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(control).center());
    EXPECT_EQ(translate.count(), 2);
    EXPECT_EQ(view->selectedRow()->lineIndex, tm().rowObject(control)->lineIndex);
    tree->setCurrentIndex(converter);
    ASSERT_TRUE(tree->isExpanded(converter));
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_FALSE(tree->isExpanded(converter));
    EXPECT_EQ(translate.count(), 2);
    // Arrows move through the nodes and the table follows.
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(Label(tree->currentIndex()), "IDD_OPTIONS");
    QTest::keyClick(tree, Qt::Key_Right);
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(Label(tree->currentIndex()), "\"Caption\"");
    EXPECT_EQ(view->selectedRow()->sourceText, "Options");

    // A string's node selects the string.
    const QModelIndex strings = Group(ResourceGroup::Strings);
    tree->expand(strings);
    const QModelIndex string = tm().index(3, 0, strings);
    tree->setCurrentIndex(string);
    EXPECT_EQ(view->selectedRow()->lineIndex, tm().rowObject(string)->lineIndex);
    EXPECT_EQ(view->selectedRow()->idText, Label(string).toStdString());
}

TEST_F(ResTree, ContextMenusByCategory)
{
    const QModelIndex converter = Child(Group(ResourceGroup::Dialogs), "IDD_CONVERTER");
    const QModelIndex caption = Child(converter, "\"Caption\"");
    const QModelIndex control = Nth(converter, 1);
    const QModelIndex menu = Nth(Group(ResourceGroup::Menus), 0);
    const QModelIndex popup = Child(menu, "POPUP");
    const QModelIndex item = Child(menu, "ID_FILE_OPEN");
    const QModelIndex bitmap = Child(Group(ResourceGroup::Bitmaps), "IDB_RULER");
    const QModelIndex string = Nth(Group(ResourceGroup::Strings), 0);
    ASSERT_TRUE(caption.isValid() && control.isValid() && popup.isValid() && item.isValid() && bitmap.isValid());

    // Nothing connected yet: the view entries are disabled.
    EXPECT_EQ(MenuTexts(converter), (QStringList{"View Dialog... (disabled)", "&Bookmark... (disabled)"}));
    EXPECT_EQ(MenuTexts(bitmap), (QStringList{"View Bitmap... (disabled)", "&Bookmark... (disabled)"}));
    EXPECT_TRUE(MenuTexts(string).isEmpty());
    EXPECT_TRUE(MenuTexts(tm().rootIndex()).isEmpty());
    EXPECT_TRUE(MenuTexts(Group(ResourceGroup::Dialogs)).isEmpty());

    QSignalSpy dialogs(tree, &CResTreeView::viewDialogRequested);
    QSignalSpy menus(tree, &CResTreeView::viewMenuRequested);
    QSignalSpy bitmaps(tree, &CResTreeView::viewBitmapRequested);
    const auto trigger = [&](const QModelIndex& index, const QString& text) {
        const auto m = tree->makeContextMenu(index);
        ASSERT_NE(m, nullptr);
        ASSERT_EQ(m->actions().first()->text(), text);
        ASSERT_TRUE(m->actions().first()->isEnabled());
        m->actions().first()->trigger();
    };
    const std::int32_t dialogLine = tm().rowObject(converter)->lineIndex;
    const std::int32_t menuLine = tm().rowObject(menu)->lineIndex;
    trigger(converter, "View Dialog...");
    trigger(caption, "\"Caption\": View Dialog...");
    trigger(control, "Dialog Item: View Dialog...");
    trigger(menu, "View Menu...");
    trigger(popup, "\"Popup\": View Menu...");
    trigger(item, "MenuItem: View Menu...");
    trigger(bitmap, "View Bitmap...");
    ASSERT_EQ(dialogs.count(), 3);
    EXPECT_EQ(dialogs[0], (QList<QVariant>{dialogLine, -1}));
    EXPECT_EQ(dialogs[1], (QList<QVariant>{dialogLine, tm().rowObject(caption)->lineIndex}));
    EXPECT_EQ(dialogs[2], (QList<QVariant>{dialogLine, tm().rowObject(control)->lineIndex}));
    ASSERT_EQ(menus.count(), 3);
    EXPECT_EQ(menus[0], (QList<QVariant>{menuLine, -1}));
    EXPECT_EQ(menus[2], (QList<QVariant>{menuLine, tm().rowObject(item)->lineIndex}));
    ASSERT_EQ(bitmaps.count(), 1);
    EXPECT_EQ(bitmaps[0].first().toInt(), tm().rowObject(bitmap)->lineIndex);
}

}  // namespace
}  // namespace qln::test
