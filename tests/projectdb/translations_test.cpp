#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"
#include "temp_project.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace qln {
namespace {

using test::CountOf;
using test::TempDir;

std::vector<std::string> ColumnsOf(sql::Database& db, const std::string& table)
{
    std::vector<std::string> names;
    sql::Statement st = db.prepare("SELECT name FROM pragma_table_info(?1)");
    st.bind(1, table);
    while (st.step())
        names.push_back(st.columnText(0));
    return names;
}

bool HasColumn(sql::Database& db, const std::string& table, const std::string& name)
{
    auto cols = ColumnsOf(db, table);
    return std::find(cols.begin(), cols.end(), name) != cols.end();
}

// A small project: three texts (one excluded) and one version block.
class TranslationsTest : public ::testing::Test {
protected:
    void SetUp() override { Open(); }

    void Open(bool version7 = false)
    {
        path_ = dir_ / "demo_rc.mdb";
        test::CopyTemplateTo(path_);
        if (version7) {
            sql::Database raw(path_);
            ApplyVersion7Layout(raw);
        }
        project_ = std::make_unique<CProjectDatabase>(path_);
        CProjectDatabase& p = *project_;
        p.AppendLine(10, 1, 0, 70, "IDS_ONE \"", "\"");
        p.AppendText(10, "One", false);
        p.AppendLine(11, 2, 0, 70, "IDS_TWO \"", "\"");
        p.AppendText(11, "Two", false);
        p.AppendLine(12, 3, 0, 70, "IDS_SKIP \"", "\"");
        p.AppendText(12, "Skipped", true);
        p.AppendLine(20, 4, 0, 77, "VS_VERSION_INFO VERSIONINFO", "");
        p.AppendVersion(20, "VS_VERSION_INFO");
        p.AppendLine(21, 5, 0, 85, "BLOCK \"", "\"");
        p.AppendText(21, "040904B0", false);
        p.AppendBlockHeader(21, 20);
    }

    sql::Database& db() { return project_->db(); }

    TempDir dir_;
    std::filesystem::path path_;
    std::unique_ptr<CProjectDatabase> project_;
};

TEST_F(TranslationsTest, NewTranslationAddsRowColumnsFileAndBlockName)
{
    EXPECT_ANY_THROW(project_->GetText(21, 7, 3));  // the text query is now prepared, without the column
    LanguageResult r = NewTranslation(*project_, 7, 3, 1252, dir_ / "demo_deu.rc");
    ASSERT_EQ(r.status, LanguageStatus::Ok) << r.message;
    EXPECT_TRUE(HasLanguageColumn(*project_, 7, 3));
    EXPECT_TRUE(HasColumn(db(), "ResourceText", "German - Austria"));
    EXPECT_TRUE(HasColumn(db(), "ResourceText", "German - Austria_Modified"));

    std::vector<LanguagePair> langs = ListLanguages(*project_);
    ASSERT_EQ(langs.size(), 1u);
    EXPECT_EQ(langs[0].primary, 7);
    EXPECT_EQ(langs[0].sub, 3);
    EXPECT_EQ(GetCodePage(*project_, 7, 3), 1252);
    auto file = GetTranslationFile(*project_, 7, 3);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->fileName, (dir_ / "demo_deu.rc").string());

    auto block = project_->GetText(21, 7, 3);
    ASSERT_TRUE(block && block->translation);
    // A Unicode source block stays Unicode.
    EXPECT_EQ(*block->translation, "0C0704B0");
    EXPECT_FALSE(block->notActual);
    auto text = project_->GetText(10, 7, 3);
    ASSERT_TRUE(text);
    EXPECT_FALSE(text->translation.has_value());

    EXPECT_TRUE(SetCodePage(*project_, 7, 3, 65001));
    EXPECT_EQ(GetCodePage(*project_, 7, 3), 65001);
    TranslationFile written{"/tmp/x/demo_deu.rc", FileStamp{4711, 0x5A21, 0x5B3C}};
    EXPECT_TRUE(SetTranslationFile(*project_, 7, 3, written));
    EXPECT_EQ(GetTranslationFile(*project_, 7, 3)->stamp, written.stamp);
    // Another language of the same primary language is not touched.
    EXPECT_FALSE(SetCodePage(*project_, 7, 1, 1252));
    EXPECT_FALSE(GetTranslationFile(*project_, 7, 1));
}

