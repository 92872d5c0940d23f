// Include lines of written scripts: a file the script still includes is read
// by the compiler in the code page in effect at its include line, so a script
// written in another code page than its source sets the file's own code page
// around the line.

#include "project/IncludeCodePages.h"
#include "project/ProjectBuild.h"
#include "project/TranslationWriter.h"
#include "projectdb/Translations.h"
#include "projectdb/temp_project.h"
#include "compile_support.h"
#include "writer_support.h"

#include <gtest/gtest.h>

namespace qln {
namespace {

namespace fs = std::filesystem;

constexpr int kGerman = 7, kSubDefault = 1;

// A version resource in code page 1252: "©" is the byte A9.
constexpr const char* kVersionRc2 = "1 VERSIONINFO\r\n"
                                    " FILEVERSION 1,0,0,1\r\n"
                                    "BEGIN\r\n"
                                    "    BLOCK \"StringFileInfo\"\r\n"
                                    "    BEGIN\r\n"
                                    "        BLOCK \"040904E4\"\r\n"
                                    "        BEGIN\r\n"
                                    "            VALUE \"LegalCopyright\", \"Copyright \xA9 Example\"\r\n"
                                    "        END\r\n"
                                    "    END\r\n"
                                    "    BLOCK \"VarFileInfo\"\r\n"
                                    "    BEGIN\r\n"
                                    "        VALUE \"Translation\", 0x409, 1252\r\n"
                                    "    END\r\n"
                                    "END\r\n";

std::string Wrapped(int codePage, const std::string& include, int scriptCodePage)
{
    return "#pragma code_page(" + std::to_string(codePage) + ")\r\n#include \"" + include +
           "\"\r\n#pragma code_page(" + std::to_string(scriptCodePage) + ")\r\n";
}

std::string Bare(const std::string& include) { return "#include \"" + include + "\"\r\n"; }

class IncludeWriterTest : public ::testing::Test {
protected:
    IncludeWriterTest()
    {
        test::WriteFile(dir_ / "resource.h", "#define IDS_A 1\r\n");
        test::WriteFile(dir_ / "version.rc2", kVersionRc2);
        // ASCII, but the escape stands for a byte of the code page in effect.
        test::WriteFile(dir_ / "escapes.rc2", "STRINGTABLE\r\nBEGIN\r\n    2 \"Copyright \\251 Example\"\r\nEND\r\n");
        test::WriteFile(dir_ / "utf8.rc2", "STRINGTABLE\r\nBEGIN\r\n    3 \"Gr\xC3\xBC\xC3\x9F\x65\"\r\nEND\r\n");
        test::WriteFile(dir_ / "own.rc2", "#pragma code_page(1252)\r\nSTRINGTABLE\r\nBEGIN\r\n    4 \"x\"\r\nEND\r\n");
    }

    void Build(const std::string& script)
    {
        project_.reset();
        test::WriteFile(source(), script);
        test::CopyTemplateTo(dir_ / "src_rc.mdb");
        project_ = std::make_unique<CProjectDatabase>(dir_ / "src_rc.mdb");
        ASSERT_EQ(BuildFromScript(source(), *project_), 0);
        ASSERT_TRUE(AddLanguage(*project_, kGerman, kSubDefault, 65001));
    }

    std::string WriteGerman(int codePage)
    {
        EXPECT_TRUE(SetCodePage(*project_, kGerman, kSubDefault, codePage));
        const WriteResult result = WriteTranslatedScript(out(), source(), *project_, kGerman, kSubDefault);
        EXPECT_EQ(result.status, WriteStatus::Written) << result.message;
        return test::ReadBytes(out());
    }

    fs::path source() const { return dir_ / "src.rc"; }
    fs::path out() const { return dir_ / "src_de.rc"; }

