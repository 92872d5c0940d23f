// Statement rules of resource definitions: a name followed by a resource type.

#include "rcscript/RcParser.h"

#include "rcscript/RcTokens.h"

namespace qln {
namespace {

bool IsNumberToken(int t) { return t == tok::Decimal || t == tok::Hexadecimal || t == tok::Octal; }

bool IsMenuEx(std::string_view word)
{
    constexpr std::string_view kMenuEx = "MENUEX";
    if (word.size() != kMenuEx.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if ((word[i] & ~0x20) != kMenuEx[i])
            return false;
    return true;
}

}  // namespace

// resource := name type ...   (name: identifier or number, optionally signed)
void CRcParser::ParseResource(bool keywordName)
{
    kind_ = keywordName ? kind::Unexpected : kind::Other;
    std::size_t start = 0, end = 0;
    long value = 0;
    if (!ReadExpr(start, end, value, keywordName))
        return Fail(rcerr::ResourceFile);
    MarkName(start, end - start);
    ParseResourceType(Next(), false);
}

// resource := "name" type ...   (the string is the name, not a text)
void CRcParser::ParseStringNamedResource()
{
    kind_ = kind::Other;
    MarkStringName();
    const int t = Next();
    if (IsResourceKeyword(t) || IsNumberToken(t) || t == tok::Identifier || t == tok::KwIcon ||
        t == tok::KwCursor || t == tok::KwBitmap || t == tok::KwFont)
        ParseResourceType(t, true);
    else
        Unget();
}

// The part of a resource definition behind its name, decided by the type token.
void CRcParser::ParseResourceType(int type, bool stringName)
{
    switch (type) {
    case tok::KwDialog:
    case tok::KwDialogEx: {
        // name DIALOG[EX] [option]... x, y, cx, cy [, helpid]
        kind_ = stringName && type == tok::KwDialogEx ? kind::DialogEx : kind::Dialog;
        while (Next() == tok::MemoryOption) {
        }
        Unget();
        ReadCoords(4);
        CopyRest(false);
        BeginResource(kind_);
        return;
    }
    case tok::KwIcon:
    case tok::KwCursor:
    case tok::KwBitmap:
        ParseImageResource(type);
        return;
    case tok::KwMenu:
    case tok::KwAccelerators:
    case tok::KwRcData:
    case tok::KwTextInclude:
    case tok::KwVersionInfo:
    case tok::KwStringTable:
        // name TYPE [option]...   (a body follows)
        kind_ = type;
        CopyRest(false);
        BeginResource(type);
        return;
    case tok::KwFont:
        // name FONT file
        kind_ = kind::Font;
        CopyLine(false, Stop::Statement);
        return;
    case tok::Identifier:
        if (IsMenuEx(tokenText_)) {
            // An extended menu: its items carry texts like those of a MENU.
            kind_ = kind::Menu;
            CopyRest(false);
            BeginResource(tok::KwMenu);
            menuEx_ = true;
            return;
        }
        ParseUserResource();
        return;
    case tok::Decimal:
    case tok::Hexadecimal:
    case tok::Octal:
        ParseUserResource();
        return;
    case tok::Comma:
        kind_ = kind::Other;
        CopyLine(false, Stop::Statement);
        return;
    case tok::EndOfInput:
        return;
    default:
        // END, } or anything else: the name stands alone; the token starts the next statement.
        Unget();
        return;
    }
}

// name (ICON | CURSOR | BITMAP) [option]... ( "file" | file )
void CRcParser::ParseImageResource(int type)
{
    kind_ = type;
    int t = Next();
    while (t == tok::MemoryOption)
        t = Next();
    if (t == tok::Quote) {
        if (type == tok::KwBitmap)
            MarkText();
        return;
    }
    Unget();
    if (t == tok::EndOfInput || newlines_ > 0 || statementStart_ || !ReadFileName())
        return Fail(rcerr::ResourceFile);
    if (type == tok::KwBitmap) {
        textPos_ = filePos_;
        textLen_ = fileLen_;
    }
}

// name type [option | number | ,]... ( [header option]... BEGIN body END | "file" | file )
void CRcParser::ParseUserResource()
{
    kind_ = kind::UserResource;
    for (;;) {
        const int t = Next();
        if (t == tok::MemoryOption || t == tok::Comma || IsNumberToken(t))
            continue;
        if (t == tok::KwBegin || t == tok::LBrace || t == tok::Hash || t == tok::KwLanguage ||
            (newlines_ > 0 && IsHeaderOption(t, tokenText_))) {
            Unget();
            BeginResource(kind::UserResource);
            return;
        }
        if (t == tok::Quote) {
            kind_ = kind::UserResourceFile;
            return;
        }
        Unget();
        if ((t == tok::Identifier || t == tok::Unknown) && newlines_ == 0 && ReadFileName()) {
            kind_ = kind::UserResourceFile;
            return;
        }
        return Fail(rcerr::UserResource);
    }
}

}  // namespace qln