// A language whose column exists is refused, also a second language with the
// same display name (041a and 081A): it would share the first one's column.
TEST_F(TranslationsTest, LanguageWhoseColumnExistsIsRefused)
{
    struct Case {
        LanguagePair first, second;
        const char* message;
    };
    const Case cases[] = {{{7, 1}, {7, 1}, "The language  German  already exists. "},
                          {{26, 1}, {26, 2}, "The language  Croato-Serbian  already exists. "}};
    for (const Case& c : cases) {
        ASSERT_EQ(NewTranslation(*project_, c.first.primary, c.first.sub, 1250, dir_ / "a.rc").status,
                  LanguageStatus::Ok);
        ASSERT_TRUE(project_->SetTranslation(10, c.first.primary, c.first.sub, "kept", false));
        LanguageResult again = NewTranslation(*project_, c.second.primary, c.second.sub, 1251, dir_ / "b.rc");
        EXPECT_EQ(again.status, LanguageStatus::AlreadyExists);
        EXPECT_EQ(again.message, c.message);
        EXPECT_FALSE(AddLanguage(*project_, c.second.primary, c.second.sub, 1251));
        EXPECT_EQ(CountOf(db(), "SELECT count(*) FROM Translations"), 1);
        EXPECT_EQ(GetCodePage(*project_, c.first.primary, c.first.sub), 1250);
        if (c.second.sub != c.first.sub) {  // deleting the other language leaves this one's column
            EXPECT_NE(DeleteLanguage(*project_, c.second.primary, c.second.sub).status, LanguageStatus::Ok);
        }
        EXPECT_EQ(project_->GetText(10, c.first.primary, c.first.sub)->translation, "kept");
        ASSERT_EQ(DeleteLanguage(*project_, c.first.primary, c.first.sub).status, LanguageStatus::Ok);
    }
}

TEST_F(TranslationsTest, SurvivingColumnIsRefusedAndItsTextsKept)
{
    ASSERT_TRUE(AddLanguage(*project_, 12, 1, 1252));
    ASSERT_TRUE(project_->SetTranslation(10, 12, 1, "Un", false));
    db().exec("DELETE FROM Translations");  // the column outlives its row
    EXPECT_EQ(NewTranslation(*project_, 12, 1, 1252, dir_ / "f.rc").status, LanguageStatus::AlreadyExists);
    EXPECT_EQ(CountOf(db(), "SELECT count(*) FROM Translations"), 0);
    // The plain operation adds the row and reuses the column as it is.
    ASSERT_TRUE(AddLanguage(*project_, 12, 1, 1252));
    EXPECT_EQ(project_->GetText(10, 12, 1)->translation, "Un");
}

TEST_F(TranslationsTest, LanguageWithoutNameFailsWithoutTouchingTheDatabase)
{
    auto before = ColumnsOf(db(), "ResourceText");
    LanguageResult r = NewTranslation(*project_, 30, 1, 1252, dir_ / "x.rc");
    EXPECT_EQ(r.status, LanguageStatus::Failed);
    EXPECT_EQ(r.message, "Error: can not add language to database !");
    EXPECT_FALSE(AddLanguage(*project_, 37, 1, 1252));
    EXPECT_EQ(ColumnsOf(db(), "ResourceText"), before);
    EXPECT_EQ(CountOf(db(), "SELECT count(*) FROM Translations"), 0);
    EXPECT_FALSE(HasLanguageColumn(*project_, 30, 1));
}

