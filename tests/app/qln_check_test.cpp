// qln-check on real project databases: the demo project with the translators'
// scripts imported, a German text broken on purpose, the report formats, and
// pseudo-translations that must still compile with their placeholders and
// hotkeys intact.

#include "app/batch_support.h"
#include "project/TextChecks.h"
#include "project/compile_support.h"
#include "projectdb/lock_holder.h"
#include "rcscript/RcParser.h"
#include "rcscript/RcStatement.h"
#include "rcscript/ScriptDecoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

RunResult Check(const fs::path& dir, const std::vector<std::string>& args)
{
    return RunProgram(QLN_CHECK_PATH, dir, args);
}

// The demo project with German and French imported from the translators' scripts.
class CheckedDemo : public DemoCopy {
public:
    CheckedDemo()
    {
        Run({"/C", "demo.rc"}, 0);
        Run({"/A", "demo_rc.mdb", "German", "demo_de.rc"}, 0);
        Run({"/A", "demo_rc.mdb", "French", "demo_fr.rc"}, 0);
        Run({"/I", "translations/demo_de.rc", "German", "demo_rc.mdb"}, 0);
        Run({"/I", "translations/demo_fr.rc", "French", "demo_rc.mdb"}, 0);
    }
    fs::path db() const { return path() / "demo_rc.mdb"; }
};

// Placeholder and hotkey counts of every text of a script, in order.
std::vector<std::pair<std::size_t, std::size_t>> MarkCounts(const fs::path& script)
{
    DecodedScript decoded;
    std::string error;
    EXPECT_TRUE(LoadScriptFile(script, decoded, error)) << error;
    CRcParser parser(decoded.text);
    std::vector<std::pair<std::size_t, std::size_t>> counts;
    CRcStatement st;
    while (parser.ParseStatement(st) >= 0 && st.error == 0 && st.kind != kind::EndOfInput)
        if (st.HasText())
            counts.emplace_back(checks::FindPlaceholders(st.SourceText()).size(),
                                checks::FindHotkeys(st.SourceText()).size());
    return counts;
}

TEST(QlnCheck, DemoFrenchPassesAndAPlaceholderLostInGermanFails)
{
    CheckedDemo demo;
    const RunResult french = Check(demo.path(), {"demo_rc.mdb", "French"});
    EXPECT_EQ(french.exitCode, 0) << french.out << french.err;
    // The French menu bar really gives "a" twice: "&Affichage" and "&Aide".
    EXPECT_NE(french.out.find("[hotkeys] IDR_MAINFRAME"), std::string::npos) << french.out;

    EXPECT_EQ(Check(demo.path(), {"demo_rc.mdb", "German"}).exitCode, 0);
    const std::string line = QueryValue(demo.db(),
        "SELECT LineIndex FROM ResourceText WHERE SourceText LIKE '%\\%1%' ESCAPE '\\' "
        "AND coalesce(German, '') <> '' LIMIT 1");
    ASSERT_FALSE(line.empty());
    Execute(demo.db(), "UPDATE ResourceText SET German = replace(German, '%1', '') WHERE LineIndex = " + line);
    const RunResult german = Check(demo.path(), {"demo_rc.mdb", "German"});
    EXPECT_EQ(german.exitCode, 1) << german.out;
    EXPECT_NE(german.out.find("German:" + line + ": error [placeholders]"), std::string::npos) << german.out;
    // The same run twice prints the same bytes; a looser threshold passes.
    EXPECT_EQ(Check(demo.path(), {"demo_rc.mdb", "German"}).out, german.out);
    EXPECT_EQ(Check(demo.path(), {"demo_rc.mdb", "German", "--max-severity", "error"}).exitCode, 0);
    EXPECT_EQ(Check(demo.path(), {"demo_rc.mdb", "German", "--checks", "spacing,hotkeys"}).exitCode, 0);
}

