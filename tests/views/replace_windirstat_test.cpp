// A real translation end to end: windirstat's German script is imported into
// the project of its English source, one German word is replaced everywhere
// through the "Replace" dialog and the translation bar, and the German script
// written before and after must compile to the same texts but for exactly
// those replacements.

#include "views_support.h"

#include "project/ImportScript.h"
#include "project/TextForms.h"
#include "project/TranslationWriter.h"
#include "project/compiled_texts.h"
#include "views/FindDialogs.h"

#include <QComboBox>
#include <QSignalSpy>

#include <map>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

TEST(ReplaceWindirstat, ReplaceAllInGermanWritesAndCompilesWithExactlyThoseReplacements)
{
    const fs::path corpus = fs::path(QLN_CORPUS_DIR) / "windirstat";
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "corpus folder " << corpus << " is absent";
    const fs::path tools = fs::path(QLN_CORPUS_DIR).parent_path() / "tools";
    if (!CompilerAvailable(tools))
        GTEST_SKIP() << "rc2dump.sh or windres is missing";
    auto app = MakeApplication();
    TempDir work;
    fs::copy(corpus, work / "windirstat", fs::copy_options::recursive);
    const fs::path dir = work / "windirstat" / "windirstat";
    const fs::path source = dir / "windirstat.rc";
    const fs::path db = dir / "windirstat_rc.mdb";
    ASSERT_TRUE(BuildProjectDatabase(source, db, NoProgress(), TemplatePath()).ok());
    const ImportResult imported = ImportTranslatedScript(db, dir / "res" / "wdsr0407" / "windirstat.rc", kGerman);
    ASSERT_EQ(imported.status, ImportStatus::Imported) << imported.message;

    auto project = std::make_unique<CProjectDatabase>(db);
    const fs::path before = dir / "windirstat_de_before.rc";
    ASSERT_EQ(WriteTranslatedScript(before, source, *project, kGerman.primary, kGerman.sub).status,
              WriteStatus::Written);

    QUndoStack undo;
    QMainWindow window;
    auto* view = new CTextListView(&window);
    window.setCentralWidget(view);
    auto* bar = new CTranslationBar(&window);
    window.addDockWidget(Qt::BottomDockWidgetArea, bar);
    view->setProject(project.get(), &undo);
    bar->attachView(view);
    window.show();
    const TextTable imports = view->textModel()->table();  // the German texts as imported

    // "Verzeichnis" as a whole word, in capitals as written: not in "Verzeichnisname".
    CTextFinder* finder = CTextFinder::of(view);
    QSignalSpy messages(finder, &CTextFinder::message);
    CReplaceDialog dialog(*finder, *bar, {"German"}, {{}, {}, {true, true}, {}}, &window);
    dialog.findCombo()->setEditText("Verzeichnis");
    dialog.replaceCombo()->setEditText("Ordner");
    dialog.replaceAllButton()->click();
    ASSERT_EQ(messages.count(), 1);
    const QString reported = messages.first().at(0).toString();
    TextMatcher matcher("Verzeichnis", {true, true});
    int count = 0;  // the hits in the German texts the bar can store
    for (const TextTableRow& row : imports.rows) {
        int n = 0;
        if (CellReplaceable(row, 2))
            ReplaceAllInText(CellDisplayText(row, 2), matcher, "Ordner", n);
        count += n;
    }
    ASSERT_GE(count, 3);
    EXPECT_EQ(reported, QStringLiteral("Verzeichnis replaced  %1 times.").arg(count));

    // Stored: every German text is the imported one with the word replaced.
    int changedTexts = 0;
    for (const TextTableRow& row : imports.rows) {
        const auto stored = project->GetText(row.lineIndex, kGerman.primary, kGerman.sub);
        ASSERT_TRUE(stored);
        int n = 0;
        const std::string expected = ReplaceAllInText(CellDisplayText(row, 2), matcher, "Ordner", n);
        if (n == 0 || !CellReplaceable(row, 2)) {
            EXPECT_EQ(stored->translation.value_or(""), row.translations[0]) << row.sourceText;
            continue;
        }
        ++changedTexts;
        EXPECT_EQ(ToDisplayForm(stored->translation.value_or("")), expected) << row.sourceText;
    }
    EXPECT_GE(changedTexts, 3);

    // Saved and compiled: the same texts as before, but for those replacements.
    const fs::path after = dir / "windirstat_de_after.rc";
    ASSERT_EQ(WriteTranslatedScript(after, source, *project, kGerman.primary, kGerman.sub).status,
              WriteStatus::Written);
    const auto compiledBefore = CompiledTexts(tools, dir, before.filename(), work / "before.txt");
    const auto compiledAfter = CompiledTexts(tools, dir, after.filename(), work / "after.txt");
    ASSERT_FALSE(compiledBefore.empty()) << "the German script written before does not compile";
    ASSERT_FALSE(compiledAfter.empty()) << "the German script written after does not compile";
    ASSERT_EQ(compiledBefore.size(), compiledAfter.size());
    int compiledReplacements = 0;
    for (const auto& [key, text] : compiledBefore) {
        int n = 0;
        const std::string expected = ReplaceAllInText(text, matcher, "Ordner", n);
        compiledReplacements += n;
        const auto found = compiledAfter.find(key);
        ASSERT_NE(found, compiledAfter.end()) << key;
        EXPECT_EQ(found->second, expected) << key;
    }
    EXPECT_EQ(compiledReplacements, count);
    // "Datei/Verzeichnisname" kept its compound word.
    bool compoundKept = false;
    for (const auto& [key, text] : compiledAfter)
        compoundKept = compoundKept || text.find("Verzeichnisname") != std::string::npos;
    EXPECT_TRUE(compoundKept);

    // One undo takes every replacement back.
    undo.undo();
    for (const TextTableRow& row : imports.rows)
        EXPECT_EQ(project->GetText(row.lineIndex, kGerman.primary, kGerman.sub)->translation.value_or(""),
                  row.translations[0]);
}

}  // namespace
}  // namespace qln::test
