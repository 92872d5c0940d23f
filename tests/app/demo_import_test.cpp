// The demo pipeline with the translators' scripts of examples/demo/translations:
// import both into a fresh project, count what each brought, write the German
// script and see the imported texts in it, with English where German is missing.

#include "app/batch_support.h"
#include "rcscript/Messages.h"
#include "rcscript/RcParser.h"
#include "rcscript/RcStatement.h"
#include "rcscript/ScriptDecoder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

// Texts of demo.rc that a translated script can bring, counted by hand: menu
// 5 popups + 14 items, the converter dialog 1 caption + 12 controls, options
// 1 + 11, about 1 + 4, 8 version values, 26 strings and the bitmap file name.
constexpr int kDemoTexts = 84;

struct ScriptText {
    int kind = 0;
    std::string name;  // Name_ID: string, control, menu item or value name
    std::string text;  // as written between the quotes, read as UTF-8
};

// Every text of a script, in order.
std::vector<ScriptText> TextsOf(const fs::path& file)
{
    DecodedScript decoded;
    std::string error;
    EXPECT_TRUE(LoadScriptFile(file, decoded, error)) << error;
    CRcParser parser(decoded.text);
    std::vector<ScriptText> texts;
    CRcStatement st;
    while (parser.ParseStatement(st) >= 0 && st.error == 0 && st.kind != kind::EndOfInput)
        if (st.HasText())
            texts.push_back({st.kind, std::string(st.NameId()), std::string(st.SourceText())});
    EXPECT_EQ(st.error, 0) << file;
    return texts;
}

// Texts of the string tables of a script, by string identifier.
std::map<std::string, std::string> StringTexts(const fs::path& file)
{
    std::map<std::string, std::string> texts;
    for (const ScriptText& t : TextsOf(file))
        if (t.kind == kind::StringTableEntry)
            texts[t.name] = t.text;
    return texts;
}

// The text of the first statement named `name`.
std::string TextOf(const fs::path& file, std::string_view name)
{
    for (const ScriptText& t : TextsOf(file))
        if (t.name == name)
            return t.text;
    return "(no " + std::string(name) + ")";
}

class DemoImport : public DemoCopy {
public:
    DemoImport()
    {
        Run({"/C", "demo.rc"}, 0);
        Run({"/A", "demo_rc.mdb", "German", "demo_de.rc"}, 0);
        Run({"/A", "demo_rc.mdb", "French", "demo_fr.rc"}, 0);
    }
    fs::path translated(const std::string& name) const { return path() / "translations" / name; }
    std::string Import(const std::string& script, const std::string& language)
    {
        return Run({"/I", (fs::path("translations") / script).string(), language, "demo_rc.mdb"}, 0).out;
    }
    // The source texts still without a translation, sorted, one a line.
    std::string Untranslated(const std::string& language)
    {
        return QueryValue(path() / "demo_rc.mdb",
                          "SELECT ifnull(group_concat(SourceText, char(10)), '') FROM (SELECT SourceText FROM "
                          "ResourceText WHERE Exclude = 0 AND ifnull(\"" + language +
                              "\", '') = '' ORDER BY SourceText)");
    }
};

std::string ImportedMessage(const std::string& script, int count)
{
    return msg::Format(msg::ImportTextDone, {(fs::path("translations") / script).string(), std::to_string(count)});
}

TEST(DemoImport, EachLanguageBringsTheTextsItsScriptTranslates)
{
    DemoImport demo;
    // The German translation predates a few strings of demo.rc.
    const auto source = StringTexts(demo.path() / "demo.rc");
    const auto german = StringTexts(demo.translated("demo_de.rc"));
    std::set<std::string> missing;
    std::set<std::string> missingTexts;
    for (const auto& [id, text] : source)
        if (!german.count(id)) {
            missing.insert(id);
            missingTexts.insert(text);
        }
    EXPECT_EQ(missing, (std::set<std::string>{"IDS_COPIED", "IDS_SAVE_FILTER", "IDS_TOO_LARGE", "IDS_UNIT_ANGSTROM"}));
    const int germanTexts = kDemoTexts - static_cast<int>(missing.size());

    EXPECT_NE(demo.Import("demo_de.rc", "German").find(ImportedMessage("demo_de.rc", germanTexts)), std::string::npos);
    EXPECT_NE(demo.Import("demo_fr.rc", "French").find(ImportedMessage("demo_fr.rc", kDemoTexts)), std::string::npos);
    std::string english;
    for (const std::string& text : missingTexts)
        english += (english.empty() ? "" : "\n") + text;
    EXPECT_EQ(demo.Untranslated("German"), english);
    EXPECT_EQ(demo.Untranslated("French"), "");

    // German is incomplete, French complete.
    EXPECT_NE(demo.Run({"/T", "demo_rc.mdb", "German"}, 1).out.find(msg::BatchNo), std::string::npos);
    demo.Run({"/T", "demo_rc.mdb", "French"}, 0);

    // A second import finds everything translated already and changes nothing.
    const std::string again = demo.Import("demo_de.rc", "German");
    EXPECT_NE(again.find(msg::Format(msg::ImportTextNothing, {"translations/demo_de.rc"})), std::string::npos)
        << again;
    EXPECT_EQ(demo.Untranslated("German"), english);
}

