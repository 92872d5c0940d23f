#include "rcscript/RcSymbols.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace qln {
namespace {

TEST(Symbols, StyleValues)
{
    struct Case {
        const char* name;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"DUMMY", 3},
        {"WS_POPUP", 0x80000000},
        {"WS_POPUPWINDOW", 0x80880000},
        {"WS_GROUP", 0x20000},
        {"WS_MINIMIZEBOX", 0x20000},
        {"WS_TABSTOP", 0x10000},
        {"WS_MAXIMIZEBOX", 0x10000},
        {"WS_OVERLAPPEDWINDOW", 0xCF0000},
        {"VS_FFI_SIGNATURE", 0xFEEF04BD},
        {"VS_FFI_FILEFLAGSMASK", 0x3F},
        {"SS_BITMAP", 0xE},
        {"VS_FF_SPECIALBUILD", 0x20},
        {"ws_visible", 0},  // names are case-sensitive
        {"WS_VISIBLEX", 0},
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StyleValue(c.name), c.value) << c.name;
}

TEST(Symbols, NamesAreUnique)
{
    // A repeated name would make its second entry unreachable.
    for (auto table : {StyleTable(), LangTable(), SubLangTable()}) {
        std::set<std::string_view> names;
        for (const SymbolEntry& e : table)
            EXPECT_TRUE(names.insert(e.name).second) << e.name;
    }
}

TEST(Symbols, LanguageNames)
{
    EXPECT_EQ(LangValue("LANG_GERMAN"), 7);
    EXPECT_EQ(LangValue("LANG_SLOVENIAN"), 36);
    EXPECT_EQ(LangValue("LANG_SERBIAN"), 0);
    EXPECT_EQ(LangValue("lang_german"), 0);
    EXPECT_EQ(SubLangValue("SUBLANG_DEFAULT"), 1);
    EXPECT_EQ(SubLangValue("SUBLANG_PORTUGUESE"), 2);
    EXPECT_EQ(SubLangValue("SUBLANG_PORTUGUESE_BRAZILIAN"), 1);
    EXPECT_EQ(SubLangValue("SUBLANG_CHINESE_SINGAPORE"), 4);
    EXPECT_EQ(SubLangValue("SUBLANG_ENGLISH_US "), 0);
}

}  // namespace
}  // namespace qln
