// The menu view and the bitmap view as widgets, on databases built from
// scripts and bitmap files written here.

#include "views_support.h"

#include "BitmapFiles.h"

#include "project/TranslationStore.h"
#include "views/DynBitmapView.h"
#include "views/DynMenuView.h"

#include <QAction>
#include <QSignalSpy>
#include <QTreeWidget>

#include <fstream>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

class ScriptProject : public ::testing::Test {
protected:
    void SetUp() override { app = MakeApplication(); }
    void TearDown() override
    {
        project.reset();
        app.reset();
    }
    void Build(const std::string& text)
    {
        script = dir / "app.rc";
        std::ofstream(script) << text;
        BuildResult built = BuildProjectDatabase(script, dir / "app_rc.mdb", NoProgress(), TemplatePath());
        ASSERT_TRUE(built.ok()) << built.message;
        project = std::move(built.database);
    }
    std::int32_t LineOf(const std::string& table, const std::string& name)
    {
        sql::Statement st = project->db().prepare("SELECT LineIndex FROM " + table + " WHERE Name_ID = :name");
        st.bind(":name", name);
        EXPECT_TRUE(st.step()) << name;
        return static_cast<std::int32_t>(st.columnInt64(0));
    }
    static int Image(const QTreeWidgetItem* item) { return item->data(0, Qt::AccessibleDescriptionRole).toInt(); }

    std::unique_ptr<QApplication> app;
    TempDir dir;
    fs::path script;
    std::unique_ptr<CProjectDatabase> project;
};

TEST_F(ScriptProject, MenuViewTreeImagesAndKeyboard)
{
    Build("M MENU\n"
          "BEGIN\n"
          "  POPUP \"&File\"\n"
          "  BEGIN\n"
          "    MENUITEM \"&Open\", 1\n"
          "    MENUITEM \"&Close\", 2\n"
          "    MENUITEM \"Ex&it\", 3\n"
          "  END\n"
          "  POPUP \"Lines\"\n"
          "  BEGIN\n"
          "    MENUITEM SEPARATOR\n"
          "  END\n"
          "END\n");
    auto tree = LoadMenuTree(*project, LineOf("Menu", "M"));
    ASSERT_TRUE(tree);
    CDynMenuView view(*project, std::move(*tree));
    view.resize(300, 400);
    view.show();
    QTreeWidget* w = view.tree();
    ASSERT_EQ(w->topLevelItemCount(), 2);
    QTreeWidgetItem* file = w->topLevelItem(0);
    EXPECT_EQ(file->text(0), "&File");
    EXPECT_EQ(file->childCount(), 3);
    EXPECT_TRUE(file->isExpanded());
    // A popup of separators only has no children.
    EXPECT_EQ(w->topLevelItem(1)->childCount(), 0);
    EXPECT_EQ(w->currentItem(), file);
    // Without a translation only the source can be shown.
    EXPECT_FALSE(view.translatedAction()->isEnabled());
    EXPECT_TRUE(view.sourceAction()->isChecked());

    ASSERT_TRUE(AddLanguage(*project, kGerman.primary, kGerman.sub, 1252));
    const std::int32_t open = LineOf("MenuItem", "1"), close = LineOf("MenuItem", "2"), exit = LineOf("MenuItem", "3");
    ASSERT_TRUE(StoreTranslation(*project, open, kGerman.primary, kGerman.sub, "Ö&ffnen"));
    ASSERT_TRUE(project->SetTranslation(close, kGerman.primary, kGerman.sub, "&Schließen", true));
    ASSERT_TRUE(StoreTranslation(*project, exit, kGerman.primary, kGerman.sub, "&Beenden"));
    ASSERT_TRUE(project->SetExclude(exit, true));
    view.showLanguage(kGerman.primary, kGerman.sub);
    EXPECT_TRUE(view.translatedAction()->isEnabled());
    EXPECT_TRUE(view.translatedAction()->isChecked());
    EXPECT_EQ(view.itemOfLine(open)->text(0), "Ö&ffnen");
    EXPECT_EQ(Image(view.itemOfLine(open)), 8);
    EXPECT_EQ(Image(view.itemOfLine(close)), 10);
    // Excluded: the source text and image 16, here and in the source.
    EXPECT_EQ(view.itemOfLine(exit)->text(0), "Ex&it");
    EXPECT_EQ(Image(view.itemOfLine(exit)), 16);
    EXPECT_EQ(Image(file), 0);
    // Each state has an image of its own.
    std::vector<QImage> drawn;
    for (QTreeWidgetItem* item : {file, view.itemOfLine(open), view.itemOfLine(close), view.itemOfLine(exit)})
        drawn.push_back(item->icon(0).pixmap(16, 16).toImage());
    for (std::size_t i = 0; i < drawn.size(); ++i)
        for (std::size_t j = i + 1; j < drawn.size(); ++j)
            EXPECT_NE(drawn[i], drawn[j]) << i << " " << j;
    view.sourceAction()->trigger();
    EXPECT_TRUE(view.sourceShown());
    EXPECT_EQ(view.itemOfLine(open)->text(0), "&Open");
    EXPECT_EQ(Image(view.itemOfLine(exit)), 16);
    EXPECT_EQ(Image(file), 14);

    // The keyboard moves the selection, which is offered as the bar's item;
    // Enter asks to translate it.
    QSignalSpy selected(&view, &CDynMenuView::itemSelected);
    QSignalSpy translate(&view, &CDynMenuView::translateRequested);
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Down);
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front().front().toInt(), open);
    QTest::keyClick(w, Qt::Key_Return);
    ASSERT_EQ(translate.size(), 1);
    EXPECT_EQ(translate.front().front().toInt(), open);
    // A stored translation shows once the node is read again.
    ASSERT_TRUE(StoreTranslation(*project, LineOf("MenuItem", "2"), kGerman.primary, kGerman.sub, "Zu"));
    view.showLanguage(kGerman.primary, kGerman.sub);
    view.refreshLine(close);
    EXPECT_EQ(view.itemOfLine(close)->text(0), "Zu");
    EXPECT_EQ(Image(view.itemOfLine(close)), 8);
}

