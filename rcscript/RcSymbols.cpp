#include "rcscript/RcSymbols.h"

#include <array>

namespace qln {
namespace {

constexpr std::array kStyles = {
    SymbolEntry{"DUMMY", 3},
    SymbolEntry{"WS_CLIPSIBLINGS", 0x04000000},
    SymbolEntry{"WS_CLIPCHILDREN", 0x02000000},
    SymbolEntry{"WS_VISIBLE", 0x10000000},
    SymbolEntry{"WS_DISABLED", 0x08000000},
    SymbolEntry{"WS_OVERLAPPED", 0x00000000},
    SymbolEntry{"WS_POPUP", 0x80000000},
    SymbolEntry{"WS_CHILD", 0x40000000},
    SymbolEntry{"WS_MINIMIZE", 0x20000000},
    SymbolEntry{"WS_MAXIMIZE", 0x01000000},
    SymbolEntry{"WS_CAPTION", 0x00C00000},
    SymbolEntry{"WS_BORDER", 0x00800000},
    SymbolEntry{"WS_DLGFRAME", 0x00400000},
    SymbolEntry{"WS_VSCROLL", 0x00200000},
    SymbolEntry{"WS_HSCROLL", 0x00100000},
    SymbolEntry{"WS_SYSMENU", 0x00080000},
    SymbolEntry{"WS_THICKFRAME", 0x00040000},
    SymbolEntry{"WS_MINIMIZEBOX", 0x00020000},
    SymbolEntry{"WS_MAXIMIZEBOX", 0x00010000},
    SymbolEntry{"WS_GROUP", 0x00020000},
    SymbolEntry{"WS_TABSTOP", 0x00010000},
    SymbolEntry{"WS_OVERLAPPEDWINDOW", 0x00CF0000},
    SymbolEntry{"WS_POPUPWINDOW", 0x80880000},
    SymbolEntry{"WS_CHILDWINDOW", 0x40000000},
    SymbolEntry{"WS_EX_DLGMODALFRAME", 0x00000001},
    SymbolEntry{"WS_EX_NOPARENTNOTIFY", 0x00000004},
    SymbolEntry{"WS_TILED", 0x00000000},
    SymbolEntry{"WS_ICONIC", 0x20000000},
    SymbolEntry{"WS_SIZEBOX", 0x00040000},
    SymbolEntry{"WS_TILEDWINDOW", 0x00CF0000},
    SymbolEntry{"BS_PUSHBUTTON", 0x0},
    SymbolEntry{"BS_DEFPUSHBUTTON", 0x1},
    SymbolEntry{"BS_CHECKBOX", 0x2},
    SymbolEntry{"BS_AUTOCHECKBOX", 0x3},
    SymbolEntry{"BS_RADIOBUTTON", 0x4},
    SymbolEntry{"BS_3STATE", 0x5},
    SymbolEntry{"BS_AUTO3STATE", 0x6},
    SymbolEntry{"BS_GROUPBOX", 0x7},
    SymbolEntry{"BS_USERBUTTON", 0x8},
    SymbolEntry{"BS_AUTORADIOBUTTON", 0x9},
    SymbolEntry{"BS_OWNERDRAW", 0xB},
    SymbolEntry{"BS_LEFTTEXT", 0x20},
    SymbolEntry{"SBS_HORZ", 0x0},
    SymbolEntry{"SBS_VERT", 0x1},
    SymbolEntry{"SBS_TOPALIGN", 0x2},
    SymbolEntry{"SBS_LEFTALIGN", 0x2},
    SymbolEntry{"SBS_BOTTOMALIGN", 0x4},
    SymbolEntry{"SBS_RIGHTALIGN", 0x4},
    SymbolEntry{"SBS_SIZEBOXTOPLEFTALIGN", 0x2},
    SymbolEntry{"SBS_SIZEBOXBOTTOMRIGHTALIGN", 0x4},
    SymbolEntry{"SBS_SIZEBOX", 0x8},
    SymbolEntry{"SS_LEFT", 0x0},
    SymbolEntry{"SS_CENTER", 0x1},
    SymbolEntry{"SS_RIGHT", 0x2},
    SymbolEntry{"SS_ICON", 0x3},
    SymbolEntry{"SS_BLACKRECT", 0x4},
    SymbolEntry{"SS_GRAYRECT", 0x5},
    SymbolEntry{"SS_WHITERECT", 0x6},
    SymbolEntry{"SS_BLACKFRAME", 0x7},
    SymbolEntry{"SS_GRAYFRAME", 0x8},
    SymbolEntry{"SS_WHITEFRAME", 0x9},
    SymbolEntry{"SS_SIMPLE", 0xB},
    SymbolEntry{"SS_LEFTNOWORDWRAP", 0xC},
    SymbolEntry{"SS_NOPREFIX", 0x80},
    SymbolEntry{"SS_BITMAP", 0xE},
    SymbolEntry{"ES_LEFT", 0x0},
    SymbolEntry{"ES_CENTER", 0x1},
    SymbolEntry{"ES_RIGHT", 0x2},
    SymbolEntry{"ES_MULTILINE", 0x4},
    SymbolEntry{"ES_UPPERCASE", 0x8},
    SymbolEntry{"ES_LOWERCASE", 0x10},
    SymbolEntry{"ES_PASSWORD", 0x20},
    SymbolEntry{"ES_AUTOVSCROLL", 0x40},
    SymbolEntry{"ES_AUTOHSCROLL", 0x80},
    SymbolEntry{"ES_NOHIDESEL", 0x100},
    SymbolEntry{"ES_OEMCONVERT", 0x400},
    SymbolEntry{"DS_SYSMODAL", 0x2},
    SymbolEntry{"DS_LOCALEDIT", 0x20},
    SymbolEntry{"DS_MODALFRAME", 0x80},
    SymbolEntry{"VOS_OS216", 0x00020000},
    SymbolEntry{"VOS_OS232", 0x00030000},
    SymbolEntry{"VOS_NT", 0x00040000},
    SymbolEntry{"VOS__WINDOWS16", 0x00000001},
    SymbolEntry{"VOS__WINDOWS32", 0x00000004},
    SymbolEntry{"VOS_DOS_WINDOWS16", 0x00010001},
    SymbolEntry{"VOS_DOS_WINDOWS32", 0x00010004},
    SymbolEntry{"VOS_OS216_PM16", 0x00020002},
    SymbolEntry{"VOS_NT_WINDOWS32", 0x00040004},
    SymbolEntry{"VOS_UNKNOWN", 0x00000000},
    SymbolEntry{"VOS_DOS", 0x00010000},
    SymbolEntry{"VFT_APP", 0x1},
    SymbolEntry{"VFT_DLL", 0x2},
    SymbolEntry{"VFT_DRV", 0x3},
    SymbolEntry{"VFT_FONT", 0x4},
    SymbolEntry{"VFT_VXD", 0x5},
    SymbolEntry{"VFT_STATIC_LIB", 0x7},
    SymbolEntry{"VFT_UNKNOWN", 0x0},
    SymbolEntry{"VFT2_FONT_RASTER", 0x1},
    SymbolEntry{"VFT2_FONT_VECTOR", 0x2},
    SymbolEntry{"VFT2_FONT_TRUETYPE", 0x3},
    SymbolEntry{"VFT2_DRV_PRINTER", 0x1},
    SymbolEntry{"VFT2_DRV_KEYBOARD", 0x2},
    SymbolEntry{"VFT2_DRV_LANGUAGE", 0x3},
    SymbolEntry{"VFT2_DRV_DISPLAY", 0x4},
    SymbolEntry{"VFT2_DRV_MOUSE", 0x5},
    SymbolEntry{"VFT2_DRV_NETWORK", 0x6},
    SymbolEntry{"VFT2_DRV_SYSTEM", 0x7},
    SymbolEntry{"VS_FFI_SIGNATURE", 0xFEEF04BD},
    SymbolEntry{"VS_FFI_STRUCVERSION", 0x00010000},
    SymbolEntry{"VS_FFI_FILEFLAGSMASK", 0x3F},
    SymbolEntry{"VS_FF_DEBUG", 0x1},
    SymbolEntry{"VS_FF_PRERELEASE", 0x2},
    SymbolEntry{"VS_FF_PATCHED", 0x4},
    SymbolEntry{"VS_FF_PRIVATEBUILD", 0x8},
    SymbolEntry{"VS_FF_INFOINFERRED", 0x10},
    SymbolEntry{"VS_FF_SPECIALBUILD", 0x20},
};
static_assert(kStyles.size() == 116);

constexpr std::array kLangs = {
    SymbolEntry{"LANG_BULGARIAN", 2},   SymbolEntry{"LANG_CHINESE", 4},
    SymbolEntry{"LANG_CROATIAN", 26},   SymbolEntry{"LANG_CZECH", 5},
    SymbolEntry{"LANG_DANISH", 6},      SymbolEntry{"LANG_DUTCH", 19},
    SymbolEntry{"LANG_ENGLISH", 9},     SymbolEntry{"LANG_FINNISH", 11},
    SymbolEntry{"LANG_FRENCH", 12},     SymbolEntry{"LANG_GERMAN", 7},
    SymbolEntry{"LANG_GREEK", 8},       SymbolEntry{"LANG_HUNGARIAN", 14},
    SymbolEntry{"LANG_ICELANDIC", 15},  SymbolEntry{"LANG_ITALIAN", 16},
    SymbolEntry{"LANG_JAPANESE", 17},   SymbolEntry{"LANG_KOREAN", 18},
    SymbolEntry{"LANG_NORWEGIAN", 20},  SymbolEntry{"LANG_POLISH", 21},
    SymbolEntry{"LANG_PORTUGUESE", 22}, SymbolEntry{"LANG_ROMANIAN", 24},
    SymbolEntry{"LANG_RUSSIAN", 25},    SymbolEntry{"LANG_SLOVAK", 27},
    SymbolEntry{"LANG_SLOVENIAN", 36},  SymbolEntry{"LANG_SPANISH", 10},
    SymbolEntry{"LANG_SWEDISH", 29},    SymbolEntry{"LANG_TURKISH", 31},
};
static_assert(kLangs.size() == 26);

constexpr std::array kSubLangs = {
    SymbolEntry{"SUBLANG_NEUTRAL", 0},
    SymbolEntry{"SUBLANG_DEFAULT", 1},
    SymbolEntry{"SUBLANG_SYS_DEFAULT", 2},
    SymbolEntry{"SUBLANG_DUTCH", 1},
    SymbolEntry{"SUBLANG_DUTCH_BELGIAN", 2},
    SymbolEntry{"SUBLANG_ENGLISH_US", 1},
    SymbolEntry{"SUBLANG_ENGLISH_UK", 2},
    SymbolEntry{"SUBLANG_ENGLISH_AUS", 3},
    SymbolEntry{"SUBLANG_ENGLISH_CAN", 4},
    SymbolEntry{"SUBLANG_ENGLISH_NZ", 5},
    SymbolEntry{"SUBLANG_ENGLISH_EIRE", 6},
    SymbolEntry{"SUBLANG_FRENCH", 1},
    SymbolEntry{"SUBLANG_FRENCH_BELGIAN", 2},
    SymbolEntry{"SUBLANG_FRENCH_CANADIAN", 3},
    SymbolEntry{"SUBLANG_FRENCH_SWISS", 4},
    SymbolEntry{"SUBLANG_GERMAN", 1},
    SymbolEntry{"SUBLANG_GERMAN_SWISS", 2},
    SymbolEntry{"SUBLANG_GERMAN_AUSTRIAN", 3},
    SymbolEntry{"SUBLANG_ITALIAN", 1},
    SymbolEntry{"SUBLANG_ITALIAN_SWISS", 2},
    SymbolEntry{"SUBLANG_NORWEGIAN_BOKMAL", 1},
    SymbolEntry{"SUBLANG_NORWEGIAN_NYNORSK", 2},
    SymbolEntry{"SUBLANG_PORTUGUESE", 2},
    SymbolEntry{"SUBLANG_PORTUGUESE_BRAZILIAN", 1},
    SymbolEntry{"SUBLANG_SPANISH", 1},
    SymbolEntry{"SUBLANG_SPANISH_MEXICAN", 2},
    SymbolEntry{"SUBLANG_SPANISH_MODERN", 3},
    SymbolEntry{"SUBLANG_CHINESE_TRADITIONAL", 1},
    SymbolEntry{"SUBLANG_CHINESE_SIMPLIFIED", 2},
    SymbolEntry{"SUBLANG_CHINESE_HONGKONG", 3},
    SymbolEntry{"SUBLANG_CHINESE_SINGAPORE", 4},
};
static_assert(kSubLangs.size() == 31);

std::uint32_t Lookup(std::span<const SymbolEntry> table, std::string_view name)
{
    if (name.empty())
        return 0;
    for (const SymbolEntry& e : table)
        if (e.name == name)
            return e.value;
    return 0;
}

}  // namespace

std::span<const SymbolEntry> StyleTable() { return kStyles; }
std::span<const SymbolEntry> LangTable() { return kLangs; }
std::span<const SymbolEntry> SubLangTable() { return kSubLangs; }

std::uint32_t StyleValue(std::string_view name) { return Lookup(kStyles, name); }
int LangValue(std::string_view name) { return static_cast<int>(Lookup(kLangs, name)); }
int SubLangValue(std::string_view name) { return static_cast<int>(Lookup(kSubLangs, name)); }

}  // namespace qln
