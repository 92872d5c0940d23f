#pragma once
// One parsed statement of a resource script, as the parser delivers it and the
// database builder stores it.

#include <string>
#include <string_view>

namespace qln {

// Values of CRcStatement::result with a meaning of their own.
inline constexpr int kResultText = 40;  // the statement carries a translatable text

// Line kinds referred to by name outside the parser. The full list is the token
// table of the lexer (RcTokens.h); these are the ones other modules test for.
namespace kind {
inline constexpr int Unknown = 0;
inline constexpr int Caption = 1;
inline constexpr int Control = 2;
inline constexpr int Popup = 3;
inline constexpr int MenuItem = 4;
inline constexpr int StringTable = 5;
inline constexpr int Begin = 6;
inline constexpr int End = 7;
inline constexpr int Menu = 8;
inline constexpr int Include = 9;
inline constexpr int RcInclude = 10;
inline constexpr int Style = 12;
inline constexpr int Dialog = 13;
inline constexpr int Icon = 14;
inline constexpr int Cursor = 15;
inline constexpr int Bitmap = 16;
inline constexpr int Accelerators = 17;
inline constexpr int DialogIcon = 18;
inline constexpr int RcData = 31;
inline constexpr int Font = 32;
inline constexpr int Class = 33;
inline constexpr int AcceleratorEntry = 34;
inline constexpr int UserResource = 35;
inline constexpr int Separator = 39;
inline constexpr int Unexpected = 49;  // statement starting with a keyword out of place
inline constexpr int Other = 65;
inline constexpr int Marker = 66;
inline constexpr int StringTableEntry = 70;
inline constexpr int Quoted = 72;
inline constexpr int EndOfInput = 73;
inline constexpr int TextInclude = 75;
inline constexpr int TextIncludeBody = 76;
inline constexpr int VersionInfo = 77;
inline constexpr int Block = 85;
inline constexpr int Value = 86;
inline constexpr int UserResourceString = 87;
inline constexpr int RcDataString = 88;
inline constexpr int EndIf = 92;
inline constexpr int Language = 94;
inline constexpr int UserResourceFile = 95;
inline constexpr int DialogEx = 99;
inline constexpr int ExStyle = 100;
inline constexpr int DialogMenu = 101;
inline constexpr int CodePage = 106;
}  // namespace kind

// Line kinds of the control statements of a dialog (CONTROL, ICON, LTEXT, ...):
// their rows carry coordinates.
bool IsDialogControlKind(int lineKind);

struct CRcStatement {
    std::string text;        // the statement re-rendered: tokens verbatim, single blanks, no line end
    int result = 0;          // kResultText when it carries a text
    int kind = 0;            // line kind, stored as LineIdentSym
    int error = 0;           // 0 or a negative parser error code
    int textPos = 0;         // byte offset in text of the translatable string (behind its quote)
    int textLen = 0;         //   or of an include line's file name
    int namePos = 0;         // byte offset and length of the statement's name (Name_ID)
    int nameLen = 0;
    int facePos = 0;         // FONT face name or CLASS name of a dialog header, class of a CONTROL
    int faceLen = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // coordinates of a dialog or control statement
    int coordPos[4] = {};              // byte offsets and lengths of those four values in text
    int coordLen[4] = {};              //   (length 0 when the statement has none)
    int language = 0, subLanguage = 0; // values of a LANGUAGE statement
    int codePage = 0;                  // value of a #pragma code_page statement
    unsigned flagBits = 0;             // OR of known style names and numbers met
    int sourceLine = 0;      // physical line (1-based) of the input where the statement begins
    bool unrecognised = false;  // a line of a dialog body that no rule understands (kept whole, kind 65)

    // A text row is stored for it (kind 76 never gets one).
    bool HasText() const { return result == kResultText && kind != kind::TextIncludeBody; }
    // The three-way split of the stored line around its text.
    std::string_view BeforeStr() const;
    std::string_view SourceText() const;
    std::string_view BehindStr() const;
    std::string_view NameId() const;
};

}  // namespace qln