TEST(DemoImport, WrittenGermanScriptCarriesTheImportedTexts)
{
    DemoImport demo;
    demo.Import("demo_de.rc", "German");
    demo.Run({"/RC", "demo_rc.mdb", "German", "demo_de.rc"}, 0);
    const fs::path written = demo.path() / "demo_de.rc";

    // Every string: the German text where the translator gave one, else English.
    const auto source = StringTexts(demo.path() / "demo.rc");
    const auto german = StringTexts(demo.translated("demo_de.rc"));
    const auto result = StringTexts(written);
    ASSERT_EQ(result.size(), source.size());
    for (const auto& [id, text] : source) {
        const auto it = german.find(id);
        EXPECT_EQ(result.at(id), it != german.end() ? it->second : text) << id;
    }
    EXPECT_EQ(result.at("IDS_COPIED"), "The result was copied to the clipboard.");
    EXPECT_EQ(result.at("IDS_CAT_LENGTH"), "Länge");

    // Texts of menus, dialogs and version information (read back as UTF-8).
    const std::map<std::string, std::string> known = {
        {"ID_EDIT_UNDO", R"(&Rückgängig\tAlt+Rücktaste)"},
        {"ID_APP_ABOUT", "Ü&ber Quillon Demo..."},
        {"IDC_CAT_LENGTH", "&Länge"},
        {"IDC_TOPMOST", "&Fenster im Vordergrund halten"},
        {"IDCANCEL", "Abbrechen"},
        {"CompanyName", "Die Quillon-Entwickler"},
        {"IDS_BAD_NUMBER", "„%1“ ist keine Zahl."},
    };
    for (const auto& [name, text] : known)
        EXPECT_EQ(TextOf(written, name), text) << name;

    // Written in the code page of German, 1252, as the translator's script is.
    const std::string bytes = ReadText(written);
    EXPECT_NE(bytes.find("L\xE4nge"), std::string::npos);
    EXPECT_EQ(bytes.find("L\xC3\xA4nge"), std::string::npos);
}

// A script import that cannot run says why and leaves every file as it was.
TEST(DemoImport, FailedScriptImportChangesNothing)
{
    DemoImport demo;
    WriteText(demo.translated("broken.rc"), "STRINGTABLE\r\nBEGIN\r\n    IDS_READY \"Bereit\r\nEND\r\n");
    WriteText(demo.path() / "notes.mdb", "not a database");
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string error;
    } cases[] = {
        {{"/I", "translations/none.rc", "German", "demo_rc.mdb"}, 2,
         msg::Format(msg::BatchFileNotFound, {"translations/none.rc"})},
        {{"/I", "translations/demo_de.rc", "German", "none.mdb"}, 2, msg::Format(msg::BatchFileNotFound, {"none.mdb"})},
        {{"/I", "translations/demo_de.rc", "German", "notes.mdb"}, 2,
         msg::Format(msg::BatchNotQlnDatabase, {"notes.mdb"})},
        {{"/I", "translations/demo_de.rc", "Nowhere", "demo_rc.mdb"}, 3,
         msg::Format(msg::BatchLanguageInvalid, {"Nowhere"})},
        {{"/I", "translations/broken.rc", "German", "demo_rc.mdb"}, 2,
         msg::Format(msg::ImportReadError, {"translations/broken.rc"})},
    };
    for (const auto& c : cases) {
        const auto before = Snapshot(demo.path());
        const RunResult run = demo.Run(c.args, c.exitCode);
        EXPECT_NE(run.err.find(c.error), std::string::npos) << c.args[1] << "\n" << run.err;
        EXPECT_EQ(Snapshot(demo.path()), before) << c.args[1];
    }
}

// A translated script brings its language along when the project lacks it.
TEST(DemoImport, ScriptImportAddsAMissingLanguage)
{
    DemoCopy demo;
    demo.Run({"/C", "demo.rc"}, 0);
    demo.Run({"/L", "demo_rc.mdb", "French"}, 1);
    const std::string out = demo.Run({"/I", "translations/demo_fr.rc", "French", "demo_rc.mdb"}, 0).out;
    EXPECT_NE(out.find(ImportedMessage("demo_fr.rc", kDemoTexts)), std::string::npos) << out;
    demo.Run({"/L", "demo_rc.mdb", "French"}, 0);
    demo.Run({"/T", "demo_rc.mdb", "French"}, 0);
}

}  // namespace
}  // namespace qln::test