TEST(QlnCheck, JunitAndJsonReportsAreReadByStandardParsers)
{
    CheckedDemo demo;
    Execute(demo.db(), "UPDATE ResourceText SET German = 'Datei %d' WHERE SourceText LIKE '%\\%1%' ESCAPE '\\'");
    const RunResult junit = Check(demo.path(), {"demo_rc.mdb", "--format", "junit"});
    EXPECT_EQ(junit.exitCode, 1);
    WriteText(demo.path() / "report.xml", junit.out);
    // Every suite and case carries the attributes a junit reader requires.
    const std::string junitCheck =
        "python3 -c \"import sys, xml.etree.ElementTree as E; r = E.parse(sys.argv[1]).getroot(); "
        "assert r.tag == 'testsuites'; s = r.findall('testsuite'); assert [x.get('name') for x in s] == ['German', "
        "'French'], s; assert all(x.get('tests') and x.get('failures') for x in s); "
        "c = [t for x in s for t in x.findall('testcase')]; assert all(t.get('name') and t.get('classname') for t in c); "
        "f = [t.get('name') for t in s[0].findall('testcase') if t.find('failure') is not None]; "
        "assert f == ['placeholders'], f; assert not s[1].findall('testcase/failure')\" " +
        (demo.path() / "report.xml").string();
    EXPECT_EQ(std::system(junitCheck.c_str()), 0) << junit.out;

    const RunResult json = Check(demo.path(), {"demo_rc.mdb", "German", "--format", "json"});
    WriteText(demo.path() / "report.json", json.out);
    const std::string jsonCheck =
        "python3 -c \"import sys, json; d = json.load(open(sys.argv[1])); l = d['languages'][0]; "
        "assert l['language'] == 'German' and l['failures'] > 0; "
        "assert all(set(f) >= {'check','severity','lineIndex','resource','itemType','id','source','translation',"
        "'message'} for f in l['findings'])\" " +
        (demo.path() / "report.json").string();
    EXPECT_EQ(std::system(jsonCheck.c_str()), 0) << json.out;
}

TEST(QlnCheck, RefusesWhatItCannotCheck)
{
    CheckedDemo demo;
    EXPECT_EQ(Check(demo.path(), {}).exitCode, 2);
    EXPECT_EQ(Check(demo.path(), {"missing.mdb"}).exitCode, 2);
    EXPECT_EQ(Check(demo.path(), {"demo_rc.mdb", "Spanish"}).exitCode, 2);
    EXPECT_EQ(Check(demo.path(), {"demo_rc.mdb", "--checks", "spelling"}).exitCode, 2);
    EXPECT_EQ(Check(demo.path(), {"demo_rc.mdb", "--format", "html"}).exitCode, 2);
    EXPECT_EQ(Check(demo.path(), {"--pseudo", "demo_rc.mdb", "German", "--expand", "-5"}).exitCode, 2);
    // While another process changes the project, neither checks nor pseudo-translation run.
    LockHolder holder(demo.db(), LockMode::Exclusive);
    const RunResult held = Check(demo.path(), {"--pseudo", "demo_rc.mdb", "German"});
    EXPECT_EQ(held.exitCode, 2);
    EXPECT_NE(held.err.find("in use by another process"), std::string::npos) << held.err;
    EXPECT_EQ(QueryValue(demo.db(), "SELECT count(*) FROM ResourceText WHERE German LIKE '[%]'"), "0");
}

TEST(QlnCheck, PseudoFillsOnlyEmptyTranslationsAndTheScriptCompiles)
{
    CheckedDemo demo;
    const std::string real = "SELECT group_concat(LineIndex || ':' || German, '|') FROM ResourceText WHERE "
                             "coalesce(German, '') <> '' AND German NOT LIKE '[%]'";
    const std::string before = QueryValue(demo.db(), real);
    const RunResult pseudo = Check(demo.path(), {"--pseudo", "demo_rc.mdb", "German"});
    ASSERT_EQ(pseudo.exitCode, 0) << pseudo.err;
    // Real translations stay; every filled one is flagged for review.
    EXPECT_EQ(QueryValue(demo.db(), real), before);
    EXPECT_NE(QueryValue(demo.db(), "SELECT count(*) FROM ResourceText WHERE German LIKE '[%]'"), "0");
    EXPECT_EQ(QueryValue(demo.db(), "SELECT count(*) FROM ResourceText WHERE German LIKE '[%]' AND "
                                    "coalesce(German_Modified, 0) = 0"),
              "0");
    EXPECT_EQ(Check(demo.path(), {"demo_rc.mdb", "German", "--checks", "placeholders,encoding"}).exitCode, 0);

    demo.Run({"/RC", "demo_rc.mdb", "German", "demo_de.rc"}, 0);
    EXPECT_EQ(MarkCounts(demo.path() / "demo_de.rc"), MarkCounts(demo.path() / "demo.rc"));
    if (ResourceCompilerAvailable()) {
        EXPECT_TRUE(CompiledResources(demo.path() / "demo_de.rc")) << "the pseudo-translated script must compile";
    }
}

}  // namespace
}  // namespace qln::test
