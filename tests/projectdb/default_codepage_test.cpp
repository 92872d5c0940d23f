// The code page of a translation added without one follows the encoding of
// the project's source script.

#include "projectdb/DefaultCodePage.h"
#include "projectdb/temp_project.h"

#include <gtest/gtest.h>

namespace qln {
namespace {

TEST(DefaultTranslationCodePage, UnicodeSourcesGiveUtf8OthersTheLanguagesCodePage)
{
    test::TempDir dir;
    test::WriteFile(dir / "utf8.rc", "STRINGTABLE\nBEGIN\n    1 \"Fran\xC3\xA7" "ais\"\nEND\n");
    test::WriteFile(dir / "ascii_utf8.rc", "#pragma code_page(65001)\nSTRINGTABLE\nBEGIN\n    1 \"One\"\nEND\n");
    test::WriteFile(dir / "utf16.rc", std::string("\xFF\xFE" "1\0 \0\"\0\xE7\0\"\0", 12));
    test::WriteFile(dir / "western.rc", "#pragma code_page(1252)\nSTRINGTABLE\nBEGIN\n    1 \"Fran\xE7" "ais\"\nEND\n");
    test::WriteFile(dir / "plain.rc", "STRINGTABLE\nBEGIN\n    1 \"One\"\nEND\n");
    const struct {
        const char* source;
        int codePage;
    } cases[] = {{"utf8.rc", 65001},   {"ascii_utf8.rc", 65001}, {"utf16.rc", 65001},
                 {"western.rc", 932},  {"plain.rc", 932},        {"missing.rc", 932}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(DefaultTranslationCodePage(dir / c.source, 17, 1), c.codePage);  // Japanese
    }
    EXPECT_EQ(DefaultTranslationCodePage(dir / "western.rc", 25, 1), 1251);  // Russian
    EXPECT_EQ(UnicodeCodePage(1201), 1200);
    EXPECT_FALSE(UnicodeCodePage(1252));
}

}  // namespace
}  // namespace qln
