// The translation bar on the demo project: display and script forms, the
// enable rules, excluded items, OK Next, the dialogs it opens, its stored
// size; and a whole round driven by the keyboard, saved and compiled.

#include "views_support.h"

#include "project/TranslationWriter.h"
#include "project/compile_support.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QSettings>
#include <QTimer>

#include <fstream>
#include <sstream>

namespace qln::test {
namespace {

// Runs `action` on the modal dialog the next call opens.
template <typename Action>
void OnNextDialog(Action action)
{
    QTimer::singleShot(0, [action] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        action(dialog);
    });
}

class Bar : public DemoWindow {
protected:
    // Selects the row of a source text in the German column.
    void Select(const std::string& source)
    {
        const int row = RowOf(source);
        ASSERT_GE(row, 0) << source;
        view->selectRow(row, false);
        ASSERT_EQ(bar->item().sourceText, source);
    }
    void Type(const QString& text) { QTest::keyClicks(bar->translationEdit(), text); }
    QString Shown() { return bar->translationEdit()->toPlainText(); }
};

TEST_F(Bar, QuotesAreShownOnceAndStoredDoubled)
{
    Open();
    Select("Ready");
    Type("\"");
    EXPECT_EQ(Shown(), "\"");
    Button(msg::BarOk)->click();
    EXPECT_EQ(Stored(LineOf("Ready")), "\"\"");
    EXPECT_EQ(Shown(), "\"");

    const std::int32_t line = LineOf("Length");
    ASSERT_TRUE(project->SetTranslation(line, kGerman.primary, kGerman.sub, "a \\\"b\\\"", false));
    view->reload();
    Select("Length");
    EXPECT_EQ(Shown(), "a \"b\"");
    Button(msg::BarOk)->click();
    EXPECT_EQ(Stored(line), "a \"\"b\"\"");

    Select("The unit \"\"%1\"\" is not known.");
    EXPECT_EQ(bar->sourceEdit()->toPlainText(), "The unit \"%1\" is not known.");
    Button(msg::BarCopy)->click();
    Button(msg::BarOk)->click();
    EXPECT_EQ(Stored(LineOf("The unit \"\"%1\"\" is not known.")), "The unit \"\"%1\"\" is not known.");
}

TEST_F(Bar, CopyIsOnlyForAnEmptyTranslationAndModifiedTextsAreRed)
{
    const std::int32_t mass = LineOf("Mass");
    Open();
    Select("Metre");
    EXPECT_TRUE(Button(msg::BarCopy)->isEnabled());
    EXPECT_FALSE(Button(msg::BarSourceText)->isEnabled());
    Type("M");
    EXPECT_FALSE(Button(msg::BarCopy)->isEnabled());
    EXPECT_TRUE(bar->isEdited());
    QTest::keyClick(bar->translationEdit(), Qt::Key_Backspace);
    EXPECT_TRUE(Button(msg::BarCopy)->isEnabled());

    ASSERT_TRUE(project->SetTranslation(LineOf("Mass"), kGerman.primary, kGerman.sub, "Masse", true));
    (void)mass;
    view->reload();
    Select("Mass");
    EXPECT_EQ(bar->translationEdit()->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_TRUE(Button(msg::BarSourceText)->isEnabled());
    Button(msg::BarOk)->click();  // an unchanged text is stored too and is current now
    EXPECT_FALSE(project->GetText(LineOf("Mass"), kGerman.primary, kGerman.sub)->notActual);
    EXPECT_EQ(bar->translationEdit()->palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_FALSE(model().row(RowOf("Mass"))->modified[0]);
}

TEST_F(Bar, AnExcludedItemTakesNoInputButCancelNextMovesOn)
{
    Open();
    const int row = RowOf("Ready");
    view->selectRow(row, true);
    view->excludeItem();
    ASSERT_TRUE(bar->item().excluded);
    EXPECT_EQ(Shown(), "");
    EXPECT_TRUE(bar->translationEdit()->isReadOnly());
    Type("typed");
    EXPECT_EQ(Shown(), "");
    EXPECT_FALSE(Button(msg::BarOkNext)->isEnabled());
    EXPECT_FALSE(Button(msg::BarChar)->isEnabled());
    EXPECT_TRUE(Button(msg::BarCancelNext)->isEnabled());
    Button(msg::BarCancelNext)->click();
    EXPECT_NE(view->selectedRowIndex(), row);
    EXPECT_EQ(Stored(LineOf("Ready")), std::nullopt);
}

TEST_F(Bar, OkNextOnTheLastUntranslatedTextMovesToTheFollowingRow)
{
    Open();
    const int target = RowOf("Mass");
    for (int r = 0; r < model().rowCount(); ++r)
        if (r != target) {
            ASSERT_TRUE(view->storeTranslation(model().row(r)->lineIndex, kGerman.primary, kGerman.sub, "x"));
        }
    view->selectRow(target, false);
    Type("Masse");
    QTest::keyClick(bar->translationEdit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Stored(LineOf("Mass")), "Masse");
    EXPECT_EQ(view->selectedRowIndex(), target + 1);
}

TEST_F(Bar, SpecialCharactersAndTheBlockHeaderEditor)
{
    Open();
    Select("Length");
    Type("L");
    OnNextDialog([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Special Characters");
        EXPECT_EQ(dialog->height(), 8 * 19 + 74);
        dialog->findChild<QPushButton*>("char228")->click();
    });
    Button(msg::BarChar)->click();
    Type("nge");
    EXPECT_EQ(Shown(), "Länge");

    // The version block header shows its language and code page; the editor makes its name.
    int header = -1;
    for (int r = 0; r < model().rowCount(); ++r)
        if (model().row(r)->category == category::BlockHeader)
            header = r;
    ASSERT_GE(header, 0);
    view->selectRow(header, false);
    EXPECT_EQ(bar->sourceEdit()->toPlainText(), "English US,   Code page:  1252");
    EXPECT_TRUE(bar->blockHeaderEdit()->isVisible());
    EXPECT_FALSE(Button(msg::BarChar)->isEnabled());
    OnNextDialog([](QWidget* dialog) {
        auto* language = dialog->findChild<QComboBox*>();
        language->setCurrentIndex(language->findText("German"));
        qobject_cast<QDialog*>(dialog)->accept();
    });
    bar->editBlockHeader();
    EXPECT_EQ(bar->blockHeaderEdit()->text(), "German,   Code page:  1252");
    Button(msg::BarOk)->click();
    EXPECT_EQ(Stored(model().row(header)->lineIndex), "040704E4");
}

TEST_F(Bar, SizeAndSideAreKeptUnderGeneralBar5)
{
    Open();
    const QString ini = QString::fromStdString((dir / "qln40.ini").string());
    {
        QSettings settings(ini, QSettings::IniFormat);
        bar->resize(500, 130);
        bar->saveSettings(settings, Qt::TopDockWidgetArea);
    }
    QSettings settings(ini, QSettings::IniFormat);
    EXPECT_EQ(settings.value("General-Bar5/CX").toInt(), bar->width());
    QSize size(10, 10);
    EXPECT_EQ(CTranslationBar::restoreSettings(settings, size), Qt::TopDockWidgetArea);
    EXPECT_EQ(size, bar->size());
    settings.setValue("General-Bar5/CY", 30);
    size = QSize(10, 10);
    CTranslationBar::restoreSettings(settings, size);
    EXPECT_EQ(size, QSize(10, 10));  // 40 or less keeps the default
}

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(Bar, KeyboardRoundIsSavedCompiledAndUndone)
{
    Open();
    view->setFocus();
    view->selectRow(0, true);
    QTest::keyClick(view, Qt::Key_F4);
    ASSERT_TRUE(bar->translationEdit()->hasFocus() || bar->blockHeaderEdit()->hasFocus());
    if (bar->item().excluded || !bar->item().translation.empty())
        QTest::keyClick(bar->translationEdit(), Qt::Key_Down, Qt::AltModifier);
    std::vector<std::pair<std::int32_t, std::string>> done;
    for (const QString& typed : {QStringLiteral("Erster Text"), QStringLiteral("Zweiter \"Text\""),
                                QStringLiteral("Dritter Text")}) {
        ASSERT_FALSE(bar->item().excluded);
        done.emplace_back(bar->item().lineIndex, typed.toStdString());
        QTest::keyClicks(bar->translationEdit(), typed);
        QTest::keyClick(bar->translationEdit(), Qt::Key_Return);
    }
    // Back in the table, the next text is excluded.
    QTest::keyClick(bar->translationEdit(), Qt::Key_Escape);
    ASSERT_TRUE(view->hasFocus());
    const std::int32_t excluded = view->selectedRow()->lineIndex;
    const std::string excludedSource = view->selectedRow()->sourceText;
    QTest::keyClick(view, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(project->GetText(excluded, kGerman.primary, kGerman.sub)->exclude);
    EXPECT_EQ(Stored(done[0].first), "Erster Text");
    EXPECT_EQ(Stored(done[1].first), "Zweiter \"\"Text\"\"");
    EXPECT_EQ(Stored(done[2].first), "Dritter Text");

    const TranslationsWriteResult written = WriteTranslations(*project, script);
    ASSERT_EQ(written.written, 1) << (written.results.empty() ? "" : written.results[0].message);
    const std::filesystem::path german = written.results[0].path;
    const std::string text = ReadAll(german);
    EXPECT_NE(text.find("\"Zweiter \"\"Text\"\"\""), std::string::npos);
    EXPECT_NE(text.find("\"" + excludedSource + "\""), std::string::npos);
    if (!ResourceCompilerAvailable()) {
        GTEST_SKIP() << "the resource compiler tools or windres are missing; the script was not compiled";
    }
    const auto resources = CompiledResources(german);
    ASSERT_TRUE(resources) << "the written script does not compile";
    EXPECT_NE(resources->find("Erster Text"), std::string::npos);
    EXPECT_NE(resources->find("\"Zweiter \\\"Text\\\"\""), std::string::npos);
    EXPECT_NE(resources->find("Dritter Text"), std::string::npos);

    // Undo the last store, then the one before: the rows are as they were.
    undo->undo();  // the exclusion
    EXPECT_FALSE(project->GetText(excluded, kGerman.primary, kGerman.sub)->exclude);
    undo->undo();
    EXPECT_EQ(Stored(done[2].first), std::nullopt);
    EXPECT_TRUE(model().row(view->rowOfLine(done[2].first))->translations[0].empty());
    EXPECT_EQ(Stored(done[1].first), "Zweiter \"\"Text\"\"");
}

}  // namespace
}  // namespace qln::test
