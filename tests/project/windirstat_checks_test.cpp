// The translation checks on a real translation: windirstat's German script,
// imported into the project of its English one. Each finding below was
// looked at by hand against both scripts; all are real differences from the
// source, and all warnings are real faults of the German translation.

#include "import_support.h"

#include "project/ImportScript.h"
#include "project/TranslationChecks.h"
#include "projectdb/ProjectDatabase.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace qln {
namespace {

namespace fs = std::filesystem;

using Place = std::pair<std::string, std::string>;  // resource, item identifier

bool HaveDialogFonts()
{
    return fs::exists("/usr/share/wine/fonts/ms_sans_serif.ttf") && fs::exists("/usr/share/wine/fonts/tahoma.ttf");
}

TEST(WindirstatChecks, GermanTranslationFindingsAreItsRealFaults)
{
    const fs::path corpus = fs::path(QLN_CORPUS_DIR) / "windirstat";
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "corpus folder " << corpus << " is absent";
    test::TempDir work;
    fs::copy(corpus, work / "windirstat", fs::copy_options::recursive);
    const fs::path dir = work / "windirstat" / "windirstat";
    const fs::path db = dir / "windirstat_rc.mdb";
    ASSERT_TRUE(test::BuildFile(dir / "windirstat.rc", db).ok());
    const ImportResult imported = ImportTranslatedScript(db, dir / "res" / "wdsr0407" / "windirstat.rc", {7, 1});
    ASSERT_EQ(imported.status, ImportStatus::Imported) << imported.message;

    CProjectDatabase project(db);
    const checks::CheckRun run = checks::CheckTranslation(project, "German");
    std::map<std::string, std::set<Place>> found;
    std::map<std::string, int> counts;
    for (const checks::Finding& f : run.findings) {
        found[f.check].insert({f.resourceIdent, f.idText});
        ++counts[f.check];
    }

    // Placeholders survive, and every text is translated.
    EXPECT_EQ(counts["placeholders"], 0);
    EXPECT_EQ(counts["untranslated"], 0);
    EXPECT_EQ(counts["encoding"], 0);
    // Hotkeys the translators gave twice on one menu level or in one dialog:
    // "&Baumkarte" beside "&Bearbeiten", "Zum &Elternelement" and "&Explorer
    // hier starten" beside "Hin&einzoomen", "&Abbrechen" beside
    // "Her&auszoomen", "&Kommandozeile" beside "A&ktualisierung", "&KDirStat"
    // beside "&Kissen-effekt".
    const std::set<Place> hotkeys = {{"IDR_MAINFRAME", "\"Popup\""},        {"IDR_MAINFRAME", "ID_TREEMAP_SELECTPARENT"},
                                     {"IDR_POPUPGRAPH", "ID_TREEMAP_SELECTPARENT"}, {"IDR_POPUPGRAPH", "32774"},
                                     {"IDR_POPUPGRAPH", "ID_POPUP_CANCEL"},   {"IDD_PAGE_CLEANUPS", "IDC_STATIC"},
                                     {"IDD_PAGE_TREEMAP", "IDC_KDIRSTAT"}};
    EXPECT_EQ(found["hotkeys"], hotkeys);
    // The restart question holds the English text beside the German one.
    EXPECT_EQ(found["spacing"], (std::set<Place>{{"STRINGTABLE", "IDS_LANGUAGERESTARTNOW"}}));
    // Final marks: nine status texts gained a full stop, "Don't show this
    // warning again." lost one, and "&Help" became "&?" (the German habit:
    // a real difference, but meant).
    EXPECT_EQ(counts["punctuation"], 11);
    EXPECT_TRUE(found["punctuation"].count({"IDD_DELETE_WARNING", "IDC_DONTSHOWAGAIN"}));
    EXPECT_TRUE(found["punctuation"].count({"STRINGTABLE", "AFX_IDS_SCCLOSE"}));

    if (!HaveDialogFonts())
        return;
    // Longer German labels in controls sized for the English ones (measured
    // in the dialogs' MS Shell Dlg, 8 points). "%sp Kompletter Pfad des
    // Unterverzeichnisses" wraps to two lines in a one-line label.
    const std::set<Place> clipped = {{"IDD_PAGE_CLEANUPS", "IDC_HINTSP"},
                                     {"IDD_PAGE_CLEANUPS", "IDC_WORKSFORFILESFOLDER"},
                                     {"IDD_PAGE_TREEMAP", "IDC_STATIC"},
                                     {"IDD_PAGE_TREEMAP", "IDC_TREEMAPGRID"},
                                     {"IDD_PAGE_GENERAL", "IDC_FULLROWSELECTION"}};
    EXPECT_EQ(found["clipped"], clipped);
    EXPECT_EQ(counts["overlap"], 0);
}

}  // namespace
}  // namespace qln
