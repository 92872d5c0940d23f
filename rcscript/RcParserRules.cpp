// Statement rules of the general grammar and of the string-table, accelerator
// and resource-body contexts. One function per rule; each starts with its grammar.

#include "rcscript/RcParser.h"

#include "rcscript/RcSymbols.h"
#include "rcscript/RcTokens.h"

#include <algorithm>

namespace qln {
namespace {

// Keywords that may begin a statement outside any resource; every other keyword
// there is taken as a name, so resources named like keywords parse.
bool TopLevelKeyword(int t)
{
    return t == tok::KwStringTable || t == tok::KwBegin || t == tok::KwEnd ||
           t == tok::KwRcInclude || t == tok::KwLanguage || t == tok::KwDollarDollar;
}

bool IsNameToken(int t)
{
    return t == tok::Identifier || t == tok::Decimal || t == tok::Hexadecimal || t == tok::Octal ||
           t == tok::MemoryOption || t == tok::AccelOption || t == tok::MenuOption ||
           t == tok::Plus || t == tok::Minus;
}

}  // namespace

// statement := one of the rules below, chosen by its first token
void CRcParser::ParseGeneral(int t)
{
    if (context_ != 0 && depth_ == 0 && IsHeaderOption(t, tokenText_)) {
        // CHARACTERISTICS n | VERSION n between a resource header and its body
        kind_ = kind::Other;
        CopyRest(false);
        return;
    }
    if (context_ == 0 && IsKeywordCode(t) && !TopLevelKeyword(t)) {
        Unget();
        ParseResource(true);
        return;
    }
    switch (t) {
    case tok::EndOfInput:
        kind_ = kind::EndOfInput;
        return;
    case tok::Unknown:
        CopyUnknown();
        kind_ = kind::Unknown;
        return;
    case tok::KwBegin:
    case tok::LBrace:
    case tok::KwEnd:
    case tok::RBrace:
        ParseBeginEnd(t);
        return;
    case tok::KwStringTable:
        kind_ = kind::StringTable;
        CopyRest(false);
        BeginResource(tok::KwStringTable);
        return;
    case tok::KwPopup: ParsePopup(); return;
    case tok::KwMenuItem: ParseMenuItem(); return;
    case tok::Hash: ParsePreprocessor(); return;
    case tok::KwRcInclude: ParseRcInclude(); return;
    case tok::KwLanguage: ParseLanguage(); return;
    case tok::KwFileVersion:
    case tok::KwProductVersion:
        kind_ = t;
        CopyRest(false);
        return;
    case tok::KwFileFlagsMask:
    case tok::KwFileFlags:
    case tok::KwFileOs:
    case tok::KwFileType:
    case tok::KwFileSubtype:
        kind_ = t;
        CopyRest(true);
        return;
    case tok::KwBlock: ParseBlock(); return;
    case tok::KwValue: ParseValue(); return;
    case tok::KwDollarDollar:
    case tok::Dollar:
        kind_ = kind::Marker;
        CopyLine(false, Stop::LineEnd);
        return;
    case tok::SingleQuote: ParseQuoted(); return;
    case tok::Quote:
        if (context_ == tok::KwVersionInfo) {
            // A statement inside VERSIONINFO that starts with a string continues a VALUE.
            Unget();
            PutBlanks(9);
            Next();
            kind_ = kind::Value;
            CopyRest(false);
        } else {
            ParseStringNamedResource();
        }
        return;
    default:
        if (IsNameToken(t) || IsKeywordCode(t)) {
            Unget();
            ParseResource(IsKeywordCode(t));
            return;
        }
        Fail(rcerr::ResourceFile);
        return;
    }
}

// BEGIN | { | END | }
void CRcParser::ParseBeginEnd(int t)
{
    if (t == tok::KwBegin || t == tok::LBrace) {
        kind_ = kind::Begin;
        ++depth_;
        return;
    }
    kind_ = kind::End;
    if (depth_ > 0)
        --depth_;
    if (depth_ == 0)
        EndResource();
}

// # include file | # endif | # pragma code_page ( n ) | # directive rest-of-line
void CRcParser::ParsePreprocessor()
{
    kind_ = kind::Other;
    const int t = Next();
    if (t == tok::EndOfInput)
        return;
    if (newlines_ > 0) {
        Unget();
        return;
    }
    if (t == tok::KwInclude) {
        if (ReadFileName()) {
            kind_ = kind::Include;
            textPos_ = filePos_;
            textLen_ = fileLen_;
        }
    } else if (t == tok::KwEndif) {
        kind_ = kind::EndIf;
    } else if (t == tok::KwPragma) {
        if (Next() == tok::KwCodePage && newlines_ == 0) {
            const bool open = Next() == tok::LParen;
            const int n = Next();
            if (open && (n == tok::Decimal || n == tok::Hexadecimal) && Next() == tok::RParen) {
                kind_ = kind::CodePage;
                codePage_ = static_cast<int>(TokenNumber(n));
            }
        }
        if (kind_ != kind::CodePage)
            kind_ = kind::Other;
        Unget();
    } else if (t == tok::Unknown) {
        CopyUnknown();
    }
    CopyLine(false, Stop::LineEnd);
}

// POPUP text [, option]...   (MENUEX: POPUP text [, id [, type [, state [, help]]]])
void CRcParser::ParsePopup()
{
    kind_ = kind::Popup;
    const int t = Next();
    if (t == tok::Quote)
        MarkText();
    else if (t != tok::Identifier)
        return Fail(rcerr::Popup);
    if (CopyRest(false) != 0)
        Fail(rcerr::Popup);  // a second string or a stray character before the BEGIN
}

// MENUITEM SEPARATOR | MENUITEM text [,] id [, option]...   (MENUEX: id and fields optional)
void CRcParser::ParseMenuItem()
{
    kind_ = kind::MenuItem;
    int t = Next();
    if (t == tok::KwSeparator) {
        kind_ = kind::Separator;
        CopyRest(false);
        return;
    }
    if (t == tok::Quote)
        MarkText();
    else if (t != tok::Identifier)
        return Fail(rcerr::MenuItem);
    SkipOptionalComma();
    if (!ReadIdExpr() && !menuEx_)
        return Fail(rcerr::ResourceFile);
    if (CopyRest(false) != 0)
        Fail(rcerr::MenuItem);
}

// LANGUAGE lang , sublang   (LANG_/SUBLANG_ names or numbers)
void CRcParser::ParseLanguage()
{
    kind_ = kind::Language;
    auto value = [this](bool sub, int& v) {
        const int t = Next();
        if (t == tok::Identifier)
            v = sub ? SubLangValue(tokenText_) : LangValue(tokenText_);
        else if (t == tok::Decimal || t == tok::Hexadecimal)
            v = static_cast<int>(TokenNumber(t));
        else
            return false;
        return true;
    };
    if (!value(false, language_) || !ExpectComma() || !value(true, subLanguage_))
        Fail(rcerr::Language);
}

// BLOCK ( "name" | name )   (the name is a text when it is a language/code-page block)
void CRcParser::ParseBlock()
{
    kind_ = kind::Block;
    const int t = Next();
    if (t == tok::Identifier) {  // a name defined in a header: nothing to translate
        CopyRest(false);
        return;
    }
    if (t != tok::Quote)
        return Fail(rcerr::ResourceFile);
    std::string_view name(out_.data() + strPos_, static_cast<std::size_t>(strLen_));
    const bool fixed = name == "StringFileInfo" || name == "VarFileInfo";
    const bool hex = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return c == ' ' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
    if (!fixed && hex && !overflow_)
        MarkText();
    CopyRest(false);
}

// VALUE ( "name" | name ) , ( "text" | number [, number]... )
void CRcParser::ParseValue()
{
    kind_ = kind::Value;
    const int t = Next();
    if (t == tok::Quote)
        MarkStringName();
    else if (t == tok::Identifier)  // a name defined in a header
        MarkName(static_cast<std::size_t>(identPos_), static_cast<std::size_t>(identLen_));
    else
        return Fail(rcerr::ResourceFile);
    SkipOptionalComma();
    if (Next() == tok::Quote)
        MarkText();
    else
        Unget();
    CopyRest(false);
}

// rcinclude file
void CRcParser::ParseRcInclude()
{
    kind_ = kind::Other;
    if (ReadFileName()) {
        kind_ = kind::RcInclude;
        textPos_ = filePos_;
        textLen_ = fileLen_;
    }
}

// ' tokens '   (ends at the closing quote or the line end)
void CRcParser::ParseQuoted()
{
    kind_ = kind::Quoted;
    for (;;) {
        const int t = Next();
        if (t == tok::EndOfInput || t == tok::SingleQuote)
            return;
        if (newlines_ > 0) {
            Unget();
            return;
        }
        if (t == tok::Unknown)
            CopyUnknown();
    }
}

// frame := end of input | BEGIN | END | # line   (shared by every resource body)
// Returns false when the token starts a line of the body itself.
bool CRcParser::ParseBodyFrame(int t)
{
    switch (t) {
    case tok::EndOfInput:
        kind_ = kind::EndOfInput;
        return true;
    case tok::KwBegin:
    case tok::LBrace:
    case tok::KwEnd:
    case tok::RBrace:
        ParseBeginEnd(t);
        return true;
    case tok::Hash:
        ParsePreprocessor();
        return true;
    default:
        return false;
    }
}

// entry := id [,] ( "text" | TEXT ( "text" ) | number )  |  BEGIN | END | # line
void CRcParser::ParseStringTableLine(int t)
{
    if (ParseBodyFrame(t))
        return;
    Unget();
    if (!ReadIdExpr())
        return Fail(rcerr::ResourceFile);
    SkipOptionalComma();
    t = Next();
    if (t == tok::Quote) {
        kind_ = kind::StringTableEntry;
        MarkText();
    } else if (t == tok::Identifier && tokenText_ == "TEXT") {
        if (Next() != tok::LParen || Next() != tok::Quote)
            return Fail(rcerr::ResourceFile);
        kind_ = kind::StringTableEntry;
        MarkText();
        if (Next() != tok::RParen)
            Unget();
    } else if (t == tok::Decimal || t == tok::Hexadecimal || t == tok::Octal) {
        kind_ = kind::Other;
    } else {
        Fail(rcerr::ResourceFile);
    }
}

// entry := key , id [, option]...   (key: "c", "^c", a virtual-key name or a number)
void CRcParser::ParseAcceleratorLine(int t)
{
    if (ParseBodyFrame(t))
        return;
    if (t != tok::Quote && t != tok::Identifier && t != tok::Decimal && t != tok::Hexadecimal &&
        t != tok::Octal)
        return Fail(rcerr::ResourceFile);
    kind_ = kind::AcceleratorEntry;
    if (!ExpectComma() || !ReadIdExpr())
        return Fail(rcerr::ResourceFile);
    CopyRest(false);
}

// body line := BEGIN | END | # line | tokens to the end of the line
// Body lines of RCDATA and user resources are kept as they are (kind 65, no text):
// toolbar, dialog-init and design-info data must not be translated.
void CRcParser::ParseBodyLine(int t)
{
    if (ParseBodyFrame(t))
        return;
    kind_ = context_ == tok::KwTextInclude ? kind::TextIncludeBody : kind::Other;
    if (t == tok::Unknown)
        CopyUnknown();
    out_.insert(0, static_cast<std::size_t>(3 * std::min(depth_, 8)), ' ');
    CopyLine(false, Stop::Block);
}

}  // namespace qln
