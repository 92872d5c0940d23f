// Translation > Check Translation in the real main window: the findings of
// the current language fill the "Check Results" dock, and activating one
// selects its text in the text table.
#include "dialogs/dialogs_support.h"

#include "app/CheckCommands.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TextTableWiring.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "views/CheckResultsModel.h"
#include "views/TextListView.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDockWidget>
#include <QTableView>

#include <gtest/gtest.h>

namespace qln {
namespace {

class SilentPrompter : public Prompter {
public:
    void Show(QMessageBox::Icon, const QString&) override {}
    QMessageBox::StandardButton Ask(QMessageBox::Icon, const QString&, QMessageBox::StandardButtons) override
    {
        return QMessageBox::No;
    }
    void Beep() override {}
};

TEST(CheckCommand, FindingsOfTheCurrentLanguageLeadToTheirText)
{
    test::DemoProject demo;
    std::string broken;
    {
        CProjectDatabase project(demo.database);
        ASSERT_TRUE(AddLanguage(project, 7, 1, 1252));
        ASSERT_TRUE(AddLanguage(project, 12, 1, 1252));
        project.db().exec("UPDATE ResourceText SET German = SourceText, French = SourceText");
        // One German text loses its placeholder; French stays whole.
        sql::Statement st = project.db().prepare(
            "SELECT LineIndex FROM ResourceText WHERE SourceText LIKE '%\\%1%' ESCAPE '\\' ORDER BY LineIndex LIMIT 1");
        ASSERT_TRUE(st.step());
        broken = std::to_string(st.columnInt64(0));
        project.db().exec("UPDATE ResourceText SET German = 'kaputt' WHERE LineIndex = " + broken);
    }
    CSettings settings{QString::fromStdString((demo.dir / "qln40.ini").string())};
    SilentPrompter prompter;
    CTesselApp app{settings, prompter, test::TemplatePath()};
    ASSERT_TRUE(app.InitInstance(QString::fromStdString(demo.script.string())));
    CMainFrame& frame = *app.mainFrame();
    auto* checks = frame.QObject::findChild<CCheckCommands*>("CheckCommands");
    ASSERT_TRUE(checks);
    QAbstractItemModelTester tester(checks->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    CTextListView* view = ActiveTextTable(frame);
    ASSERT_TRUE(view);
    QAction* command = frame.command(cmd::CheckTranslation);
    ASSERT_TRUE(command && command->isEnabled());

    view->selectLanguage(12, 1);
    command->trigger();
    EXPECT_TRUE(checks->dock()->isVisible());
    for (int row = 0; row < checks->model()->rowCount(); ++row)
        EXPECT_NE(checks->model()->finding(row)->check, "placeholders") << "French has no placeholder fault";

    view->selectLanguage(7, 1);
    command->trigger();
    int found = -1;
    for (int row = 0; row < checks->model()->rowCount(); ++row)
        if (checks->model()->finding(row)->check == "placeholders")
            found = row;
    ASSERT_GE(found, 0);
    EXPECT_EQ(std::to_string(checks->model()->finding(found)->lineIndex), broken);

    view->selectLanguage(12, 1);  // the finding takes the table back to its own language
    checks->table()->setCurrentIndex(checks->model()->index(found, 0));
    emit checks->table()->activated(checks->model()->index(found, 0));
    ASSERT_TRUE(view->selectedRow());
    EXPECT_EQ(std::to_string(view->selectedRow()->lineIndex), broken);
    EXPECT_EQ(view->currentLanguage()->primary, 7);
}

}  // namespace
}  // namespace qln
