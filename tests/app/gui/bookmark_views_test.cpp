// Bookmarks made in the dialog preview, the menu view and the bitmap view:
// stored with the view's name and shown language, followed back into that
// view and language with the item selected; a bookmark whose language was
// deleted only reports it. The resource tree opens the menu and bitmap views.

#include "gui_support.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DialogPreviewWindow.h"
#include "app/MainFrame.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "project/Bookmarks.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"
#include "views/BookmarkDialog.h"
#include "views/DynBitmapView.h"
#include "views/DynDlgView.h"
#include "views/DynMenuView.h"
#include "views/ResTreeModel.h"
#include "views/ResTreeView.h"
#include "views/TextTableModel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <map>

namespace qln {
namespace {

class WorkbenchBookmarks : public test::WorkbenchOnDemo {
protected:
    void SetUp() override
    {
        WorkbenchOnDemo::SetUp();
        project = frame().activeChild();
    }
    const TextTableRow& rowOf(std::string_view source)
    {
        for (int r = 0; r < table->textModel()->rowCount(); ++r)
            if (table->textModel()->row(r)->sourceText == source)
                return *table->textModel()->row(r);
        ADD_FAILURE() << source;
        return *table->textModel()->row(0);
    }
    void selectRow(std::string_view source) { table->selectLine(rowOf(source).lineIndex); }
    QWidget* activeView() const
    {
        QMdiSubWindow* window = app.mainFrame()->mdiArea()->currentSubWindow();
        return window ? window->widget() : nullptr;
    }
    template <typename View>
    View* active() const
    {
        return qobject_cast<View*>(activeView());
    }
    // Runs `drive` on the "Bookmark" dialog that the next step opens.
    void onBookmarkDialog(std::function<void(CBookmarkDialog&)> drive)
    {
        QTimer::singleShot(0, [drive] {
            auto* dialog = qobject_cast<CBookmarkDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            drive(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
    }
    void addBookmark(const QString& name, const QString& language)
    {
        onBookmarkDialog([name, language](CBookmarkDialog& dialog) {
            EXPECT_EQ(dialog.languageLabel()->text(), "Language: " + language);
            dialog.nameEdit()->setText(name);
            dialog.addButton()->click();
        });
    }
    // Back in the table, in the source language, the bookmark called `name` followed.
    void goToFromTable(const QString& name)
    {
        frame().mdiArea()->setActiveSubWindow(project);
        table->selectLanguage(-1, -1);
        table->selectRow(0, false);
        onBookmarkDialog([name](CBookmarkDialog& dialog) {
            const auto found = dialog.list()->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            dialog.list()->setCurrentItem(found.front());
            dialog.goToButton()->click();
        });
        triggerBookmark();
    }
    void triggerBookmark()
    {
        QAction* bookmark = frame().command(cmd::Bookmark);
        ASSERT_TRUE(bookmark->isEnabled());
        bookmark->trigger();
    }
    std::optional<Bookmark> stored(std::string_view name)
    {
        for (const BookmarkName& b : ListBookmarks(*doc->database()))
            if (b.name == name)
                return ReadBookmark(*doc->database(), b.id);
        return std::nullopt;
    }
    void closeActive() { frame().mdiArea()->currentSubWindow()->close(); }

    CChildFrame* project = nullptr;
};

bool IsGerman(const std::optional<LanguagePair>& language)
{
    return language && language->primary == 7 && language->sub == 1;
}

TEST_F(WorkbenchBookmarks, MenuViewBookmarkLeadsBackToTheGermanNode)
{
    selectRow("E&xit");
    const std::int32_t exitLine = rowOf("E&xit").lineIndex;
    frame().command(cmd::ViewMenu)->trigger();
    CDynMenuView* menu = active<CDynMenuView>();
    ASSERT_NE(menu, nullptr);
    // Another node than the table's row, bookmarked from the context menu.
    const std::int32_t openLine = rowOf("&Open List...\\tCtrl+O").lineIndex;
    ASSERT_TRUE(menu->selectLine(openLine));
    addBookmark("open", "German");
    emit menu->bookmarkRequested(openLine, category::MenuItem);
    const auto made = stored("open");
    ASSERT_TRUE(made);
    EXPECT_EQ(made->window, "Menu");
    EXPECT_EQ(made->lineIndex, openLine);
    EXPECT_TRUE(IsGerman(made->language));

    // The view shows another node in the source when the bookmark is followed.
    frame().languageCombo()->setCurrentIndex(0);
    emit frame().languageCombo()->activated(0);
    ASSERT_TRUE(menu->sourceShown());
    ASSERT_TRUE(menu->selectLine(exitLine));
    goToFromTable("open");
    ASSERT_EQ(active<CDynMenuView>(), menu);
    EXPECT_FALSE(menu->sourceShown());
    EXPECT_EQ(menu->language().primary, 7);
    EXPECT_EQ(menu->selectedLine(), openLine);

    // Closed, the view opens again for it.
    closeActive();
    QApplication::processEvents();
    goToFromTable("open");
    menu = active<CDynMenuView>();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->language().primary, 7);
    EXPECT_EQ(menu->selectedLine(), openLine);
}

TEST_F(WorkbenchBookmarks, DialogPreviewBookmarkSelectsTheControlInGerman)
{
    selectRow("&Swap");
    const std::int32_t swap = rowOf("&Swap").lineIndex;
    const std::int32_t dialog = rowOf("&Swap").resourceLine;
    frame().command(cmd::ViewDialog)->trigger();
    CDynDlgView* preview = ActiveDialogPreview(frame());
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->selectLine(swap));
    // Edit > Bookmark while the preview is active takes the preview's control.
    onBookmarkDialog([](CBookmarkDialog& dialog) {
        EXPECT_EQ(dialog.languageLabel()->text(), "Language: German");
        EXPECT_TRUE(dialog.resourceLabel()->text().startsWith("IDD_CONVERTER")) << dialog.resourceLabel()->text().toStdString();
        EXPECT_TRUE(dialog.resourceLabel()->text().contains("Dialog Item"));
        dialog.nameEdit()->setText("swap");
        dialog.addButton()->click();
    });
    triggerBookmark();
    const auto made = stored("swap");
    ASSERT_TRUE(made);
    EXPECT_EQ(made->window, "Dialog");
    EXPECT_EQ(made->lineIndex, swap);
    EXPECT_TRUE(IsGerman(made->language));

    closeActive();
    QApplication::processEvents();
    // The preview opens from the database even while the table hides dialogs.
    frame().command(cmd::ShowDialogs)->trigger();
    ASSERT_LT(table->rowOfLine(swap), 0);
    goToFromTable("swap");
    preview = ActiveDialogPreview(frame());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->dialogLine(), dialog);
    EXPECT_EQ(preview->language().primary, 7);
    ASSERT_NE(preview->selected(), nullptr);
    EXPECT_EQ(preview->selected()->line, swap);
}

TEST_F(WorkbenchBookmarks, SourceBitmapBookmarkKeepsNoLanguage)
{
    table->selectLanguage(-1, -1);
    selectRow("res/demo.bmp");
    frame().command(cmd::ViewBitmap)->trigger();
    CDynBitmapView* bitmap = active<CDynBitmapView>();
    ASSERT_NE(bitmap, nullptr);
    ASSERT_TRUE(bitmap->sourceShown());
    addBookmark("ruler", QString::fromUtf8(msg::SourceTextColumn.data(), msg::SourceTextColumn.size()));
    emit bitmap->bookmarkRequested(bitmap->bitmapLine());
    const auto made = stored("ruler");
    ASSERT_TRUE(made);
    EXPECT_EQ(made->window, "Bitmap");
    EXPECT_FALSE(made->language);

    bitmap->showLanguage(7, 1);
    goToFromTable("ruler");
    ASSERT_EQ(active<CDynBitmapView>(), bitmap);
    EXPECT_TRUE(bitmap->sourceShown());
}

TEST_F(WorkbenchBookmarks, BookmarkToADeletedLanguageOnlyReports)
{
    selectRow("E&xit");
    frame().command(cmd::ViewMenu)->trigger();
    CDynMenuView* menu = active<CDynMenuView>();
    ASSERT_NE(menu, nullptr);
    addBookmark("exit", "German");
    triggerBookmark();
    ASSERT_TRUE(stored("exit"));
    closeActive();
    QApplication::processEvents();

    ASSERT_EQ(DeleteLanguage(*doc->database(), 7, 1).status, LanguageStatus::Ok);
    doc->TranslationsChanged(true);
    const auto windows = frame().mdiArea()->subWindowList().size();
    goToFromTable("exit");
    EXPECT_TRUE(prompter.Saw("Go to bookmark.\nThere is no \"German\" translation any more. Can not go to bookmark."));
    EXPECT_EQ(frame().mdiArea()->subWindowList().size(), windows);
    EXPECT_EQ(frame().mdiArea()->currentSubWindow(), project);
}

TEST_F(WorkbenchBookmarks, TreeOpensMenuAndBitmapViewsInTheTablesLanguage)
{
    auto* tree = qobject_cast<CResTreeView*>(project->treeView());
    ASSERT_NE(tree, nullptr);
    const TextTableRow& exit = rowOf("E&xit");
    // "MenuItem: View Menu..." on the item's node.
    CResTreeModel& model = *tree->treeModel();
    const QModelIndex menus = model.groupIndex(ResourceGroup::Menus);
    tree->expand(menus);
    const QModelIndex menuNode = model.index(0, 0, menus);
    tree->expand(menuNode);
    QModelIndex exitNode;
    for (int r = 0; r < model.rowCount(menuNode); ++r)
        if (model.index(r, 0, menuNode).data().toString() == "ID_APP_EXIT")
            exitNode = model.index(r, 0, menuNode);
    ASSERT_TRUE(exitNode.isValid());
    const auto context = tree->makeContextMenu(exitNode);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(context->actions().first()->isEnabled());
    context->actions().first()->trigger();
    CDynMenuView* menu = active<CDynMenuView>();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->language().primary, 7);
    EXPECT_EQ(menu->selectedLine(), exit.lineIndex);

