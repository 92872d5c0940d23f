// Version resources of written scripts: block names follow the code page the
// translation is written in (Unicode blocks stay Unicode), and the Translation
// value names the block that was written.

#include "project/ProjectBuild.h"
#include "project/TranslationWriter.h"
#include "project/VersionBlocks.h"
#include "projectdb/Translations.h"
#include "projectdb/temp_project.h"
#include "compile_support.h"
#include "writer_support.h"

#include <gtest/gtest.h>

namespace qln {
namespace {

namespace fs = std::filesystem;

constexpr int kPolish = 21, kEnglish = 9, kSubDefault = 1;

// A Unicode block, found through its Translation value as most programs write it.
constexpr const char* kUnicodeScript = "LANGUAGE 9, 1\r\n"
                                       "#pragma code_page(1252)\r\n"
                                       "1 VERSIONINFO\r\n"
                                       " FILEVERSION 1,0,0,1\r\n"
                                       "BEGIN\r\n"
                                       "    BLOCK \"StringFileInfo\"\r\n"
                                       "    BEGIN\r\n"
                                       "        BLOCK \"040904b0\"\r\n"
                                       "        BEGIN\r\n"
                                       "            VALUE \"FileDescription\", \"Unicode block\"\r\n"
                                       "        END\r\n"
                                       "    END\r\n"
                                       "    BLOCK \"VarFileInfo\"\r\n"
                                       "    BEGIN\r\n"
                                       "        VALUE \"Translation\", 0x409, 1200\r\n"
                                       "    END\r\n"
                                       "END\r\n";

// Blocks of code page 1252; the second resource names its block before it.
constexpr const char* kWindowsScript = "LANGUAGE 9, 1\r\n"
                                       "#pragma code_page(1252)\r\n"
                                       "1 VERSIONINFO\r\n"
                                       " FILEVERSION 1,0,0,1\r\n"
                                       "BEGIN\r\n"
                                       "    BLOCK \"StringFileInfo\"\r\n"
                                       "    BEGIN\r\n"
                                       "        BLOCK \"040904E4\"\r\n"
                                       "        BEGIN\r\n"
                                       "            VALUE \"FileDescription\", \"Windows block\"\r\n"
                                       "        END\r\n"
                                       "    END\r\n"
                                       "    BLOCK \"VarFileInfo\"\r\n"
                                       "    BEGIN\r\n"
                                       "        VALUE \"Translation\", 0x409, 1252\r\n"
                                       "    END\r\n"
                                       "END\r\n"
                                       "2 VERSIONINFO\r\n"
                                       " FILEVERSION 1,0,0,2\r\n"
                                       "BEGIN\r\n"
                                       "    BLOCK \"VarFileInfo\"\r\n"
                                       "    BEGIN\r\n"
                                       "        VALUE \"Translation\", 0x0409, 0x04E4\r\n"
                                       "    END\r\n"
                                       "    BLOCK \"StringFileInfo\"\r\n"
                                       "    BEGIN\r\n"
                                       "        BLOCK \"040904E4\"\r\n"
                                       "        BEGIN\r\n"
                                       "            VALUE \"FileDescription\", \"Translation first\"\r\n"
                                       "        END\r\n"
                                       "    END\r\n"
                                       "END\r\n";

class VersionWriterTest : public ::testing::Test {
protected:
    void Build(const char* script)
    {
        project_.reset();
        test::WriteFile(source(), script);
        test::CopyTemplateTo(dir_ / "src_rc.mdb");
        project_ = std::make_unique<CProjectDatabase>(dir_ / "src_rc.mdb");
        ASSERT_EQ(BuildFromScript(source(), *project_), 0);
    }

    // Adds the language as the New Translation command does.
    void Add(int primary, int codePage)
    {
        ASSERT_EQ(NewTranslation(*project_, primary, kSubDefault, codePage, out(primary)).status, LanguageStatus::Ok);
    }

    std::string Write(int primary)
    {
        const WriteResult result = WriteTranslatedScript(out(primary), source(), *project_, primary, kSubDefault);
        EXPECT_EQ(result.status, WriteStatus::Written) << result.message;
        return test::ReadBytes(out(primary));
    }

    fs::path source() const { return dir_ / "src.rc"; }
    fs::path out(int primary) const { return dir_ / ("out_" + std::to_string(primary) + ".rc"); }