TEST_F(ScriptProject, BitmapViewDrawsFilesPerLanguage)
{
    WriteBytes(dir / "res" / "core.bmp", BitmapFileBytes(5, 4, true, 0, 0, 255));
    WriteBytes(dir / "res" / "topdown.bmp", BitmapFileBytes(6, -3, false, 0, 255, 0));
    WriteBytes(dir / "fr" / "res" / "core.bmp", BitmapFileBytes(30, 20, false, 255, 0, 0));
    Build("IDB_CORE BITMAP \"res/core.bmp\"\n");
    ASSERT_TRUE(AddLanguage(*project, kGerman.primary, kGerman.sub, 1252));
    ASSERT_TRUE(AddLanguage(*project, kFrench.primary, kFrench.sub, 1252));
    ASSERT_TRUE(SetTranslationFile(*project, kFrench.primary, kFrench.sub, {"fr/app_fr.rc", {}}));
    const std::int32_t line = LineOf("Bitmap", "IDB_CORE");
    CDynBitmapView view(*project, line, script);
    view.resize(200, 200);
    view.show();
    EXPECT_EQ(view.name(), "IDB_CORE");
    EXPECT_EQ(view.languagePaneText(), "Source Bitmap");
    EXPECT_EQ(view.progressPaneText(), "");
    // The 16-bit core header's size; drawn at the top left at its own size.
    ASSERT_TRUE(view.hasImage());
    EXPECT_EQ(view.extent(), QSize(5, 4));
    QWidget* canvas = view.scrollArea()->widget();
    const QImage shot = canvas->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(0, 0)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(shot.pixel(4, 3)), QColor(255, 0, 0));
    EXPECT_NE(QColor(shot.pixel(5, 4)), QColor(255, 0, 0));

    // French: the same relative name, beside the French script.
    view.showLanguage(kFrench.primary, kFrench.sub);
    EXPECT_EQ(view.extent(), QSize(30, 20));
    EXPECT_EQ(view.languagePaneText(), "French Bitmap");
    EXPECT_EQ(view.progressPaneText(), "Translated: 0%  Modified: 0%");
    // German stored an empty translation: the source bitmap.
    ASSERT_TRUE(StoreTranslation(*project, line, kGerman.primary, kGerman.sub, ""));
    view.showLanguage(kGerman.primary, kGerman.sub);
    EXPECT_EQ(view.extent(), QSize(5, 4));

    // A top-down bitmap is refused with a message; a missing one is named.
    QSignalSpy refused(&view, &CDynBitmapView::tooLarge);
    ASSERT_TRUE(StoreTranslation(*project, line, kGerman.primary, kGerman.sub, "res/topdown.bmp"));
    view.refresh();
    ASSERT_EQ(refused.size(), 1);
    EXPECT_EQ(refused.front().front().toString(), "Bitmap is too large.");
    EXPECT_FALSE(view.hasImage());
    EXPECT_EQ(view.progressPaneText(), "Translated: 100%  Modified: 0%");
    ASSERT_TRUE(StoreTranslation(*project, line, kGerman.primary, kGerman.sub, "res/gone.bmp"));
    view.refresh();
    EXPECT_EQ(refused.size(), 1);
    EXPECT_FALSE(view.hasImage());
    EXPECT_EQ(view.extent(), QSize(0, 0));
    EXPECT_EQ(view.missingText(), "res/gone.bmp\n(Bitmap file not found)");
    EXPECT_EQ(canvas->size(), view.scrollArea()->viewport()->size());
}

}  // namespace
}  // namespace qln::test
