// Statement rules inside a DIALOG or DIALOGEX resource: header statements and
// controls, one per call.

#include "rcscript/RcParser.h"

#include "rcscript/RcTokens.h"

namespace qln {
namespace {

bool IsOperandToken(int t)
{
    return t == tok::Identifier || t == tok::Decimal || t == tok::Hexadecimal || t == tok::Octal;
}

}  // namespace

// Returns false when the token is left to the general rules.
bool CRcParser::ParseDialogLine(int t)
{
    if (const DialogControlRule* rule = FindDialogControlRule(t)) {
        switch (rule->operands) {
        case ControlOperands::Text:
        case ControlOperands::Icon: ParseTextControl(rule->kind); break;
        case ControlOperands::Plain: ParseIdControl(rule->kind); break;
        case ControlOperands::Generic: ParseControl(); break;
        }
        return true;
    }
    switch (t) {
    case tok::KwCaption:
        // CAPTION "text"
        kind_ = kind::Caption;
        if (Next() == tok::Quote)
            MarkText();
        else
            Fail(rcerr::ResourceFile);
        CopyRest(false);
        return true;
    case tok::KwStyle:
    case tok::KwExStyle:
        // STYLE expr | EXSTYLE expr
        kind_ = t;
        CopyRest(true);
        return true;
    case tok::KwMenu:
        // MENU name
        kind_ = kind::DialogMenu;
        CopyRest(false);
        return true;
    case tok::KwFont: ParseDialogFont(); return true;
    case tok::KwClass: ParseDialogClass(); return true;
    case tok::Identifier:
        // Inside the body an unknown control statement, kept as it is and
        // marked so that the build can name it; in the header the general
        // rules apply (header options, or a new resource).
        if (depth_ > 0) {
            kind_ = kind::Other;
            unrecognised_ = true;
            CopyRest(false);
            return true;
        }
        return false;
    default:
        return false;
    }
}

// CTL text [,] id, x, y, cx, cy [, style [, exstyle [, helpid]]]   (ICON: text is a name; cx, cy optional)
void CRcParser::ParseTextControl(int kind)
{
    kind_ = kind;
    const int t = Next();
    if (t == tok::Quote) {
        if (kind != kind::DialogIcon)
            MarkText();
    } else if (!IsOperandToken(t)) {
        return Fail(rcerr::ResourceFile);
    }
    SkipOptionalComma();  // the resource compiler does not insist on it
    if (!ReadIdExpr() || !ExpectComma() || !ReadCoords(kind == kind::DialogIcon ? 2 : 4))
        return Fail(rcerr::ResourceFile);
    CopyRest(true);
}

// CONTROL text, id, class, style, x, y, cx, cy [, exstyle [, helpid]]
void CRcParser::ParseControl()
{
    kind_ = kind::Control;
    int t = Next();
    if (t == tok::Quote)
        MarkText();
    else if (!IsOperandToken(t))
        return Fail(rcerr::ResourceFile);
    SkipOptionalComma();
    if (!ReadIdExpr())
        return Fail(rcerr::ResourceFile);
    SkipOptionalComma();
    t = Next();  // the class, kept as written and recorded like a dialog's class
    if (t == tok::Quote) {
        facePos_ = strPos_;
        faceLen_ = strLen_;
    } else if (t == tok::Identifier) {
        facePos_ = identPos_;
        faceLen_ = identLen_;
    } else {
        return Fail(rcerr::ResourceFile);
    }
    SkipOptionalComma();
    if (!ReadStyleExpr() || !ReadCoords(4))
        return Fail(rcerr::ResourceFile);
    CopyRest(false);
}

// CTL id, x, y, cx, cy [, style [, exstyle [, helpid]]]
void CRcParser::ParseIdControl(int kind)
{
    kind_ = kind;
    if (!ReadIdExpr() || !ExpectComma() || !ReadCoords(4))
        return Fail(rcerr::ResourceFile);
    CopyRest(true);
}

// FONT size, "face" [, weight, italic, charset]
void CRcParser::ParseDialogFont()
{
    kind_ = kind::Font;
    if (!IsOperandToken(Next()) || !ExpectComma() || Next() != tok::Quote)
        return Fail(rcerr::ResourceFile);
    facePos_ = strPos_;
    faceLen_ = strLen_;
    CopyRest(false);
}

// CLASS "name" | CLASS name
void CRcParser::ParseDialogClass()
{
    kind_ = kind::Class;
    const int t = Next();
    if (t == tok::Quote) {
        facePos_ = strPos_;
        faceLen_ = strLen_;
    } else if (t != tok::Identifier) {
        return Fail(rcerr::ResourceFile);
    }
    CopyRest(false);
}

}  // namespace qln