    test::TempDir dir_;
    std::unique_ptr<CProjectDatabase> project_;
};

int Occurrences(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST_F(VersionWriterTest, BlockNamesFollowTheCodePageTheScriptIsWrittenIn)
{
    Build(kWindowsScript);
    Add(kPolish, 1250);
    std::string polish = Write(kPolish);
    EXPECT_NE(polish.find("#pragma code_page(1250)"), std::string::npos);
    EXPECT_EQ(Occurrences(polish, "BLOCK \"041504E2\""), 2);
    EXPECT_NE(polish.find("VALUE \"Translation\", 0x415, 1250\r\n"), std::string::npos);
    // Written before its block, in the notation it had.
    EXPECT_NE(polish.find("VALUE \"Translation\", 0x0415, 0x04E2\r\n"), std::string::npos);

    // A code page changed after the language was added renames the blocks too;
    // a UTF-8 script names the language's own Windows code page.
    ASSERT_TRUE(SetCodePage(*project_, kPolish, kSubDefault, 1251));
    polish = Write(kPolish);
    EXPECT_EQ(Occurrences(polish, "BLOCK \"041504E3\""), 2);
    EXPECT_NE(polish.find("VALUE \"Translation\", 0x415, 1251\r\n"), std::string::npos);
    ASSERT_TRUE(SetCodePage(*project_, kPolish, kSubDefault, 65001));
    polish = Write(kPolish);
    EXPECT_EQ(Occurrences(polish, "BLOCK \"041504E2\""), 2);
    EXPECT_NE(polish.find("VALUE \"Translation\", 0x0415, 0x04E2\r\n"), std::string::npos);
}

TEST_F(VersionWriterTest, UnicodeBlocksStayUnicodeAndUntranslatedBlocksStayAsTheyAre)
{
    Build(kUnicodeScript);
    Add(kPolish, 1250);
    const std::string polish = Write(kPolish);
    EXPECT_NE(polish.find("BLOCK \"041504b0\""), std::string::npos);
    EXPECT_NE(polish.find("VALUE \"Translation\", 0x415, 1200\r\n"), std::string::npos);

    // A language added without block names writes the source's block, and
    // the Translation value that names it.
    ASSERT_TRUE(AddLanguage(*project_, 7, kSubDefault, 1252));
    const std::string german = Write(7);
    EXPECT_NE(german.find("BLOCK \"040904b0\""), std::string::npos);
    EXPECT_NE(german.find("VALUE \"Translation\", 0x409, 1200\r\n"), std::string::npos);
}

TEST(TranslationValueTest, PairsNameTheWrittenBlocksInTheirNotation)
{
    const std::vector<BlockRename> one{{"040904E4", "041504E2"}};
    const std::vector<BlockRename> two{{"040904E4", "041504E2"}, {"040704B0", "041904B0"}};
    struct Case {
        const char* line;
        const std::vector<BlockRename>* blocks;
        const char* written;
    };
    const Case cases[] = {
        {"VALUE \"Translation\", 0x409, 1252", &one, "VALUE \"Translation\", 0x415, 1250"},
        {"VALUE \"Translation\", 0x0409, 0x04e4L", &one, "VALUE \"Translation\", 0x0415, 0x04e2L"},
        {"value \"translation\",1033,1252 // US", &one, "value \"translation\",1045,1250 // US"},
        // A pair that names no block: the only block of the resource is meant.
        {"VALUE \"Translation\", 0x409, 1200", &one, "VALUE \"Translation\", 0x415, 1250"},
        {"VALUE \"Translation\", 0x407, 1200, 0x409, 1252", &two,
         "VALUE \"Translation\", 0x419, 1200, 0x415, 1250"},
        // Several pairs, one that names no block: it stays.
        {"VALUE \"Translation\", 0x40C, 1252, 0x409, 1252", &two, "VALUE \"Translation\", 0x40C, 1252, 0x415, 1250"},
        // Not numbers, not the Translation value, no pairs: left alone.
        {"VALUE \"Translation\", LANG_ID, 1252", &one, "VALUE \"Translation\", LANG_ID, 1252"},
        {"VALUE \"Comments\", 0x409, 1252", &one, "VALUE \"Comments\", 0x409, 1252"},
        {"VALUE \"Translation\", 0x409", &one, "VALUE \"Translation\", 0x409"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RewriteTranslationValue(c.line, *c.blocks), c.written) << c.line;
}

// The proof by compiler: the source language written in UTF-8 compiles to the
// source's own version resources; Polish to blocks its Translation values find.
TEST_F(VersionWriterTest, CompiledVersionResourcesAgreeWithThemselves)
{
    if (!test::ResourceCompilerAvailable())
        GTEST_SKIP() << "no resource compiler";
    for (const char* script : {kUnicodeScript, kWindowsScript}) {
        Build(script);
        Add(kEnglish, 65001);
        Write(kEnglish);
        const auto source = test::CompiledResources(this->source());
        ASSERT_TRUE(source);
        EXPECT_EQ(test::CompiledResources(out(kEnglish)), source);
    }
    Add(kPolish, 1250);
    Write(kPolish);
    const auto polish = test::CompiledResources(out(kPolish));
    ASSERT_TRUE(polish);
    EXPECT_EQ(Occurrences(*polish, "BLOCK \"041504E2\""), 2) << *polish;
    EXPECT_EQ(Occurrences(*polish, "VALUE \"Translation\", 0x0415, 0x04e2"), 2) << *polish;
}

}  // namespace
}  // namespace qln

TEST(VersionBlockName, OnlyTheLetterCaseNeverChangesTheSourceSpelling)
{
    using qln::WrittenBlockName;
    const qln::WrittenLanguage english{"English US", 9, 1, 1252};
    EXPECT_EQ(WrittenBlockName("040904e4", "040904e4", english), "040904e4");
    EXPECT_EQ(WrittenBlockName("040904e4", "040704e4", {"German", 7, 1, 1252}), "040704E4");
    EXPECT_EQ(WrittenBlockName("040904e4", "041504e4", {"Polish", 21, 1, 1250}), "041504E2");
}