    test::TempDir dir_;
    std::unique_ptr<CProjectDatabase> project_;
};

constexpr const char* kScript = "#include \"resource.h\"\r\n"
                                "#include \"version.rc2\"\r\n"
                                "LANGUAGE 9, 1\r\n"
                                "#pragma code_page(1252)\r\n"
                                "STRINGTABLE\r\n"
                                "BEGIN\r\n"
                                "    IDS_A \"Hello\"\r\n"
                                "END\r\n"
                                "#include \"resource.h\"\r\n"
                                "#include \"version.rc2\"\r\n"
                                "#include \"escapes.rc2\"\r\n"
                                "#include \"utf8.rc2\"\r\n"
                                "#include \"own.rc2\"\r\n"
                                "#include \"missing.rc2\"\r\n";

TEST_F(IncludeWriterTest, IncludedFilesKeepTheirOwnCodePage)
{
    Build(kScript);
    const std::string utf8 = WriteGerman(65001);
    // Before the script's first pragma both scripts leave the compiler's own code page.
    EXPECT_NE(utf8.find("\r\n#include \"resource.h\"\r\n#include \"version.rc2\"\r\nLANGUAGE"), std::string::npos);
    EXPECT_NE(utf8.find("END\r\n" + Bare("resource.h") + Wrapped(1252, "version.rc2", 65001) +
                        Wrapped(1252, "escapes.rc2", 65001) + Bare("utf8.rc2") + Wrapped(1252, "own.rc2", 65001) +
                        Bare("missing.rc2")),
              std::string::npos)
        << utf8;
    EXPECT_EQ(test::ParseScriptBytes(utf8).error, 0);

    // In the source's code page only the UTF-8 file and the one that sets a
    // code page itself need it.
    const std::string windows = WriteGerman(1252);
    EXPECT_NE(windows.find("END\r\n" + Bare("resource.h") + Bare("version.rc2") + Bare("escapes.rc2") +
                           Wrapped(65001, "utf8.rc2", 1252) + Wrapped(1252, "own.rc2", 1252) + Bare("missing.rc2")),
              std::string::npos)
        << windows;

    // A UTF-16 script names no code page to go back to.
    const std::string utf16 = WriteGerman(1200);
    EXPECT_EQ(test::ParseScriptBytes(utf16).Texts(), test::ParseScriptBytes(utf8).Texts());
    EXPECT_EQ(DecodeScript(utf16).text.find("#pragma code_page(1252)"), std::string::npos);
}

// A file that names no code page was read in the source's code page at its
// include line; one without any pragma in the script, in the one it names.
TEST_F(IncludeWriterTest, FileWithoutCodePageTakesTheSourcesAtItsLine)
{
    Build("#pragma code_page(1251)\r\nLANGUAGE 25, 1\r\n#include \"version.rc2\"\r\n#include \"utf8.rc2\"\r\n");
    const std::string cyrillic = WriteGerman(65001);
    EXPECT_NE(cyrillic.find(Wrapped(1251, "version.rc2", 65001) + Bare("utf8.rc2")), std::string::npos) << cyrillic;

    Build("LANGUAGE 9, 1\r\n#include \"version.rc2\"\r\n");
    const std::string header = WriteGerman(65001);
    EXPECT_NE(header.find(Wrapped(1252, "version.rc2", 65001)), std::string::npos);
}

TEST(IncludeCodePagesTest, BytesThatReadAlikeAndPragmaLines)
{
    EXPECT_TRUE(ReadsAlikeInEveryCodePage("#define A 1\r\n\"a\\\\251 \\n \\x41 \\101\""));
    EXPECT_FALSE(ReadsAlikeInEveryCodePage("\"\\251\""));
    EXPECT_FALSE(ReadsAlikeInEveryCodePage("\"\\xA9\""));
    EXPECT_FALSE(ReadsAlikeInEveryCodePage("\"\xA9\""));
    EXPECT_EQ(PragmaCodePage("#pragma code_page(1251)"), 1251);
    EXPECT_EQ(PragmaCodePage("#pragma code_page( 65001 )"), 65001);
    EXPECT_EQ(PragmaCodePage("#pragma code_page(DEFAULT)"), std::nullopt);
}

// The proof by compiler: the copyright of the included file survives a
// script written in UTF-8.
TEST_F(IncludeWriterTest, CompiledIncludesReadTheSame)
{
    if (!test::ResourceCompilerAvailable())
        GTEST_SKIP() << "no resource compiler";
    Build("LANGUAGE 9, 1\r\n#pragma code_page(1252)\r\n#include \"version.rc2\"\r\n#include \"escapes.rc2\"\r\n");
    WriteGerman(65001);
    const auto source = test::CompiledResources(this->source());
    ASSERT_TRUE(source);
    EXPECT_NE(source->find("Copyright \xC2\xA9 Example"), std::string::npos) << *source;
    EXPECT_EQ(test::CompiledResources(out()), source);
}

}  // namespace
}  // namespace qln