TEST_F(TranslationsTest, DeleteRemovesOnlyThatLanguage)
{
    EXPECT_EQ(DeleteLanguage(*project_, 7, 1).message, "There is no translation to delete.");
    ASSERT_TRUE(AddLanguage(*project_, 7, 1, 1252));
    ASSERT_TRUE(AddLanguage(*project_, 9, 1, 1252));
    ASSERT_TRUE(project_->SetTranslation(10, 9, 1, "One!", false));
    LanguageResult r = DeleteLanguage(*project_, 7, 1);
    ASSERT_EQ(r.status, LanguageStatus::Ok) << r.message;
    EXPECT_FALSE(HasColumn(db(), "ResourceText", "German"));
    EXPECT_FALSE(HasColumn(db(), "ResourceText", "German_Modified"));
    auto langs = ListLanguages(*project_);
    ASSERT_EQ(langs.size(), 1u);
    EXPECT_EQ(langs[0].primary, 9);
    EXPECT_EQ(project_->GetText(10, 9, 1)->translation, "One!");
    // The language can be added again afterwards.
    EXPECT_EQ(NewTranslation(*project_, 7, 1, 1252, dir_ / "g.rc").status, LanguageStatus::Ok);
}

// Column names come from display names and, on conversion, from foreign
// files: quotes, brackets and keywords must stay names.
TEST_F(TranslationsTest, HostileColumnNamesStayNames)
{
    const std::vector<std::string> names = {
        "Evil\"; DROP TABLE ResFileLine; --", "[Bracket] x", "SELECT", "it's", "a\"\"b", "Ümlaut - ß"};
    for (const std::string& name : names) {
        CreateLanguageColumns(db(), name);
        EXPECT_TRUE(HasColumn(db(), "ResourceText", name)) << name;
        EXPECT_TRUE(HasColumn(db(), "ResourceText", name + "_Modified")) << name;
    }
    CreateLanguageColumns(db(), names[0]);  // a second time adds nothing
    EXPECT_EQ(ColumnsOf(db(), "ResourceText").size(), 5 + 2 * names.size());
    EXPECT_EQ(CountOf(db(), "SELECT count(*) FROM ResFileLine"), 5);
    sql::Statement check = db().prepare("PRAGMA integrity_check");
    ASSERT_TRUE(check.step());
    EXPECT_EQ(check.columnText(0), "ok");
}

TEST_F(TranslationsTest, ProjectStatusCountsTextsNotExcluded)
{
    EXPECT_EQ(ComputeProjectStatus(*project_), kStatusNoTranslation);
    ASSERT_TRUE(AddLanguage(*project_, 7, 1, 1252));
    ASSERT_TRUE(AddLanguage(*project_, 12, 1, 1252));
    EXPECT_EQ(ComputeProjectStatus(*project_), kStatusIncomplete);
    for (int line : {10, 11, 21}) {
        ASSERT_TRUE(project_->SetTranslation(line, 7, 1, "de", false));
        ASSERT_TRUE(project_->SetTranslation(line, 12, 1, "fr", false));
    }
    EXPECT_EQ(ComputeProjectStatus(*project_), kStatusTranslated);  // line 12 is excluded
    ASSERT_TRUE(project_->SetTranslation(11, 12, 1, "", false));      // emptied again
    EXPECT_EQ(ComputeProjectStatus(*project_), kStatusIncomplete);
    EXPECT_EQ(RecomputeProjectStatus(*project_), kStatusIncomplete);
    EXPECT_EQ(project_->GetStatus(), kStatusIncomplete);
    project_->SetStatus(kStatusUpdateNeeded);
    EXPECT_EQ(RecomputeProjectStatus(*project_), kStatusUpdateNeeded);
    EXPECT_EQ(project_->GetStatus(), kStatusUpdateNeeded);
}