    frame().mdiArea()->setActiveSubWindow(project);
    table->selectLanguage(-1, -1);
    emit tree->viewBitmapRequested(rowOf("res/demo.bmp").lineIndex);
    CDynBitmapView* bitmap = active<CDynBitmapView>();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->bitmapLine(), rowOf("res/demo.bmp").lineIndex);
    EXPECT_TRUE(bitmap->sourceShown());
}

// An ambiguous key triggers neither command: Bookmark once shared Ctrl+B
// with Bitmap Resource.
TEST_F(WorkbenchBookmarks, NoTwoCommandsShareAKey)
{
    std::map<QString, QString> owners;
    for (QAction* action : frame().findChildren<QAction*>()) {
        // Keys of a single widget (the tree's, the table's) only act while it has the focus.
        if (action->shortcutContext() == Qt::WidgetShortcut ||
            action->shortcutContext() == Qt::WidgetWithChildrenShortcut)
            continue;
        for (const QKeySequence& keys : action->shortcuts()) {
            const QString key = keys.toString();
            const auto [at, fresh] = owners.emplace(key, action->text());
            EXPECT_TRUE(fresh) << key.toStdString() << ": " << at->second.toStdString() << " and "
                               << action->text().toStdString();
        }
    }
    EXPECT_EQ(frame().command(cmd::ViewBitmap)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
}

}  // namespace
}  // namespace qln
