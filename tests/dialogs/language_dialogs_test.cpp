// Translation > New... and Delete... with the real dialogs, driven by keys.
#include "dialogs/dialogs_support.h"

#include "app/dialogs/FontField.h"
#include "app/dialogs/LanguageDialogs.h"
#include "project/OptionRules.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace qln {
namespace {

using test::DemoProject;
using test::Press;
using test::ScriptedPrompts;
using ui::NewTranslationDialog;

// Picks a language in the list by typing its name's beginning.
void PickLanguage(NewTranslationDialog& dialog, const char* typed)
{
    dialog.languageList()->setFocus();
    // A new search, not the continuation of the last one.
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    QTest::keyClicks(dialog.languageList(), QString::fromUtf8(typed));
}

TEST(NewTranslationDialog, EnterAddsTheLanguageWithItsDefaultsAndEscapeCancels)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    ScriptedPrompts prompts;
    prompts.drive = [](QDialog& d) {
        auto& dialog = static_cast<NewTranslationDialog&>(d);
        PickLanguage(dialog, "Germ");
        EXPECT_EQ(dialog.languageList()->currentItem()->text(), "German");
        EXPECT_EQ(dialog.codePageBox()->currentData().toInt(), 1252);
        EXPECT_EQ(dialog.fileEdit()->text(), "demo_0407.rc");
        // The font button's mnemonic reaches the font chooser.
        QTest::keyClick(dialog.windowHandle(), Qt::Key_O, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.fontField()->font().name == "DejaVu Serif"; }));
        QTest::keyClick(dialog.windowHandle(), Qt::Key_F, Qt::AltModifier);
        EXPECT_TRUE(dialog.fileEdit()->hasFocus());
        Press(dialog, Qt::Key_Return);
    };
    const auto added = ui::RunNewTranslationCommand(nullptr, project, demo.script, prompts);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->primary, 7);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(HasLanguageColumn(project, 7, 1));
    EXPECT_EQ(GetTranslationFile(project, 7, 1)->fileName, "demo_0407.rc");
    EXPECT_EQ(ReadTranslationSettings(project, {7, 1}).font.name, "DejaVu Serif");

    prompts.drive = [](QDialog& dialog) { Press(dialog, Qt::Key_Escape); };
    EXPECT_FALSE(ui::RunNewTranslationCommand(nullptr, project, demo.script, prompts));
    EXPECT_EQ(ListLanguages(project).size(), 1u);
}

TEST(NewTranslationDialog, RefusalsKeepTheDialogOpen)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    ASSERT_EQ(AddTranslation(project, demo.script, {{7, 1}, 1252, "demo_0407.rc", {}}).status, LanguageStatus::Ok);
    ScriptedPrompts prompts;
    prompts.answers = {false, true};
    prompts.drive = [&](QDialog& d) {
        auto& dialog = static_cast<NewTranslationDialog&>(d);
        // The first language the project lacks is preselected, German is taken.
        EXPECT_EQ(dialog.languageList()->currentItem()->text(), "Neutral");
        PickLanguage(dialog, "German");
        Press(dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        PickLanguage(dialog, "French");
        EXPECT_EQ(dialog.languageList()->currentItem()->text(), "French");
        dialog.fileEdit()->setText("demo.rc");
        Press(dialog, Qt::Key_Return);
        dialog.fileEdit()->setText("demo_0407.rc");
        Press(dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog.fileEdit()->hasFocus());
        // An existing file: No keeps the dialog open, Yes takes the name.
        dialog.fileEdit()->setText("translations/demo_fr.rc");
        Press(dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        Press(dialog, Qt::Key_Return);
    };
    ASSERT_TRUE(ui::RunNewTranslationCommand(nullptr, project, demo.script, prompts));
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{
                                   "The language  German  already exists. ",
                                   std::string(msg::TranslationFileIsSource),
                                   "The file name demo_0407.rc is already use by an other translation.",
                               }));
    EXPECT_EQ(prompts.shown[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(prompts.asked.size(), 2u);
    // Outside the script's folder the name is stored in full.
    EXPECT_EQ(GetTranslationFile(project, 12, 1)->fileName, (demo.dir / "translations" / "demo_fr.rc").string());
}

TEST(DeleteTranslationDialog, AsksAndDeletesTheChosenTranslation)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    ScriptedPrompts prompts;
    EXPECT_FALSE(ui::RunDeleteTranslationCommand(nullptr, project, prompts));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"There is no translation to delete."});

    AddTranslation(project, demo.script, {{7, 1}, 1252, "demo_0407.rc", {}});
    AddTranslation(project, demo.script, {{12, 1}, 1252, "demo_040c.rc", {}});
    prompts.drive = [](QDialog& d) {
        auto& dialog = static_cast<ui::DeleteTranslationDialog&>(d);
        EXPECT_EQ(dialog.list()->count(), 2);
        Press(dialog, Qt::Key_Down);
        Press(dialog, Qt::Key_Return);
    };
    EXPECT_FALSE(ui::RunDeleteTranslationCommand(nullptr, project, prompts));  // answered No
    EXPECT_EQ(ListLanguages(project).size(), 2u);
    prompts.answers = {true};
    const auto deleted = ui::RunDeleteTranslationCommand(nullptr, project, prompts);
    ASSERT_TRUE(deleted);
    EXPECT_EQ(prompts.asked.back(), "Do you realy want to delete the translation French ?");
    EXPECT_FALSE(HasLanguageColumn(project, 12, 1));
    EXPECT_TRUE(HasLanguageColumn(project, 7, 1));
}

}  // namespace
}  // namespace qln