TEST_F(TranslationsTest, FontsAndMissingCharacterSets)
{
    project_->AppendLine(30, 6, 0, 94, "LANGUAGE LANG_GREEK, SUBLANG_DEFAULT", "");
    project_->AppendSourceLanguage(30, 8, 1, 1253, 161, "Arial Greek");
    project_->AppendSourceLanguage(30, 9, 1, 1252, 0, "X");  // one character: no font
    ASSERT_TRUE(AddLanguage(*project_, 25, 1, 1251));
    ASSERT_TRUE(AddLanguage(*project_, 8, 1, 1253));
    db().exec("UPDATE Translations SET FontName = 'Arial Cyr', CharSet = 204 WHERE Lang_Id = 1049");
    db().exec("UPDATE Translations SET FontName = 'Greek Own', CharSet = 161 WHERE Lang_Id = 1032");

    auto fonts = LoadFonts(*project_);
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts.at(1049).fontName, "Arial Cyr");
    EXPECT_EQ(fonts.at(1049).charSet, 204);
    EXPECT_EQ(fonts.at(1032).fontName, "Greek Own");  // the translation's font wins
    EXPECT_FALSE(fonts.count(1033));

    EXPECT_EQ(MissingCharSetsMessage(fonts, {0, 161, 204}), "");
    EXPECT_EQ(MissingCharSetsMessage(fonts, {0, 161}),
              "Fonts with the following character sets are not available\non your local machine:\n\n"
              "  - Cyrillic\n\nNot all languages can be shown with the required\ncharacter set.");
    fonts[1] = {"Default", 1};
    fonts[2] = {"Other Greek", 161};
    EXPECT_EQ(MissingCharSetsMessage(fonts, {}),
              "Fonts with the following character sets are not available\non your local machine:\n\n"
              "  - Greek,\n  - Cyrillic\n\nNot all languages can be shown with the required\ncharacter set.");
}

TEST_F(TranslationsTest, TranslationFileNameChecks)
{
    std::filesystem::path source = dir_ / "demo.rc";
    test::WriteFile(source, "");
    test::WriteFile(dir_ / "exists.rc", "x");
    ASSERT_EQ(NewTranslation(*project_, 7, 1, 1252, dir_ / "demo_deu.rc").status, LanguageStatus::Ok);
    struct Case {
        std::filesystem::path name;
        FileNameCheck check;
    };
    const Case cases[] = {
        {source, FileNameCheck::IsSourceFile},
        {dir_ / "sub" / ".." / "demo.rc", FileNameCheck::IsSourceFile},
        {dir_ / "demo_deu.rc", FileNameCheck::InUse},
        {dir_ / "exists.rc", FileNameCheck::AskOverwrite},
        {dir_ / "new.rc", FileNameCheck::Ok},
        {dir_ / "no-such-dir" / "new.rc", FileNameCheck::Invalid},
        {dir_.path(), FileNameCheck::Invalid},
        {dir_ / "", FileNameCheck::Invalid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckTranslationFileName(*project_, source, c.name).check, c.check) << c.name;
    // A name stored relative to the script is found from any current folder.
    ASSERT_EQ(NewTranslation(*project_, 12, 1, 1252, "sub\\demo_fra.rc").status, LanguageStatus::Ok);
    std::filesystem::create_directory(dir_ / "sub");
    EXPECT_EQ(CheckTranslationFileName(*project_, source, dir_ / "sub" / "demo_fra.rc").check, FileNameCheck::InUse);
    EXPECT_EQ(CheckTranslationFileName(*project_, source, dir_ / "exists.rc").message,
              "There exists already a file " + (dir_ / "exists.rc").string() + ".\nDo you realy want to use the file name ?");
}

// The same operations on a database of format version 7 use Language/SubLanguage.
TEST_F(TranslationsTest, VersionSevenLayout)
{
    project_.reset();
    std::filesystem::remove(path_);
    Open(true);
    ASSERT_FALSE(project_->UsesLangId());
    ASSERT_EQ(NewTranslation(*project_, 9, 1, 1252, dir_ / "en.rc").status, LanguageStatus::Ok);
    ASSERT_TRUE(AddLanguage(*project_, 16, 2, 1252));
    EXPECT_EQ(CountOf(db(), "SELECT count(*) FROM Translations WHERE Language = 16 AND SubLanguage = 2"), 1);
    auto langs = ListLanguages(*project_);
    ASSERT_EQ(langs.size(), 2u);
    EXPECT_EQ(langs[1].primary, 16);
    EXPECT_EQ(langs[1].sub, 2);
    EXPECT_EQ(GetTranslationFile(*project_, 9, 1)->fileName, (dir_ / "en.rc").string());
    EXPECT_EQ(project_->GetText(21, 9, 1)->translation, "040904B0");
    EXPECT_EQ(DeleteLanguage(*project_, 16, 2).status, LanguageStatus::Ok);
    EXPECT_FALSE(HasColumn(db(), "ResourceText", "Italian Swiss"));
    EXPECT_EQ(ListLanguages(*project_).size(), 1u);
}

}  // namespace
}  // namespace qln
