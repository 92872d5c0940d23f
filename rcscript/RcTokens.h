#pragma once
// Token codes of the resource script lexer. The codes of the statement keywords
// are the line kinds stored in the project database, so every value here is part
// of the stored format and must never change.
//
// Each table below is an X-macro list; the enum of codes, the keyword table and
// the lexer's character tables are all generated from it so they cannot drift apart.

#include <string_view>

namespace qln {

// Statement keywords in lookup order (the first match wins): X(enum name, text, code).
#define QLN_RC_KEYWORDS(X)                          \
    X(KwControl, "CONTROL", 2)                      \
    X(KwCaption, "CAPTION", 1)                      \
    X(KwDialog, "DIALOG", 13)                       \
    X(KwPopup, "POPUP", 3)                          \
    X(KwMenuItem, "MenuItem", 4)                    \
    X(KwStringTable, "STRINGTABLE", 5)              \
    X(KwBegin, "BEGIN", 6)                          \
    X(KwEnd, "END", 7)                              \
    X(KwMenu, "MENU", 8)                            \
    X(KwInclude, "include", 9)                      \
    X(KwDefine, "define", 11)                       \
    X(KwRcInclude, "rcinclude", 10)                 \
    X(KwStyle, "STYLE", 12)                         \
    X(KwIcon, "ICON", 14)                           \
    X(KwSeparator, "SEPARATOR", 39)                 \
    X(KwCursor, "CURSOR", 15)                       \
    X(KwBitmap, "BITMAP", 16)                       \
    X(KwAccelerators, "ACCELERATORS", 17)           \
    X(KwLText, "LTEXT", 19)                         \
    X(KwRText, "RTEXT", 20)                         \
    X(KwCText, "CTEXT", 21)                         \
    X(KwCheckBox, "CHECKBOX", 22)                   \
    X(KwPushButton, "PUSHBUTTON", 23)               \
    X(KwListBox, "LISTBOX", 24)                     \
    X(KwGroupBox, "GROUPBOX", 25)                   \
    X(KwDefPushButton, "DEFPUSHBUTTON", 26)         \
    X(KwRadioButton, "RADIOBUTTON", 27)             \
    X(KwEditText, "EDITTEXT", 28)                   \
    X(KwComboBox, "COMBOBOX", 29)                   \
    X(KwScrollBar, "SCROLLBAR", 30)                 \
    X(KwRcData, "RCDATA", 31)                       \
    X(KwFont, "FONT", 32)                           \
    X(KwClass, "CLASS", 33)                         \
    X(KwTextInclude, "TEXTINCLUDE", 75)             \
    X(KwVersionInfo, "VERSIONINFO", 77)             \
    X(KwFileVersion, "FILEVERSION", 78)             \
    X(KwProductVersion, "PRODUCTVERSION", 79)       \
    X(KwFileFlagsMask, "FILEFLAGSMASK", 80)         \
    X(KwFileFlags, "FILEFLAGS", 81)                 \
    X(KwFileOs, "FILEOS", 82)                       \
    X(KwFileType, "FILETYPE", 83)                   \
    X(KwFileSubtype, "FILESUBTYPE", 84)             \
    X(KwBlock, "BLOCK", 85)                         \
    X(KwValue, "VALUE", 86)                         \
    X(KwEndif, "endif", 92)                         \
    X(KwLanguage, "LANGUAGE", 94)                   \
    X(KwDollarDollar, "$$", 97)                     \
    X(KwDialogEx, "DIALOGEX", 99)                   \
    X(KwExStyle, "EXSTYLE", 100)                    \
    X(KwAutoRadioButton, "AUTORADIOBUTTON", 102)    \
    X(KwAutoCheckBox, "AUTOCHECKBOX", 103)          \
    X(KwAuto3State, "AUTO3STATE", 104)              \
    X(KwPragma, "pragma", 105)                      \
    X(KwCodePage, "code_page", 106)                 \
    X(KwState3, "STATE3", 107)                      \
    X(KwPushBox, "PUSHBOX", 108)                    \
    X(KwUserButton, "USERBUTTON", 109)              \
    X(KwBEdit, "BEDIT", 110)                        \
    X(KwHEdit, "HEDIT", 111)                        \
    X(KwIEdit, "IEDIT", 112)

// Control statements of a dialog body: X(keyword, line kind, operands). The
// line kind is the keyword's code, except for ICON, whose code names an icon
// resource outside a dialog. Operands:
//   Text     text [,] id, x, y, cx, cy [, style [, exstyle [, helpid]]]   (text: string or number)
//   Icon     name, id, x, y [, cx, cy [, style [, exstyle]]]             (the name is no text)
//   Plain    id, x, y, cx, cy [, style [, exstyle [, helpid]]]
//   Generic  text, id, class, style, x, y, cx, cy [, exstyle [, helpid]] (CONTROL)
#define QLN_RC_DIALOG_CONTROLS(X)         \
    X(KwControl, 2, Generic)              \
    X(KwIcon, 18, Icon)                   \
    X(KwLText, 19, Text)                  \
    X(KwRText, 20, Text)                  \
    X(KwCText, 21, Text)                  \
    X(KwCheckBox, 22, Text)               \
    X(KwPushButton, 23, Text)             \
    X(KwListBox, 24, Plain)               \
    X(KwGroupBox, 25, Text)               \
    X(KwDefPushButton, 26, Text)          \
    X(KwRadioButton, 27, Text)            \
    X(KwEditText, 28, Plain)              \
    X(KwComboBox, 29, Plain)              \
    X(KwScrollBar, 30, Plain)             \
    X(KwAutoRadioButton, 102, Text)       \
    X(KwAutoCheckBox, 103, Text)          \
    X(KwAuto3State, 104, Text)            \
    X(KwState3, 107, Text)                \
    X(KwPushBox, 108, Text)               \
    X(KwUserButton, 109, Text)            \
    X(KwBEdit, 110, Text)                 \
    X(KwHEdit, 111, Text)                 \
    X(KwIEdit, 112, Text)

// Context words: X(text). Memory options match everywhere (code 89), accelerator
// options only inside ACCELERATORS (90), menu options only inside MENU (96).
#define QLN_RC_MEMORY_OPTIONS(X) \
    X("PRELOAD") X("LOADONCALL") X("FIXED") X("MOVEABLE") X("DISCARDABLE") X("PURE") X("IMPURE")
#define QLN_RC_ACCEL_OPTIONS(X) \
    X("ASCII") X("VIRTKEY") X("NOINVERT") X("ALT") X("SHIFT") X("CONTROL")
#define QLN_RC_MENU_OPTIONS(X) \
    X("CHECKED") X("GRAYED") X("INACTIVE") X("MENUBREAK") X("MENUBARBREAK") X("HELP")

// Two-character tokens: the first character is consumed, the second only peeked;
// '\0' as second character matches anything. X(enum name, first, second, code).
#define QLN_RC_TWO_CHAR(X)              \
    X(LineComment, '/', '/', 38)        \
    X(BlockCommentEnd, '*', '/', 37)    \
    X(BlockComment, '/', '*', 36)       \
    X(SemicolonComment, ';', '\0', 42)

// Single-character tokens: X(enum name, char, code).
#define QLN_RC_SINGLE_CHAR(X)   \
    X(Comma, ',', 41)           \
    X(Hash, '#', 44)            \
    X(Quote, '"', 40)           \
    X(Bar, '|', 51)             \
    X(Less, '<', 52)            \
    X(Greater, '>', 53)         \
    X(Plus, '+', 54)            \
    X(Minus, '-', 55)           \
    X(SingleQuote, '\'', 56)    \
    X(Exclamation, '!', 57)     \
    X(LParen, '(', 58)          \
    X(RParen, ')', 59)          \
    X(LBrace, '{', 60)          \
    X(RBrace, '}', 61)          \
    X(Star, '*', 91)            \
    X(Colon, ':', 43)           \
    X(Dollar, '$', 98)

// Codes with no table of their own: X(enum name, code).
#define QLN_RC_OTHER_TOKENS(X)  \
    X(Unknown, 0)               \
    X(Identifier, 49)           \
    X(Decimal, 50)              \
    X(Hexadecimal, 62)          \
    X(Octal, 63)                \
    X(EndOfInput, 73)           \
    X(MemoryOption, 89)         \
    X(AccelOption, 90)          \
    X(MenuOption, 96)

namespace tok {
enum Code : int {
#define QLN_X(name, text, code) name = code,
    QLN_RC_KEYWORDS(QLN_X)
#undef QLN_X
#define QLN_X(name, a, b, code) name = code,
    QLN_RC_TWO_CHAR(QLN_X)
#undef QLN_X
#define QLN_X(name, c, code) name = code,
    QLN_RC_SINGLE_CHAR(QLN_X)
#undef QLN_X
#define QLN_X(name, code) name = code,
    QLN_RC_OTHER_TOKENS(QLN_X)
#undef QLN_X
};
}  // namespace tok

inline constexpr int kKeywordCount = 60;

// 1-based index of `text` in the keyword table (case-insensitive), or 0.
int KeywordIndex(std::string_view text);
// Code of the keyword at a 1-based index (0 when out of range).
int KeywordCode(int index);
// True for the codes of resource statements that open a body: STRINGTABLE, MENU,
// DIALOG, RCDATA, user resource, ACCELERATORS, TEXTINCLUDE, VERSIONINFO, DIALOGEX.
bool IsResourceKeyword(int code);
// True when `code` belongs to an entry of the keyword table.
bool IsKeywordCode(int code);

// How the operands of a dialog control statement read (QLN_RC_DIALOG_CONTROLS).
enum class ControlOperands { Text, Icon, Plain, Generic };
struct DialogControlRule {
    int keyword;  // token code
    int kind;     // line kind stored for it
    ControlOperands operands;
};
// The rule of a control keyword in a dialog body, or nullptr.
const DialogControlRule* FindDialogControlRule(int token);

// CHARACTERISTICS or VERSION, words that may follow a resource header (identifiers).
bool IsHeaderOption(int code, std::string_view text);
bool IsMemoryOption(std::string_view text);
bool IsAccelOption(std::string_view text);
bool IsMenuOption(std::string_view text);

}  // namespace qln
